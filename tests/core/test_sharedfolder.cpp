// One program folder shared by several instances, and whatever may stand in
// an archive's place: locks and the busy archive, an archive replaced while
// an action waited, a temporary file in use, FIFOs, devices, folders and
// links, and the rights of rewritten files. Another instance is
// played here by a second open file in the same process: its locks conflict
// just as another process's do.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "store/archives.h"
#include "store/card.h"
#include "store/iohook.h"
#include "store/passwordstore.h"
#include "store/stockupdate.h"
#include "store/supplysheet.h"
#include "support/childprocess.h"
#include "support/clirun.h"
#include "support/files.h"
#include "support/records.h"
#include "support/tempfolder.h"
#include "support/wait.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::clientCard;
using test::readBytes;
using test::TempFolder;
using Clock = std::chrono::steady_clock;

constexpr size_t kClientSize = 3890;

void writeClients(const fs::path& file, const std::vector<std::string>& codes) {
  std::vector<Record> records;
  for (const std::string& c : codes) records.push_back(clientCard(c));
  test::writeRecords(file, clientLayout(), records);
}

// The codes of the whole records, read straight from the bytes (no lock).
std::vector<std::string> codes(const fs::path& file) {
  const std::vector<uint8_t> bytes = readBytes(file);
  std::vector<std::string> out;
  for (size_t at = 0; at + kClientSize <= bytes.size(); at += kClientSize)
    out.push_back(decodeRecord(clientLayout(), bytes.data() + at)[0]);
  return out;
}

struct stat statOf(const fs::path& p) {
  struct stat st {};
  EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
  return st;
}

// A short wait for locks, so that a busy archive is told quickly.
class SharedFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = setLockWait(150ms);
    writeClients(archive(), {"C1", "C2", "C3"});
  }
  void TearDown() override { setLockWait(saved_); }
  CardArchive clients() const { return clientArchive(dir_.path()); }
  fs::path archive() const { return dir_ / kClientArchive; }

  TempFolder dir_;
  std::chrono::milliseconds saved_{};
};

TEST_F(SharedFolder, ReadersShareWritersWaitThenTheArchiveIsBusy) {
  const auto before = readBytes(archive());
  {
    auto reader = RecordFile::openReadOnly(archive(), clientLayout());
    EXPECT_EQ(navigate(clients(), NavStep::Last, "").recordNumber, 3u);  // readers share
    const auto start = Clock::now();
    EXPECT_THROW(saveCard(clients(), "", clientCard("C4")), StoreBusy);
    EXPECT_GE(Clock::now() - start, 150ms);  // it waited before giving up
    EXPECT_THROW(deleteCard(clients(), "1"), StoreBusy);
  }
  {
    auto writer = RecordFile::openExisting(archive(), clientLayout());
    EXPECT_THROW(navigate(clients(), NavStep::First, ""), StoreBusy);  // nor read half a write
    EXPECT_THROW(readAllRecords(archive(), clientLayout()), StoreBusy);
  }
  EXPECT_EQ(readBytes(archive()), before);

  // A lock let go while the writer waits lets it through.
  setLockWait(5000ms);
  auto writer = RecordFile::openExisting(archive(), clientLayout());
  std::thread other([&] {
    std::this_thread::sleep_for(100ms);
    writer.close();
  });
  EXPECT_EQ(saveCard(clients(), "", clientCard("C4")).recordNumber, 4u);
  other.join();
  EXPECT_EQ(codes(archive()), (std::vector<std::string>{"C1", "C2", "C3", "C4"}));
}

TEST_F(SharedFolder, AnActionThatWaitedWhileTheArchiveWasReplacedWritesIntoTheNewOne) {
  setLockWait(5000ms);
  // Another instance is deleting C1: it holds the archive and has its copy ready.
  auto deleting = RecordFile::openExisting(archive(), clientLayout());
  writeClients(dir_ / "copia", {"C2", "C3"});

  std::promise<void> waiting;
  std::future<void> locking = waiting.get_future();
  std::future<SaveOutcome> saved = std::async(std::launch::async, [&] {
    bool told = false;
    ScopedIoHook hook([&](IoStep s) {
      if (s == IoStep::Lock && !told) {
        told = true;
        waiting.set_value();
      }
      return Fault::None;
    });
    return saveCard(clients(), "", clientCard("C4"));
  });
  ASSERT_EQ(locking.wait_for(test::kWaitDeadline), std::future_status::ready)
      << "the save never asked for the lock";
  std::this_thread::sleep_for(50ms);  // the save now waits on the old file
  fs::rename(dir_ / "copia", archive());
  deleting.close();

  EXPECT_EQ(saved.get().recordNumber, 3u);
  EXPECT_EQ(codes(archive()), (std::vector<std::string>{"C2", "C3", "C4"}));
}

TEST_F(SharedFolder, ADeletionNeverTakesOverATemporaryFileInUse) {
  // Another instance is deleting in another supply of the same folder: the
  // temporary file is its own for now.
  auto supply = [&](const char* name) { return supplyArchive(dir_.path(), dir_ / name); };
  for (const char* name : {"A.for", "B.for"}) {
    auto f = RecordFile::createEmpty(dir_ / name, supplyLayout());
    f.append(emptyRecord(supplyLayout()));
    f.close();
  }
  test::writeBytes(dir_ / kSupplyTemp, std::vector<uint8_t>(100, 'x'));
  const int theirs = ::open((dir_ / kSupplyTemp).c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_TRUE(tryLockFile(theirs, Lock::Exclusive));
  const auto before = readBytes(dir_ / "A.for");

  EXPECT_THROW(deleteCard(supply("A.for"), "1"), StoreBusy);
  EXPECT_EQ(readBytes(dir_ / "A.for"), before);
  EXPECT_TRUE(namesFile(dir_ / kSupplyTemp, theirs, false));
  EXPECT_EQ(readBytes(dir_ / kSupplyTemp), std::vector<uint8_t>(100, 'x'));

  ::close(theirs);  // their deletion ended; what is left is a leftover
  deleteCard(supply("A.for"), "1");
  EXPECT_EQ(fs::file_size(dir_ / "A.for"), 0u);
  EXPECT_FALSE(fs::exists(dir_ / kSupplyTemp));
}

// A file system that takes no locks (ENOLCK from every lock, as some network
// mounts answer) is worked on as one desk at a time would; the windows are
// told once per session, so that they can say several desks must not write.
TEST_F(SharedFolder, AFileSystemWithoutLocksIsWorkedOnAndToldOnce) {
  ScopedIoHook noLocks([](IoStep s) { return s == IoStep::Lock ? Fault::Refused : Fault::None; });
  EXPECT_FALSE(locksRefusedNotice());  // nothing refused yet
  EXPECT_EQ(saveCard(clients(), "", clientCard("C4")).recordNumber, 4u);
  EXPECT_TRUE(locksRefused());
  EXPECT_TRUE(locksRefusedNotice());
  const Record shown = clientCard("C1");
  deleteCard(clients(), "1", {}, &shown);
  EXPECT_EQ(navigate(clients(), NavStep::Last, "").record[0], "C4");
  EXPECT_FALSE(locksRefusedNotice());  // told once per session
  EXPECT_EQ(codes(archive()), (std::vector<std::string>{"C2", "C3", "C4"}));
}

TEST(SpecialFiles, AFifoADeviceOrAFolderInAnArchivesPlaceIsRefusedAtOnce) {
  TempFolder dir;
  ASSERT_EQ(::mkfifo((dir / kClientArchive).c_str(), 0600), 0);
  fs::create_symlink("/dev/null", dir / kProductArchive);
  fs::create_directory(dir / "Lavori.for");
  const CardArchive fifo = clientArchive(dir.path());
  const CardArchive folder = supplyArchive(dir.path(), dir / "Lavori.for");
  const auto start = Clock::now();

  for (const CardArchive& a : {fifo, productArchive(dir.path()), folder}) {
    SCOPED_TRACE(a.file.string());
    EXPECT_THROW(navigate(a, NavStep::First, ""), StoreError);
    EXPECT_THROW(saveCard(a, "", emptyRecord(*a.layout)), StoreError);
    EXPECT_THROW(readAllRecords(a.file, *a.layout), StoreError);
  }
  EXPECT_THROW(deleteCard(fifo, "1"), StoreError);
  EXPECT_THROW(deleteCard(folder, "1"), StoreError);
  EXPECT_THROW(takeFromStock(dir / kProductArchive, 1, "1"), StoreError);
  EXPECT_FALSE(supplysheet::listItems(dir / "Lavori.for").complete);
  // The tool reports them and goes on with the next file.
  const auto dump = test::runCli({"dump", (dir / kClientArchive).string()});
  EXPECT_EQ(dump.code, 1);
  const auto verify = test::runCli({"verify", (dir / kClientArchive).string(),
                                    (dir / kProductArchive).string()});
  EXPECT_EQ(verify.code, 1);
  EXPECT_NE(verify.out.find((dir / kProductArchive).string()), std::string::npos) << verify.out;

  EXPECT_LT(Clock::now() - start, 1s);  // nothing waited for a writer
  EXPECT_TRUE(S_ISFIFO(statOf(dir / kClientArchive).st_mode));
  EXPECT_TRUE(fs::is_symlink(dir / kProductArchive));
  EXPECT_TRUE(fs::is_directory(dir / "Lavori.for"));
}

TEST(Links, AnArchiveThatIsALinkIsWrittenWhereItPointsAndStaysALink) {
  TempFolder dir;
  fs::create_directory(dir / "dati");
  const fs::path real = dir / "dati" / kClientArchive;
  writeClients(real, {"C1", "C2", "C3"});
  fs::create_symlink(fs::path("dati") / kClientArchive, dir / kClientArchive);
  const CardArchive clients = clientArchive(dir.path());

  EXPECT_EQ(saveCard(clients, "", clientCard("C4")).recordNumber, 4u);
  const Record shown2 = clientCard("C2");
  saveCard(clients, "2", clientCard("C2bis"), &shown2);
  const Record shown1 = clientCard("C1");
  deleteCard(clients, "1", {}, &shown1);

  EXPECT_TRUE(fs::is_symlink(dir / kClientArchive));
  EXPECT_EQ(fs::read_symlink(dir / kClientArchive), fs::path("dati") / kClientArchive);
  EXPECT_EQ(codes(real), (std::vector<std::string>{"C2bis", "C3", "C4"}));
  for (const auto& e : fs::recursive_directory_iterator(dir.path()))
    EXPECT_NE(e.path().extension(), ".tmp") << e.path();
}

TEST(Links, ALeftoverTemporaryLinkIsRemovedNeverFollowed) {
  TempFolder dir;
  writeClients(dir / kClientArchive, {"C1", "C2"});
  test::writeBytes(dir / "altro.txt", {'d', 'a', 't', 'i'});
  fs::create_symlink("altro.txt", dir / kClientTemp);
  deleteCard(clientArchive(dir.path()), "1");
  EXPECT_EQ(codes(dir / kClientArchive), (std::vector<std::string>{"C2"}));
  EXPECT_EQ(readBytes(dir / "altro.txt"), (std::vector<uint8_t>{'d', 'a', 't', 'i'}));
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / kClientTemp)));
}

TEST(Modes, ADeletionKeepsTheArchivesRightsAndOwner) {
  TempFolder dir;
  const fs::path file = dir / kClientArchive;
  writeClients(file, {"C1", "C2"});
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  const bool admin = ::geteuid() == 0;
  if (admin) {
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
  }
  deleteCard(clientArchive(dir.path()), "1");
  const struct stat st = statOf(file);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (admin) {
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
  }
  EXPECT_EQ(codes(file), (std::vector<std::string>{"C2"}));
}

TEST(Modes, AnArchiveWritableInAFolderThatTakesNoNewFilesIsStillSavedOver) {
  // Such a folder has no room for the journal of an overwrite: the record is
  // written without one, as it always was.
  TempFolder dir;
  const fs::path file = dir / kClientArchive;
  writeClients(file, {"C1", "C2"});
  const auto save = [&] {
    const Record shown = clientCard("C2");
    saveCard(clientArchive(dir.path()), "2", clientCard("C2bis"), &shown);
  };
  if (::geteuid() == 0) {  // the administrator may create files anywhere: act as another user
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
      try {
        save();
      } catch (...) {
        ::_exit(1);
      }
      ::_exit(0);
    }
    const std::optional<int> status = test::waitChild(pid);
    ASSERT_TRUE(status) << "the save as another user did not end";
    EXPECT_EQ(*status, 0);
  } else {
    ASSERT_EQ(::chmod(dir.path().c_str(), 0500), 0);
    EXPECT_NO_THROW(save());
    ::chmod(dir.path().c_str(), 0700);
  }
  EXPECT_EQ(codes(file), (std::vector<std::string>{"C1", "C2bis"}));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace zel

namespace zel {
namespace {

// ---- two system users on one folder ----

// Runs a command line of the shell; true when it succeeded.
bool shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// Two users of one group, made for a test and removed at its end, whatever
// happens in between.
class LocalUsers {
 public:
  LocalUsers() {
    const std::string tag = std::to_string(::getpid() % 100000);
    group = "zelg" + tag, a = "zela" + tag, b = "zelb" + tag;
    made_ = shell("groupadd " + group) && shell("useradd -M -N -g " + group + " -s /usr/sbin/nologin " + a) &&
            shell("useradd -M -N -g " + group + " -s /usr/sbin/nologin " + b);
  }
  ~LocalUsers() {
    shell("userdel " + a);
    shell("userdel " + b);
    shell("groupdel " + group);
  }
  bool made() const { return made_; }
  gid_t gid() const {
    const struct group* g = ::getgrnam(group.c_str());
    return g ? g->gr_gid : static_cast<gid_t>(-1);
  }
  uid_t uid(const std::string& user) const {
    const struct passwd* p = ::getpwnam(user.c_str());
    return p ? p->pw_uid : static_cast<uid_t>(-1);
  }
  // A program run as `user` of the group with the umask of a shared folder.
  std::vector<std::string> as(const std::string& user, std::vector<std::string> program) const {
    std::vector<std::string> args{"/usr/bin/setpriv", "--reuid=" + user, "--regid=" + group, "--init-groups",
                                  "/bin/sh", "-c", "umask 002 && exec \"$0\" \"$@\""};
    args.insert(args.end(), program.begin(), program.end());
    return args;
  }

  std::string group, a, b;

 private:
  bool made_ = false;
};

// The program's files, copied where every user may run them (the build
// folder may be closed to them).
struct Programs {
  TempFolder bin;
  std::string driver, cli;
  Programs() {
    ::chmod(bin.path().c_str(), 0755);
    driver = (bin / "store_driver").string();
    cli = (bin / "zelvano-cli").string();
    fs::copy_file(ZELVANO_STORE_DRIVER, driver);
    fs::copy_file(ZELVANO_CLI, cli);
  }
};

std::string ask(test::ChildProcess& desk, const std::string& command) {
  desk.send(command);
  std::string line;
  return desk.readLine(line) ? line : "(no answer)";
}

// `zelvano-cli password FOLDER` with the new password on its input.
int setPassword(const std::vector<std::string>& command, const std::string& password) {
  test::ChildProcess cli(command);
  cli.send(password);
  return cli.wait();
}

TEST(TwoUsers, ShareOneFolderWithNothingRefusedThatTheirRightsAllow) {
  if (::geteuid() != 0) GTEST_SKIP() << "making two system users needs root (CI runs as root)";
  LocalUsers users;
  ASSERT_TRUE(users.made()) << "useradd or groupadd failed";
  const Programs programs;
  TempFolder shared;
  ASSERT_EQ(::chown(shared.path().c_str(), 0, users.gid()), 0);
  ASSERT_EQ(::chmod(shared.path().c_str(), 02775), 0);
  const std::string folder = shared.path().string();

  // A saves clients, creates a supply with an item and sets the password.
  {
    test::ChildProcess a(users.as(users.a, {programs.driver, "session", folder}));
    for (const char* name : {"Primo", "Secondo", "Terzo"}) {
      EXPECT_EQ(ask(a, "new"), "ok");
      EXPECT_NE(ask(a, std::string("save ") + name).find("ok "), std::string::npos);
    }
    EXPECT_EQ(ask(a, "supply Rossi"), "ok");
    EXPECT_EQ(ask(a, "item Rossi Viti"), "ok 1");
    a.send("quit");
    EXPECT_EQ(a.wait(), 0);
  }
  EXPECT_EQ(setPassword(users.as(users.a, {programs.cli, "password", folder}), "prima"), 0);
  for (const char* name : {kClientArchive, "Rossi.for", kPasswordStore}) {
    SCOPED_TRACE(name);
    const struct stat st = statOf(shared / name);
    EXPECT_EQ(st.st_uid, users.uid(users.a));
    EXPECT_EQ(st.st_gid, users.gid());  // the folder's, given by the kernel
    EXPECT_EQ(st.st_mode & 07777, 0664u);
  }

  // A deletion of A's that crashed left its copy, readable by A alone.
  test::writeBytes(shared / kClientTemp, std::vector<uint8_t>(100, 'x'));
  ASSERT_EQ(::chown((shared / kClientTemp).c_str(), users.uid(users.a), users.gid()), 0);
  ASSERT_EQ(::chmod((shared / kClientTemp).c_str(), 0600), 0);

  // B reads, saves, deletes, works in the supply and changes the password.
  {
    test::ChildProcess b(users.as(users.b, {programs.driver, "session", folder}));
    EXPECT_EQ(ask(b, "login prima"), "ok");
    EXPECT_EQ(ask(b, "show 2").substr(0, 3), "ok ");
    EXPECT_EQ(ask(b, "save Secondo di B"), "ok 2");
    EXPECT_EQ(ask(b, "show 1").substr(0, 3), "ok ");
    EXPECT_EQ(ask(b, "delete"), "ok");
    EXPECT_EQ(ask(b, "item Rossi Dadi"), "ok 2");
    EXPECT_EQ(ask(b, "items Rossi"), "ok 2");
    EXPECT_EQ(ask(b, "password prima seconda"), "ok");
    b.send("quit");
    EXPECT_EQ(b.wait(), 0);
  }
  // A goes on where B left off: the files B rewrote are still the group's.
  {
    test::ChildProcess a(users.as(users.a, {programs.driver, "session", folder}));
    EXPECT_EQ(ask(a, "login seconda"), "ok");
    EXPECT_EQ(ask(a, "show 1").substr(0, 3), "ok ");
    EXPECT_EQ(ask(a, "save Secondo di A"), "ok 1");
    EXPECT_EQ(ask(a, "items Rossi"), "ok 2");
    a.send("quit");
    EXPECT_EQ(a.wait(), 0);
  }
  const std::vector<Record> clients = readAllRecords(shared / kClientArchive, clientLayout());
  ASSERT_EQ(clients.size(), 2u);
  EXPECT_EQ(clients[0][1], "Secondo di A");
  EXPECT_EQ(clients[1][1], "Terzo");
  for (const char* name : {kClientArchive, kPasswordStore}) {
    SCOPED_TRACE(name);
    const struct stat st = statOf(shared / name);
    EXPECT_EQ(st.st_gid, users.gid());
    EXPECT_EQ(st.st_mode & 07777, 0664u);
  }
  for (const auto& e : fs::directory_iterator(shared.path()))
    EXPECT_TRUE(e.path().extension() == ".pro" || e.path().extension() == ".for" ||
                e.path().filename() == kPasswordStore)
        << "left behind: " << e.path();
}

TEST(TwoUsers, RootsPasswordChangeNeverFollowsALinkNorTakesAnotherUsersStore) {
  if (::geteuid() != 0) GTEST_SKIP() << "the administrator's change needs root (CI runs as root)";
  LocalUsers users;
  ASSERT_TRUE(users.made()) << "useradd or groupadd failed";
  const Programs programs;
  TempFolder home, rootOnly;
  ASSERT_EQ(::chown(home.path().c_str(), users.uid(users.a), users.gid()), 0);
  ASSERT_EQ(::chmod(home.path().c_str(), 0755), 0);
  const fs::path precious = rootOnly / "impostazioni";
  test::writeBytes(precious, {'r', 'o', 'o', 't', '\n'});
  ASSERT_EQ(::chmod(precious.c_str(), 0644), 0);
  const fs::path store = home / kPasswordStore;

  // A link that A planted in the store's place.
  ASSERT_TRUE(shell("setpriv --reuid=" + users.a + " --regid=" + users.group + " --init-groups ln -s " +
                    precious.string() + " " + store.string()));
  EXPECT_EQ(setPassword({programs.cli, "password", home.path().string()}, "nuova"), 1);
  EXPECT_TRUE(fs::is_symlink(store));
  EXPECT_EQ(test::readBytes(precious), (std::vector<uint8_t>{'r', 'o', 'o', 't', '\n'}));
  EXPECT_EQ(statOf(precious).st_mode & 07777, 0644u);

  // A store of B's in A's folder is not the folder owner's either.
  fs::remove(store);
  test::writeBytes(store, {'[', 'A', ']', '\n'});
  ASSERT_EQ(::chown(store.c_str(), users.uid(users.b), users.gid()), 0);
  EXPECT_EQ(setPassword({programs.cli, "password", home.path().string()}, "nuova"), 1);
  EXPECT_EQ(test::readBytes(store), (std::vector<uint8_t>{'[', 'A', ']', '\n'}));
  // A store of the folder's owner is rewritten, and stays theirs.
  ASSERT_EQ(::chown(store.c_str(), users.uid(users.a), users.gid()), 0);
  EXPECT_EQ(setPassword({programs.cli, "password", home.path().string()}, "nuova"), 0);
  EXPECT_EQ(statOf(store).st_uid, users.uid(users.a));
  EXPECT_TRUE(checkPassword(store, "nuova"));
}

}  // namespace
}  // namespace zel
