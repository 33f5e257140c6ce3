#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <set>
#include <thread>

#include "core/crypt.h"
#include "store/iohook.h"
#include "store/passwordstore.h"
#include "support/files.h"
#include "support/tempfolder.h"
#include "support/wait.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::waitUntil;

class PasswordStore : public ::testing::Test {
 protected:
  static void put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string get(const fs::path& path) { return test::readText(path); }
  size_t filesInFolder() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }

  test::TempFolder dir_;
  const fs::path folder_ = dir_.path();
  const fs::path store_ = passwordStorePath(folder_);
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
  fs::permissions(store_, fs::perms(0604));
  EXPECT_EQ(readStoredPassword(store_), "AB");

  writeStoredPassword(store_, "  nuova pw ");
  EXPECT_EQ(get(store_), head + ScrambleToHex("NUOVA PW") + tail);
  EXPECT_EQ(readStoredPassword(store_), "NUOVA PW");
  // The store keeps its rights, whatever the umask would give a new file:
  // every desk must read it.
  EXPECT_EQ(fs::status(store_).permissions() & fs::perms::all, fs::perms(0604));
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
  for (const std::string& untypeable : {std::string(" \t "), std::string(231, 'x'), std::string("a\rb"),
                                        std::string("a\0b", 3), std::string("a\tb"), std::string("a\x7F"),
                                        std::string("a\x81")}) {
    EXPECT_FALSE(isTypeablePassword(normalisePassword(untypeable))) << untypeable;
    EXPECT_THROW(writeStoredPassword(store_, untypeable), PasswordStoreError) << untypeable;
    EXPECT_EQ(changePassword(store_, "a", untypeable, untypeable), PasswordChange::InvalidNewPassword);
  }
  EXPECT_EQ(get(store_), "[Accesso]\nValore=10\n");
  EXPECT_TRUE(isTypeablePassword("\x80 caff\xE8 \xA0"));  // the euro sign and a no-break space are typed
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

TEST_F(PasswordStore, ALinkInTheStoresPlaceIsNeverFollowed) {
  const fs::path real = folder_ / "vero.ini";
  put(real, "[Accesso]\nValore=10\n");
  fs::create_symlink(real, store_);
  EXPECT_THROW(readStoredPassword(store_), PasswordStoreError);
  EXPECT_THROW(writeStoredPassword(store_, "AB"), PasswordStoreError);
  EXPECT_THROW(changePassword(store_, "\xD8", "AB", "AB"), PasswordStoreError);
  fs::remove(store_);
  fs::create_symlink(folder_ / "nuovo.ini", store_);  // a link to nothing creates nothing
  EXPECT_THROW(writeStoredPassword(store_, "AB"), PasswordStoreError);
  EXPECT_TRUE(fs::is_symlink(store_));
  EXPECT_EQ(get(real), "[Accesso]\nValore=10\n");
  EXPECT_EQ(filesInFolder(), 2u);
}


// Holds an exclusive lock on the store as another program's change would.
class ForeignLock {
 public:
  explicit ForeignLock(const fs::path& store) : fd_(::open(store.c_str(), O_RDWR | O_CLOEXEC)) {
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    locked_ = fd_ >= 0 && ::fcntl(fd_, F_OFD_SETLK, &whole) == 0;
  }
  ~ForeignLock() { release(); }
  bool locked() const { return locked_; }
  void release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
  bool locked_ = false;
};

TEST_F(PasswordStore, AChangeWaitsForAnotherAndGivesUpOnABusyStore) {
  writeStoredPassword(store_, "VECCHIA");
  const std::string before = get(store_);
  StoreAccess quick;
  quick.lockWait = std::chrono::milliseconds(100);
  {
    ForeignLock other(store_);
    ASSERT_TRUE(other.locked());
    EXPECT_THROW(changePassword(store_, "vecchia", "nuova", "nuova", quick), PasswordStoreError);
    EXPECT_THROW(writeStoredPassword(store_, "NUOVA", quick), PasswordStoreError);
    EXPECT_EQ(get(store_), before);

    // Released while the change waits: the change goes through.
    std::thread releaser([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      other.release();
    });
    StoreAccess patient;
    patient.lockWait = std::chrono::seconds(10);
    EXPECT_EQ(changePassword(store_, "vecchia", "nuova", "nuova", patient), PasswordChange::Changed);
    releaser.join();
  }
  EXPECT_EQ(readStoredPassword(store_), "NUOVA");
  EXPECT_EQ(filesInFolder(), 1u);
}

// The first change is held inside its lock until the second has found the
// store locked; the second then reads the store the first one wrote.
TEST_F(PasswordStore, TwoChangesAtOnceCannotBothUseTheOldPassword) {
  writeStoredPassword(store_, "VECCHIA");
  std::atomic<bool> secondWaits{false};
  StoreAccess patient;
  patient.lockWait = std::chrono::seconds(10);
  auto a = std::async(std::launch::async, [&] {
    ScopedIoHook holdBeforeRenaming([&](IoStep s) {
      if (s == IoStep::Rename) {
        // At most two seconds, so that a missing lock fails the test rather than hangs it.
        waitUntil([&] { return secondWaits.load(); }, std::chrono::seconds(2));
        std::this_thread::sleep_for(std::chrono::milliseconds(30));  // it tries the lock
      }
      return Fault::None;
    });
    return changePassword(store_, "vecchia", "prima", "prima", patient);
  });
  // The second change starts once the first holds the lock (it waits in rename).
  // A first change that ended without writing is judged below.
  const auto ended = [&] { return a.wait_for(std::chrono::seconds(0)) == std::future_status::ready; };
  ASSERT_TRUE(waitUntil([&] { return !fs::exists(store_) || filesInFolder() >= 2 || ended(); }))
      << "the first change neither ended nor began to write its new store";
  auto b = std::async(std::launch::async, [&] {
    ScopedIoHook tell([&](IoStep s) {
      if (s == IoStep::Lock) secondWaits = true;
      return Fault::None;
    });
    return changePassword(store_, "vecchia", "seconda", "seconda", patient);
  });
  EXPECT_EQ(a.get(), PasswordChange::Changed);
  EXPECT_EQ(b.get(), PasswordChange::WrongOldPassword);
  EXPECT_EQ(readStoredPassword(store_), "PRIMA");
}

// Every step of a change that reaches the file system is made to fail in
// turn (and every write to store half its bytes, as a full disk does): each
// failure is reported, and the store is always the old one or the new one,
// whole, with nothing else left in the folder.
class FailingStep : public PasswordStore {
 protected:
  // Runs `change` with `fault` at its k-th step (none when k is 0); returns
  // whether it threw, and records the steps it announced in `steps`.
  static bool runFailing(size_t k, std::vector<IoStep>& steps, const std::function<void(const StoreAccess&)>& change,
                         Fault fault = Fault::Fail) {
    steps.clear();
    ScopedIoHook hook([&](IoStep s) {
      steps.push_back(s);
      return steps.size() == k ? fault : Fault::None;
    });
    try {
      change(StoreAccess{});
    } catch (const PasswordStoreError&) {
      return true;
    }
    return false;
  }

  // `before` is nothing for a missing store.
  void everyStepFails(const std::optional<std::string>& before, const std::string& after,
                      const std::function<void(const StoreAccess&)>& change) {
    auto reset = [&] {
      if (before) put(store_, *before);
      else fs::remove(store_);
    };
    reset();
    std::vector<IoStep> clean;
    ASSERT_FALSE(runFailing(0, clean, change));
    ASSERT_EQ(get(store_), after);
    EXPECT_GE(clean.size(), 8u);  // open, lock, read, temporary, write, flush, rename, folder...
    std::set<std::string> outcomes;
    for (size_t k = 1; k <= clean.size(); ++k) {
      for (const Fault fault : {Fault::Fail, Fault::Short}) {
        if (fault == Fault::Short && clean[k - 1] != IoStep::Write) continue;
        SCOPED_TRACE("step " + std::to_string(k) + (fault == Fault::Short ? ", half written" : ", failing"));
        reset();
        std::vector<IoStep> steps;
        EXPECT_TRUE(runFailing(k, steps, change, fault)) << "failed unnoticed";
        if (fs::exists(store_)) {
          const std::string now = get(store_);
          EXPECT_TRUE((before && now == *before) || now == after) << now;
          outcomes.insert(now);
        } else {
          EXPECT_FALSE(before.has_value()) << "lost the store";
          outcomes.insert("(none)");
        }
        EXPECT_EQ(filesInFolder(), fs::exists(store_) ? 1u : 0u) << "left a file behind";
      }
    }
    EXPECT_EQ(outcomes.size(), 2u);  // failures before the rename and after it
  }
};

TEST_F(FailingStep, ChangeOfAWindowsStore) {
  const std::string before = "[Generale]\r\nA=1\r\n[Accesso]\r\nValore=" + ScrambleToHex("VECCHIA") + "\r\n";
  const std::string after = "[Generale]\r\nA=1\r\n[Accesso]\r\nValore=" + ScrambleToHex("NUOVA") + "\r\n";
  everyStepFails(before, after, [&](const StoreAccess& access) {
    if (changePassword(store_, "vecchia", "nuova", "nuova", access) != PasswordChange::Changed)
      throw PasswordStoreError("not changed");
  });
}

TEST_F(FailingStep, FirstPasswordOfAnInstallation) {
  everyStepFails(std::nullopt, "[Accesso]\nValore=" + ScrambleToHex("PRIMA") + "\n",
                 [&](const StoreAccess& access) { writeStoredPassword(store_, "prima", access); });
}

TEST_F(PasswordStore, ALeftoverTemporaryStoreIsRemovedAtTheNextWrite) {
  put(store_, "[Accesso]\nValore=10\n");
  put(folder_ / ".unins000.dll.Ab3xYz", "[Accesso]\nValore=1083\n");  // a change that crashed
  put(folder_ / ".unins000.dll.bak", "kept");
  put(folder_ / "unins000.dll.Ab3xYz", "kept");
  writeStoredPassword(store_, "NUOVA");
  EXPECT_FALSE(fs::exists(folder_ / ".unins000.dll.Ab3xYz"));
  EXPECT_TRUE(fs::exists(folder_ / ".unins000.dll.bak"));
  EXPECT_TRUE(fs::exists(folder_ / "unins000.dll.Ab3xYz"));
  EXPECT_EQ(readStoredPassword(store_), "NUOVA");
}

TEST_F(PasswordStore, AStoreRootCreatesBelongsToTheFolderOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another owner";
  ASSERT_EQ(::chown(folder_.c_str(), 4321, 8765), 0);
  const mode_t mask = ::umask(022);
  writeStoredPassword(store_, "PRIMA");
  ::umask(mask);
  struct stat st {};
  ASSERT_EQ(::stat(store_.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 8765u);
  EXPECT_EQ(st.st_mode & 0777, 0644u);  // every desk reads it
  // Once it exists it keeps its owner's group, whoever writes it next; a
  // store of anyone but the folder's owner is refused to root.
  ASSERT_EQ(::chown(store_.c_str(), 4321, 2222), 0);
  writeStoredPassword(store_, "SECONDA");
  ASSERT_EQ(::stat(store_.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 2222u);
  ASSERT_EQ(::chown(store_.c_str(), 1111, 2222), 0);
  const std::string before = get(store_);
  EXPECT_THROW(writeStoredPassword(store_, "TERZA"), PasswordStoreError);
  EXPECT_THROW(changePassword(store_, "seconda", "terza", "terza"), PasswordStoreError);
  EXPECT_EQ(get(store_), before);
}

}  // namespace
}  // namespace zel
