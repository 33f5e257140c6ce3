#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/archives.h"
#include "store/card.h"
#include "store/supplysearch.h"
#include "support/files.h"
#include "support/records.h"
#include "support/tempfolder.h"
#include "support/wait.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using Kind = NavOutcome::Kind;
using test::clientCard;
using test::readBytes;
using test::TempFolder;

class Card : public ::testing::Test {
 protected:
  CardArchive archive() const { return clientArchive(dir_.path()); }
  void fill(size_t n) {
    for (size_t i = 1; i <= n; ++i) saveCard(archive(), "", clientCard("C" + std::to_string(i)));
  }
  // Runs a step and checks which record it shows.
  void expectShows(NavStep step, const char* label, size_t k) {
    SCOPED_TRACE(std::string("label '") + label + "'");
    const NavOutcome out = navigate(archive(), step, label);
    ASSERT_EQ(out.kind, Kind::Show);
    EXPECT_EQ(out.recordNumber, k);
    EXPECT_EQ(out.record[0], "C" + std::to_string(k));
  }
  void expectUnchanged(NavStep step, const char* label) {
    SCOPED_TRACE(std::string("label '") + label + "'");
    EXPECT_EQ(navigate(archive(), step, label).kind, Kind::Unchanged);
  }
  void expectEmptyArchive(NavStep step, const char* label, bool clearsLabel) {
    SCOPED_TRACE(std::string("label '") + label + "'");
    const NavOutcome out = navigate(archive(), step, label);
    EXPECT_EQ(out.kind, Kind::EmptyArchive);
    EXPECT_EQ(out.clearLabel, clearsLabel);
  }
  TempFolder dir_;
};

TEST_F(Card, ArchivesLiveInTheProgramFolder) {
  const CardArchive c = clientArchive(dir_.path());
  EXPECT_EQ(c.file, dir_ / "Anagrafica.pro");
  EXPECT_EQ(c.tempFile, dir_ / "Anagrafica.tmp");
  EXPECT_EQ(c.layout->recordSize(), 3890u);
  EXPECT_EQ(productArchive(dir_.path()).file, dir_ / "Materiali.pro");
  // A supply file elsewhere still keeps its temporary file in the program folder.
  const CardArchive s = supplyArchive(dir_.path(), "/elsewhere/Lavori.for");
  EXPECT_EQ(s.file, fs::path("/elsewhere/Lavori.for"));
  EXPECT_EQ(s.tempFile, dir_ / "Fornitura.tmp");
  EXPECT_EQ(s.layout->recordSize(), 4106u);
}

// A supply file is made by the create window only: a card, a listing, a
// search or a pick on one that another desk deleted says so (SupplyGone)
// and never brings it back, while a missing client archive is still created
// by the first step and is an access failure to a deletion.
TEST_F(Card, ASupplyFileGoneIsToldAndNeverCreatedAgain) {
  const fs::path file = dir_ / "Rossi.for";
  const CardArchive supply = supplyArchive(dir_.path(), file);
  const Record item = emptyRecord(supplyLayout());
  EXPECT_THROW(navigate(supply, NavStep::First, ""), SupplyGone);
  EXPECT_THROW(saveCard(supply, "", item), SupplyGone);
  EXPECT_THROW(saveCard(supply, "1", item, &item), SupplyGone);
  EXPECT_THROW(deleteCard(supply, "1"), SupplyGone);
  EXPECT_THROW(readCard(supply, 1), SupplyGone);
  EXPECT_THROW(supplysheet::listItems(file, supplysheet::Items::All, Access::Existing), SupplyGone);
  EXPECT_THROW(searchSupply(file, {}, Access::Existing), SupplyGone);
  EXPECT_THROW(supplysheet::findRecordOfLine(file, "riga"), SupplyGone);
  EXPECT_TRUE(fs::is_empty(dir_.path()));

  try {
    deleteCard(archive(), "1");
    ADD_FAILURE() << "a deletion in no archive succeeded";
  } catch (const SupplyGone&) {
    ADD_FAILURE() << "a client archive is no supply";
  } catch (const StoreError&) {
  }
  EXPECT_EQ(navigate(archive(), NavStep::First, "").kind, Kind::EmptyArchive);
  EXPECT_TRUE(fs::exists(archive().file));
}

TEST_F(Card, LabelNumbers) {
  EXPECT_FALSE(labelNumber("").has_value());
  EXPECT_FALSE(labelNumber("  \t").has_value());
  EXPECT_EQ(labelNumber(" 12 "), 12u);
  EXPECT_THROW(labelNumber("1a"), StoreError);
  EXPECT_THROW(labelNumber("-1"), StoreError);
  EXPECT_THROW(labelNumber("99999999999999999999"), StoreError);
}

TEST_F(Card, FirstOnAnAbsentArchiveCreatesItEmpty) {
  expectEmptyArchive(NavStep::First, "", false);
  ASSERT_TRUE(fs::exists(archive().file));
  EXPECT_EQ(fs::file_size(archive().file), 0u);
}

TEST_F(Card, PreviousOnRecordOneDoesNothingAtAll) {
  // Not even the archive is created: the test comes before the count.
  expectUnchanged(NavStep::Previous, "1");
  expectUnchanged(NavStep::Previous, " 1 ");
  EXPECT_FALSE(fs::exists(archive().file));
}

TEST_F(Card, EveryStepOnAnEmptyArchiveGivesTheMessage) {
  expectEmptyArchive(NavStep::First, "", false);
  expectEmptyArchive(NavStep::First, "3", false);
  expectEmptyArchive(NavStep::Previous, "", false);
  expectEmptyArchive(NavStep::Previous, "3", false);
  expectEmptyArchive(NavStep::Last, "", false);
  expectEmptyArchive(NavStep::Last, "3", false);
  // Only next empties the label.
  expectEmptyArchive(NavStep::Next, "", true);
  expectEmptyArchive(NavStep::Next, "3", true);
}

TEST_F(Card, StepsThroughAFilledArchive) {
  fill(3);
  expectShows(NavStep::First, "", 1);
  expectShows(NavStep::First, "3", 1);
  expectShows(NavStep::Last, "", 3);
  expectShows(NavStep::Last, "1", 3);
  // An empty label: previous and next both show record 1.
  expectShows(NavStep::Previous, "", 1);
  expectShows(NavStep::Next, "", 1);
  expectShows(NavStep::Previous, "3", 2);
  expectShows(NavStep::Previous, "2", 1);
  expectShows(NavStep::Next, "1", 2);
  expectShows(NavStep::Next, " 2", 3);
  // The edges are silent.
  expectUnchanged(NavStep::Next, "3");
  expectUnchanged(NavStep::Previous, "1");
}

TEST_F(Card, NextPastAShrunkenArchiveStaysPut) {
  fill(2);
  expectUnchanged(NavStep::Next, "5");
}

TEST_F(Card, ShowsStoredTextsTrimmed) {
  // Another writer may have stored blanks around a text.
  std::vector<uint8_t> bytes(3890);
  encodeRecord(clientLayout(), clientCard("X"), bytes.data());
  test::putField(bytes, 102, "   ufficio\t");
  {
    auto f = RecordFile::openForUpdate(archive().file, clientLayout());
    f.appendRaw(bytes.data());
  }
  const NavOutcome out = navigate(archive(), NavStep::First, "");
  ASSERT_EQ(out.kind, Kind::Show);
  EXPECT_EQ(out.record[2], "ufficio");
  EXPECT_EQ(out.record.values.size(), 33u);
}

TEST_F(Card, SaveAppendsANewCardAndOverwritesAStoredOne) {
  const SaveOutcome first = saveCard(archive(), "", clientCard("C1"));
  EXPECT_TRUE(first.appended);
  EXPECT_EQ(first.recordNumber, 1u);
  EXPECT_EQ(fs::file_size(archive().file), 3890u);
  const SaveOutcome second = saveCard(archive(), "  ", clientCard("C2"));
  EXPECT_TRUE(second.appended);
  EXPECT_EQ(second.recordNumber, 2u);
  // Saving the same content again is not refused: duplicates are allowed.
  EXPECT_EQ(saveCard(archive(), "", clientCard("C2")).recordNumber, 3u);

  const SaveOutcome over = saveCard(archive(), "2", clientCard("C2bis"));
  EXPECT_FALSE(over.appended);
  EXPECT_EQ(over.recordNumber, 2u);
  EXPECT_EQ(fs::file_size(archive().file), 3 * 3890u);
  EXPECT_EQ(navigate(archive(), NavStep::Next, "1").record[0], "C2bis");
  EXPECT_EQ(navigate(archive(), NavStep::Last, "").record[0], "C2");
}

TEST_F(Card, SaveToARecordThatNoLongerExistsFailsAndWritesNothing) {
  fill(2);
  const auto before = readBytes(archive().file);
  EXPECT_THROW(saveCard(archive(), "7", clientCard("X")), StoreError);
  EXPECT_THROW(saveCard(archive(), "due", clientCard("X")), StoreError);
  EXPECT_EQ(readBytes(archive().file), before);
}

TEST_F(Card, DeleteTheCardOnScreen) {
  fill(3);
  const size_t openBefore = test::openFiles();
  EXPECT_THROW(deleteCard(archive(), "  ", {}), StoreError);
  deleteCard(archive(), "2");
  // The archive the copy replaced is let go on a thread of its own, but let go.
  EXPECT_TRUE(test::waitUntil([&] { return test::openFiles() == openBefore; })) << "the replaced archive stays open";
  expectShows(NavStep::First, "", 1);
  const NavOutcome last = navigate(archive(), NavStep::Last, "");
  EXPECT_EQ(last.recordNumber, 2u);
  EXPECT_EQ(last.record[0], "C3");  // former record 3 moved up
}

TEST_F(Card, AFailedDeleteKeepsEveryCard) {
  fill(3);
  const auto before = readBytes(archive().file);
  EXPECT_THROW(deleteCard(archive(), "2",
                          [](DeleteStep s) {
                            if (s == DeleteStep::Replace) throw StoreError("injected");
                          }),
               StoreError);
  EXPECT_EQ(readBytes(archive().file), before);
}

}  // namespace
}  // namespace zel
