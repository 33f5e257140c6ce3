// Multi-line notes on the client card: stored with CR LF as existing
// archives hold them, shown with plain line breaks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "clients/destinatari.h"
#include "store/recordfile.h"
#include "support/ui/fakes.h"
#include "support/ui/named.h"

namespace zel {
namespace {

TEST(ClientNotes, AreStoredWithCrLfAndShownWithPlainBreaks) {
  test::FakeServices fake;
  test::TempProgramFolder folder;
  const auto archive = folder.file("Anagrafica.pro");
  const Layout& layout = clientLayout();
  const size_t note = layout.indexOf("Note");
  {
    // One card from an existing archive, one written with LF alone.
    RecordFile f = RecordFile::openForUpdate(archive, layout);
    Record r = emptyRecord(layout);
    r[0] = "C1";
    r[1] = "Rossi";
    r[note] = "prima riga\r\nseconda \x80";
    f.append(r);
    r[note] = "solo\nLF";
    f.append(r);
    f.close();
  }
  TfrmDestinatari card;
  card.show();
  QApplication::setActiveWindow(&card);
  QTest::mouseClick(test::clickLabel(&card, "imgPrimo"), Qt::LeftButton);
  EXPECT_EQ(test::named<QPlainTextEdit>(&card, "txtNote")->toPlainText(), QString::fromUtf8("prima riga\nseconda €"));
  EXPECT_EQ(test::named<QPlainTextEdit>(&card, "txtNote")->document()->blockCount(), 2);
  QTest::mouseClick(test::clickLabel(&card, "imgAvanti"), Qt::LeftButton);
  EXPECT_EQ(test::named<QPlainTextEdit>(&card, "txtNote")->toPlainText(), QStringLiteral("solo\nLF"));

  test::named<QPlainTextEdit>(&card, "txtNote")->setPlainText(QStringLiteral("uno\ndue\n\ntre"));
  QTest::mouseClick(test::clickLabel(&card, "cmdSalva"), Qt::LeftButton);
  const std::vector<Record> stored = readAllRecords(archive, layout);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0][note], "prima riga\r\nseconda \x80");
  EXPECT_EQ(stored[1][note], "uno\r\ndue\r\n\r\ntre");
}

}  // namespace
}  // namespace zel
