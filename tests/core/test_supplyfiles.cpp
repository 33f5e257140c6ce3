// Supply files in a folder: creating (name clean-up, refusals, the empty
// private file), listing (order, extension case, folders), the count line,
// the entry's path and name, and deleting.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "store/supplyfiles.h"
#include "support/tempfolder.h"

namespace fs = std::filesystem;
using namespace zel::supplyfiles;
using zel::SupplyFileError;
using zel::test::TempFolder;

namespace {

void touch(const fs::path& file, const std::string& content = {}) {
  std::ofstream out(file, std::ios::binary);
  out << content;
}

unsigned modeOf(const fs::path& file) {
  struct stat st {};
  EXPECT_EQ(::stat(file.c_str(), &st), 0);
  return st.st_mode & 0777;
}

std::vector<std::string> filesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(SupplyFiles, CreateTrimsAndMakesAnEmptyFileWithTheRightsTheUmaskLeaves) {
  TempFolder dir;
  const mode_t previousMask = ::umask(002);  // a shared folder's mask: the group writes too
  const CreateResult r = createSupply(dir.path(), "  Rossi  ");
  ::umask(previousMask);
  ASSERT_EQ(r.outcome, CreateOutcome::Created);
  EXPECT_EQ(r.name, "Rossi");
  EXPECT_EQ(r.path, dir / "Rossi.for");
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"Rossi.for"});
  EXPECT_EQ(fs::file_size(dir / "Rossi.for"), 0u);
  EXPECT_EQ(modeOf(dir / "Rossi.for"), 0664u);
}

TEST(SupplyFiles, ANameInUseIsRefusedWhateverItsCaseAndTheFileIsKept) {
  TempFolder dir;
  touch(dir / "Rossi.for", std::string(4106, 'x'));
  for (const char* again : {"Rossi", "rossi", " ROSSI "}) {
    const CreateResult r = createSupply(dir.path(), again);
    EXPECT_EQ(r.outcome, CreateOutcome::NameInUse) << again;
  }
  // An extension in capitals copied from elsewhere counts too, and so do
  // accented capitals.
  touch(dir / "Bianchi.FOR");
  EXPECT_EQ(createSupply(dir.path(), "bianchi").outcome, CreateOutcome::NameInUse);
  touch(dir / "\xc3\x88rba.for");  // Èrba
  EXPECT_EQ(createSupply(dir.path(), "\xc3\xa8rba").outcome, CreateOutcome::NameInUse);  // èrba
  EXPECT_EQ(createSupply(dir.path(), "erba").outcome, CreateOutcome::Created);

  EXPECT_EQ(fs::file_size(dir / "Rossi.for"), 4106u);
  EXPECT_EQ(filesIn(dir.path()),
            (std::vector<std::string>{"Bianchi.FOR", "Rossi.for", "erba.for", "\xc3\x88rba.for"}));
}

TEST(SupplyFiles, ForbiddenCharactersBecomeSpaces) {
  TempFolder dir;
  const CreateResult r = createSupply(dir.path(), "a/b");
  ASSERT_EQ(r.outcome, CreateOutcome::Created);
  EXPECT_EQ(r.boxText, "a b");
  EXPECT_TRUE(fs::exists(dir / "a b.for"));

  const CreateResult all = createSupply(dir.path(), " x\\y:z*w?v\"u<t>s|r ");
  ASSERT_EQ(all.outcome, CreateOutcome::Created);
  EXPECT_EQ(all.boxText, " x y z w v u t s r ");
  EXPECT_EQ(all.name, "x y z w v u t s r");

  // Accented letters pass through untouched; a pasted tab or line break
  // would make an odd file name and becomes a space as well.
  const CreateResult accented = createSupply(dir.path(), "Caff\xc3\xa8\tNapoli\nsud");
  ASSERT_EQ(accented.outcome, CreateOutcome::Created);
  EXPECT_TRUE(fs::exists(dir / "Caff\xc3\xa8 Napoli sud.for"));
}

TEST(SupplyFiles, NothingUsableTypedIsAMissingName) {
  TempFolder dir;
  for (const char* raw : {"", "   ", "\t \r\n", "///", " : ? | "}) {
    const CreateResult r = createSupply(dir.path(), raw);
    EXPECT_EQ(r.outcome, CreateOutcome::NameMissing) << '"' << raw << '"';
    EXPECT_TRUE(r.name.empty());
  }
  // Only blanks: the box keeps its text; forbidden characters were replaced.
  EXPECT_EQ(createSupply(dir.path(), "   ").boxText, "   ");
  EXPECT_EQ(createSupply(dir.path(), "a").boxText, "a");
  EXPECT_EQ(createSupply(dir.path(), "//").boxText, "  ");
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"a.for"});
}

TEST(SupplyFiles, ANameTooLongForTheFileSystemIsRefusedCleanly) {
  TempFolder dir;
  EXPECT_EQ(createSupply(dir.path(), std::string(300, 'a')).outcome, CreateOutcome::NameTooLong);
  // 251 bytes + ".for" is the longest name; 126 two-byte letters are 252.
  EXPECT_EQ(createSupply(dir.path(), std::string(251, 'b')).outcome, CreateOutcome::Created);
  std::string accented;
  for (int i = 0; i < 126; ++i) accented += "\xc3\xa0";
  EXPECT_EQ(createSupply(dir.path(), accented).outcome, CreateOutcome::NameTooLong);
  EXPECT_EQ(filesIn(dir.path()).size(), 1u);
}

TEST(SupplyFiles, AFolderThatRefusesNewFilesIsAnErrorWithAMessage) {
  // The process's own folder under /proc can be listed but takes no new
  // files, whoever runs the test.
  const fs::path folder = "/proc/self";
  if (!fs::is_directory(folder)) GTEST_SKIP() << "no /proc";
  try {
    createSupply(folder, "Rossi");
    FAIL() << "no error";
  } catch (const SupplyFileError& e) {
    const std::string text = e.what();
    EXPECT_EQ(text.rfind("Attenzione: impossibile creare", 0), 0u) << text;
    EXPECT_NE(text.find("\"Rossi.for\""), std::string::npos) << text;
  }
  TempFolder dir;
  EXPECT_THROW(listSupplies(dir / "missing"), SupplyFileError);
  EXPECT_THROW(createSupply(dir / "missing", "Rossi"), SupplyFileError);
}

TEST(SupplyFiles, ListIsSortedWithoutRegardToCaseAndSkipsOtherFiles) {
  TempFolder dir;
  touch(dir / "beta.for");
  touch(dir / "Alfa.for");
  touch(dir / "gamma.FOR");
  touch(dir / "Anagrafica.pro");
  touch(dir / "note.for.txt");
  touch(dir / "Fornitura.tmp");
  fs::create_directory(dir / "Cartella.for");
  EXPECT_EQ(listSupplies(dir.path()), (std::vector<std::string>{"Alfa.for", "beta.for", "gamma.FOR"}));
  EXPECT_EQ(countLine(listSupplies(dir.path()).size()), "Ci sono 3 forniture.");

  // Accented initials sort beside their plain letters, not after z.
  touch(dir / "\xc3\x89rba.for");  // Érba
  touch(dir / "zeta.for");
  touch(dir / "erba.for");
  EXPECT_EQ(listSupplies(dir.path()),
            (std::vector<std::string>{"Alfa.for", "beta.for", "erba.for", "\xc3\x89rba.for", "gamma.FOR",
                                      "zeta.for"}));
}

TEST(SupplyFiles, CountLineUsesThePluralForEveryCount) {
  EXPECT_EQ(countLine(0), "Ci sono 0 forniture.");
  EXPECT_EQ(countLine(1), "Ci sono 1 forniture.");
  EXPECT_EQ(countLine(12), "Ci sono 12 forniture.");
  TempFolder dir;
  EXPECT_TRUE(listSupplies(dir.path()).empty());
}

TEST(SupplyFiles, PathAndNameOfAnEntry) {
  const fs::path folder = "/opt/zelvano";
  EXPECT_EQ(supplyPath(folder, "Rossi marzo.for"), fs::path("/opt/zelvano/Rossi marzo.for"));
  EXPECT_EQ(supplyName("Rossi marzo.for"), "Rossi marzo");
  EXPECT_EQ(supplyName("Verdi.FOR"), "Verdi");
  EXPECT_EQ(supplyName("Caff\xc3\xa8.for"), "Caff\xc3\xa8");
}

TEST(SupplyFiles, DeleteRemovesOnlyTheChosenSupply) {
  TempFolder dir;
  touch(dir / "Alfa.for");
  touch(dir / "beta.for", "dati");
  touch(dir / "gamma.for");
  EXPECT_TRUE(deleteSupply(dir.path(), "beta.for"));
  const auto left = listSupplies(dir.path());
  EXPECT_EQ(left, (std::vector<std::string>{"Alfa.for", "gamma.for"}));
  EXPECT_EQ(countLine(left.size()), "Ci sono 2 forniture.");

  // A file that is already gone is not an error, only not removed.
  EXPECT_FALSE(deleteSupply(dir.path(), "beta.for"));
  // Never anything but a supply file of the folder itself.
  fs::create_directory(dir / "Cartella.for");
  touch(dir / "Anagrafica.pro");
  EXPECT_FALSE(deleteSupply(dir.path(), "Cartella.for"));
  EXPECT_FALSE(deleteSupply(dir.path(), "Anagrafica.pro"));
  EXPECT_FALSE(deleteSupply(dir.path(), "../Alfa.for"));
  EXPECT_TRUE(fs::is_directory(dir / "Cartella.for"));
  EXPECT_TRUE(fs::exists(dir / "Anagrafica.pro"));
}

TEST(SupplyFiles, NamesFromOtherSystemsStayDistinct) {
  EXPECT_TRUE(isValidUtf8("Caff\xc3\xa8.for"));
  EXPECT_FALSE(isValidUtf8("Caff\xe8.for"));  // Latin-1
  // Two different undecodable bytes are not the same name.
  EXPECT_FALSE(sameNameIgnoringCase("a\xe8.for", "a\xe9.for"));
  EXPECT_TRUE(sameNameIgnoringCase("\xc5\x92UVRE.for", "\xc5\x93uvre.for"));  // Œ / œ
}
