#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/crypt.h"
#include "core/passwordstore.h"

namespace zel {
namespace {

namespace fs = std::filesystem;

class PasswordStore : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "zelvano-pw-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    folder_ = tmpl;
    store_ = passwordStorePath(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  static void put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string get(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  size_t filesInFolder() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }

  fs::path folder_;
  fs::path store_;
};

TEST_F(PasswordStore, MissingFileSectionOrKeyReadsEmpty) {
  EXPECT_EQ(readStoredPassword(store_), "");
  EXPECT_FALSE(fs::exists(store_));  // reading creates nothing
  EXPECT_FALSE(checkPassword(store_, ""));  // an empty store matches nothing
  put(store_, "[Altro]\nValore=10\n");
  EXPECT_EQ(readStoredPassword(store_), "");
  put(store_, "Valore=10\n[Accesso]\nChiave=10\n");  // a key before any section is no key of Accesso
  EXPECT_EQ(readStoredPassword(store_), "");
}

TEST_F(PasswordStore, WindowsFileKeepsEveryOtherByte) {
  const std::string head =
      "\xEF\xBB\xBF; impostazioni\r\n"
      "[Generale]\r\n"
      "Lingua = IT\r\n"
      "\r\n"
      "  [ ACCESSO ]  \r\n"
      "# nota\r\n"
      "  vAlOrE  =  ";
  const std::string tail =
      "\r\n"
      "Valore2=1083\r\n"
      "[Fine]\r\n"
      "k=v";  // no line end on the last line
  put(store_, head + "1083" + tail);
  EXPECT_EQ(readStoredPassword(store_), "AB");

  writeStoredPassword(store_, "  nuova pw ");
  EXPECT_EQ(get(store_), head + ScrambleToHex("NUOVA PW") + tail);
  EXPECT_EQ(readStoredPassword(store_), "NUOVA PW");
  // Owner and group keep their access to the store (read-only for the group
  // here, as before); others lose theirs.
  EXPECT_EQ(fs::status(store_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(filesInFolder(), 1u);  // no temporary left behind
}

TEST_F(PasswordStore, AddsMissingFileSectionOrKeyInTheFileStyle) {
  writeStoredPassword(store_, "a");
  EXPECT_EQ(get(store_), "[Accesso]\nValore=10\n");

  put(store_, "[Generale]\r\nA=1");
  writeStoredPassword(store_, "ab");
  EXPECT_EQ(get(store_), "[Generale]\r\nA=1\r\n[Accesso]\r\nValore=1083\r\n");

  put(store_, "[Generale]\nA=1\n[accesso]\nAltro=2\n; fine\n\n[Fine]\nB=3\n");
  writeStoredPassword(store_, "A");
  EXPECT_EQ(get(store_), "[Generale]\nA=1\n[accesso]\nAltro=2\nValore=10\n; fine\n\n[Fine]\nB=3\n");
}

TEST_F(PasswordStore, StoredValueForms) {
  put(store_, "[Accesso]\nValore=108366\n");
  EXPECT_EQ(readStoredPassword(store_), "ABC");
  put(store_, "[Accesso]\nValore=1083f\n");  // lower case, odd last digit
  EXPECT_EQ(readStoredPassword(store_), "AB");
  put(store_, "[Accesso]\nValore=\"1083\"\n");
  EXPECT_EQ(readStoredPassword(store_), "AB");
  put(store_, "[Accesso]\nValore=" + ScrambleToHex("\t A \x01") + "\n");
  EXPECT_EQ(readStoredPassword(store_), "A");
  // Duplicates: the first key of the first section counts, and a write changes that one.
  put(store_, "[Accesso]\nValore=10\n[Accesso]\nValore=1083\n");
  EXPECT_EQ(readStoredPassword(store_), "A");
  writeStoredPassword(store_, "ABC");
  EXPECT_EQ(get(store_), "[Accesso]\nValore=108366\n[Accesso]\nValore=1083\n");
}

TEST_F(PasswordStore, DamagedValueIsAReadError) {
  for (const std::string& value : {std::string("10 83"), std::string("1G"), std::string(512, '0')}) {
    put(store_, "[Accesso]\nValore=" + value + "\n");
    EXPECT_THROW(readStoredPassword(store_), PasswordStoreError) << value;
    EXPECT_THROW(checkPassword(store_, "A"), PasswordStoreError);
  }
  put(store_, "[Accesso]\nValore=" + ScrambleToHex(std::string(255, 'Z')) + "\n");
  EXPECT_EQ(readStoredPassword(store_), std::string(255, 'Z'));
  fs::remove(store_);
  fs::create_directory(store_);  // there, but not a file
  EXPECT_THROW(readStoredPassword(store_), PasswordStoreError);
  EXPECT_THROW(writeStoredPassword(store_, "A"), PasswordStoreError);
  EXPECT_TRUE(fs::is_directory(store_));
}

TEST_F(PasswordStore, FailedWriteKeepsTheOldStore) {
  const std::string old = "[Generale]\r\nNome=prova\r\n[Accesso]\r\nValore=1083\r\n";
  put(store_, old);

  // Unwritable place: the folder is a regular file (permissions do not stop root).
  const fs::path blocked = folder_ / "file" / kPasswordStoreFileName;
  put(folder_ / "file", "x");
  EXPECT_THROW(writeStoredPassword(blocked, "NUOVA"), PasswordStoreError);

  // A write that breaks off half-way: the new file may not grow past 16 bytes.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 16;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  bool threw = false;
  try {
    writeStoredPassword(store_, "NUOVA");
  } catch (const PasswordStoreError&) {
    threw = true;
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(threw);
  EXPECT_EQ(get(store_), old);
  EXPECT_EQ(filesInFolder(), 2u);  // the store and "file": the temporary is gone

  // A UTF-16 store is refused rather than mixed with 8-bit lines.
  const std::string wide("\xFF\xFE[\0A\0]\0", 8);
  put(store_, wide);
  EXPECT_THROW(writeStoredPassword(store_, "NUOVA"), PasswordStoreError);
  EXPECT_EQ(get(store_), wide);
}

// Tests run as root here: only the permission bits can tell a read-only store.
TEST_F(PasswordStore, AReadOnlyStoreOrFolderRefusesTheChange) {
  writeStoredPassword(store_, "VECCHIA");
  const std::string before = get(store_);
  fs::permissions(store_, fs::perms::owner_read | fs::perms::group_read);
  EXPECT_THROW(changePassword(store_, "vecchia", "nuova", "nuova"), PasswordStoreError);
  EXPECT_EQ(get(store_), before);
  EXPECT_EQ(fs::status(store_).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::group_read);
  EXPECT_TRUE(checkPassword(store_, "vecchia"));

  fs::permissions(store_, fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_THROW(changePassword(store_, "vecchia", "nuova", "nuova"), PasswordStoreError);
  fs::permissions(folder_, fs::perms::owner_all);
  EXPECT_EQ(get(store_), before);
  EXPECT_EQ(filesInFolder(), 1u);
  EXPECT_TRUE(checkPassword(store_, "vecchia"));
}

TEST_F(PasswordStore, AReplacedStoreKeepsItsOwnerAndGroup) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another owner";
  writeStoredPassword(store_, "VECCHIA");
  ASSERT_EQ(::chown(store_.c_str(), 4321, 8765), 0);
  ASSERT_EQ(::chmod(store_.c_str(), 0660), 0);
  writeStoredPassword(store_, "NUOVA");
  struct stat st {};
  ASSERT_EQ(::stat(store_.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 8765u);
  EXPECT_EQ(st.st_mode & 0777, 0660u);
  EXPECT_EQ(readStoredPassword(store_), "NUOVA");
}

TEST_F(PasswordStore, RefusesPasswordsThatCannotBeTyped) {
  put(store_, "[Accesso]\nValore=10\n");
  EXPECT_THROW(writeStoredPassword(store_, " \t "), PasswordStoreError);
  EXPECT_THROW(writeStoredPassword(store_, std::string(231, 'x')), PasswordStoreError);
  EXPECT_EQ(get(store_), "[Accesso]\nValore=10\n");
  writeStoredPassword(store_, std::string(230, 'x'));
  EXPECT_EQ(readStoredPassword(store_), std::string(230, 'X'));
}

TEST_F(PasswordStore, LoginAndChange) {
  writeStoredPassword(store_, "Caff\xE8");
  EXPECT_TRUE(checkPassword(store_, "  caff\xE8\t"));
  EXPECT_FALSE(checkPassword(store_, "CAFF\xC8"));  // accented letters keep their case
  EXPECT_FALSE(checkPassword(store_, "CAFF"));

  const std::string before = get(store_);
  EXPECT_EQ(changePassword(store_, "caffe", "nuova", "nuova"), PasswordChange::WrongOldPassword);
  EXPECT_EQ(changePassword(store_, "caff\xE8", "nuova", "NUOVA"), PasswordChange::NotConfirmed);
  EXPECT_EQ(changePassword(store_, "caff\xE8", " ", " "), PasswordChange::InvalidNewPassword);
  EXPECT_EQ(get(store_), before);

  EXPECT_EQ(changePassword(store_, "CAFF\xE8", " nuova", "nuova  "), PasswordChange::Changed);
  EXPECT_EQ(readStoredPassword(store_), "NUOVA");
  EXPECT_TRUE(checkPassword(store_, "Nuova"));
  EXPECT_FALSE(checkPassword(store_, "caff\xE8"));

  fs::remove(store_);
  EXPECT_EQ(changePassword(store_, "", "a", "a"), PasswordChange::WrongOldPassword);
  EXPECT_FALSE(fs::exists(store_));
}

TEST_F(PasswordStore, LinkedStoreIsUpdatedWhereItLies) {
  const fs::path real = folder_ / "vero.ini";
  put(real, "[Accesso]\nValore=10\n");
  fs::create_symlink(real, store_);
  writeStoredPassword(store_, "AB");
  EXPECT_TRUE(fs::is_symlink(store_));
  EXPECT_EQ(get(real), "[Accesso]\nValore=1083\n");
}

}  // namespace
}  // namespace zel
