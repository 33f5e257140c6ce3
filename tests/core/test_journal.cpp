// The crash journal of an overwrite, tested directly: a save is cut short in
// a child process where a crash leaves a journal behind, and the next action
// must find the old record or the whole new one; a journal that does not
// belong to the archive beside it must leave both files exactly as they are.
// Last, two system users on one shared folder: a save killed under one user
// is settled by the other's next action.
#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "store/archives.h"
#include "store/card.h"
#include "store/iohook.h"
#include "store/journal.h"
#include "support/childprocess.h"
#include "support/churn.h"
#include "support/clirun.h"
#include "support/files.h"
#include "support/records.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

Record client(const std::string& code) {
  Record r = test::clientCard(code);
  r[32] = code + std::string(200, 'n');  // the last field: a torn record shows at its end too
  return r;
}

std::vector<uint8_t> encoded(const Record& r) {
  std::vector<uint8_t> bytes(clientLayout().recordSize());
  encodeRecord(clientLayout(), r, bytes.data());
  return bytes;
}

void writeClients(const fs::path& file, int n) {
  auto f = RecordFile::createEmpty(file, clientLayout());
  for (int i = 1; i <= n; ++i) f.append(client("C" + std::to_string(i)));
  f.close();
}

// The steps of a save over record k, as a copy of the folder sees them.
std::vector<IoStep> stepsOfASave(const CardArchive& archive, size_t k, const Record& replacement) {
  TempFolder copy;
  CardArchive twin = archive;
  twin.file = copy / archive.file.filename().string();
  twin.tempFile = copy / archive.tempFile.filename().string();
  fs::copy_file(archive.file, twin.file);
  std::vector<IoStep> steps;
  ScopedIoHook hook([&](IoStep step) {
    steps.push_back(step);
    return Fault::None;
  });
  saveCard(twin, std::to_string(k), replacement);
  return steps;
}

// The position of the n-th (1-based) `step` among `steps`.
size_t nth(const std::vector<IoStep>& steps, IoStep step, int n) {
  for (size_t i = 0; i < steps.size(); ++i)
    if (steps[i] == step && --n == 0) return i;
  ADD_FAILURE() << "a save makes fewer such steps";
  return steps.size();
}

// Saves `replacement` over record k of `archive` in a child process that
// dies just before its step `at` (0-based), as a process killed there
// would; `torn`: that step, a write, stores half of its bytes first.
void interruptedSave(const CardArchive& archive, size_t k, const Record& replacement, size_t at,
                     bool torn = false) {
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    size_t n = 0;
    bool cut = false;
    ScopedIoHook hook([&](IoStep) {
      if (cut) ::_exit(0);  // the step after the torn write: the put-back
      if (n++ != at) return Fault::None;
      if (!torn) ::_exit(0);
      cut = true;
      return Fault::Short;
    });
    try {
      saveCard(archive, std::to_string(k), replacement);
    } catch (...) {
    }
    ::_exit(1);  // never cut
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save was not cut short";
}

// The record's write (the save's second write: the journal is the first)
// stores half of the new record, and the process dies.
void tornSave(const CardArchive& archive, size_t k, const Record& replacement) {
  interruptedSave(archive, k, replacement, nth(stepsOfASave(archive, k, replacement), IoStep::Write, 2), true);
  ASSERT_TRUE(journal::exists(journal::pathFor(archive.file)));
}

// ---- recovery ----

// An overwrite flushes its journal before it writes the record, and flushes
// twice in all (the journal, the record) where the file system commits names
// in order, four times elsewhere; a new card is one write and one flush (a
// cut append leaves at most a partial record at the end, never counted).
// Old-or-new at every step is the crash tests' (test_faults).
TEST(Flushes, AnOverwriteFlushesTheJournalThenTheRecordAndAnAppendOnce) {
  TempFolder dir;
  const CardArchive clients = clientArchive(dir.path());
  writeClients(clients.file, 3);
  const std::vector<IoStep> overwrite = stepsOfASave(clients, 2, client("NUOVO"));
  EXPECT_LT(nth(overwrite, IoStep::Sync, 1), nth(overwrite, IoStep::Write, 2));
  const auto flushes = [](const std::vector<IoStep>& steps) {
    return std::count(steps.begin(), steps.end(), IoStep::Sync) +
           std::count(steps.begin(), steps.end(), IoStep::SyncFolder);
  };
  EXPECT_EQ(flushes(overwrite), flushesCarryNames(clients.file) ? 2 : 4);

  std::vector<IoStep> append;
  ScopedIoHook hook([&](IoStep step) {
    append.push_back(step);
    return Fault::None;
  });
  saveCard(clients, "", client("C4"));
  EXPECT_EQ(flushes(append), 1);
}

// Killed once the new record is written, before its journal is removed
// (where a crash may also bring back a journal whose removal was not
// flushed): the save stands, and the next reader or writer only removes the
// journal.
TEST(Recovery, ASaveCutBeforeItsJournalIsRemovedStands) {
  for (size_t record : {1, 3, 5}) {
    for (bool reader : {true, false}) {
      SCOPED_TRACE("record " + std::to_string(record) + (reader ? ", then a step" : ", then a save"));
      TempFolder dir;
      const CardArchive clients = clientArchive(dir.path());
      writeClients(clients.file, 5);
      const Record replacement = client("NUOVO");
      std::vector<uint8_t> expected = readBytes(clients.file);
      const std::vector<uint8_t> fresh = encoded(replacement);
      std::copy(fresh.begin(), fresh.end(), expected.begin() + static_cast<long>((record - 1) * fresh.size()));
      interruptedSave(clients, record, replacement, nth(stepsOfASave(clients, record, replacement), IoStep::Remove, 1));
      ASSERT_TRUE(journal::exists(journal::pathFor(clients.file)));
      if (reader) {
        EXPECT_EQ(navigate(clients, NavStep::First, "").record[0], record == 1 ? "NUOVO" : "C1");
      } else {
        EXPECT_EQ(saveCard(clients, "", client("C6")).recordNumber, 6u);
        const std::vector<uint8_t> added = encoded(client("C6"));
        expected.insert(expected.end(), added.begin(), added.end());
      }
      EXPECT_EQ(readBytes(clients.file), expected);
      EXPECT_FALSE(journal::exists(journal::pathFor(clients.file)));
    }
  }
}

// The record torn halfway, or mixed byte for byte with the old one (all a
// write can leave): the old record goes back.
TEST(Recovery, ATornOrMixedRecordGetsItsOldBytesBack) {
  for (size_t record : {1, 3, 5}) {
    for (bool mixed : {false, true}) {
      SCOPED_TRACE("record " + std::to_string(record) + (mixed ? ", mixed" : ", torn"));
      TempFolder dir;
      const CardArchive clients = clientArchive(dir.path());
      writeClients(clients.file, 5);
      const std::vector<uint8_t> before = readBytes(clients.file);
      const Record replacement = client("NUOVO");
      tornSave(clients, record, replacement);
      if (mixed) {
        std::vector<uint8_t> bytes = before;
        const std::vector<uint8_t> fresh = encoded(replacement);
        const size_t at = (record - 1) * fresh.size();
        for (size_t i = 0; i < fresh.size(); i += 2) bytes[at + i] = fresh[i];
        writeBytes(clients.file, bytes);
      }
      ASSERT_NE(readBytes(clients.file), before) << "the cut save wrote nothing";
      EXPECT_EQ(navigate(clients, NavStep::First, "").record[0], "C1");
      EXPECT_EQ(readBytes(clients.file), before);
      EXPECT_FALSE(journal::exists(journal::pathFor(clients.file)));
    }
  }
}

// A journal cut short while it was written protected nothing yet: the next
// action removes it and leaves the archive as it is. Cut after its header,
// it must still agree with the archive: a journal whose old record is not
// the archive's was not cut by a crash, and is kept.
TEST(Recovery, AJournalCutShortIsRemovedWhereTheArchiveIsUntouched) {
  TempFolder dir;
  const CardArchive clients = clientArchive(dir.path());
  writeClients(clients.file, 3);
  const std::vector<uint8_t> before = readBytes(clients.file);
  interruptedSave(clients, 2, client("NUOVO"), nth(stepsOfASave(clients, 2, client("NUOVO")), IoStep::Write, 2));
  const fs::path journalFile = journal::pathFor(clients.file);
  const std::vector<uint8_t> whole = readBytes(journalFile);
  ASSERT_EQ(readBytes(clients.file), before);
  const size_t header = 8 + 4 * 8;
  for (size_t length : {size_t{0}, size_t{5}, header - 1, header, header + 3, whole.size() / 2, whole.size() - 1}) {
    SCOPED_TRACE("cut to " + std::to_string(length) + " bytes of " + std::to_string(whole.size()));
    writeBytes(journalFile, std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(length)));
    EXPECT_EQ(navigate(clients, NavStep::First, "").record[0], "C1");
    EXPECT_FALSE(journal::exists(journalFile));
    EXPECT_EQ(readBytes(clients.file), before);
  }
  // Its old record no longer the archive's: refused, both files kept.
  std::vector<uint8_t> other = before;
  other[clientLayout().recordSize() + 3] ^= 0x55;
  writeBytes(clients.file, other);
  const std::vector<uint8_t> cut(whole.begin(), whole.end() - 1);
  writeBytes(journalFile, cut);
  EXPECT_THROW(navigate(clients, NavStep::First, ""), journal::JournalRefused);
  EXPECT_EQ(readBytes(journalFile), cut);
  EXPECT_EQ(readBytes(clients.file), other);
}

// ---- journals that do not fit ----

// FNV-1a over bytes, written out here from its definition.
uint64_t fnv1a(const std::vector<uint8_t>& bytes) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (uint8_t b : bytes) h = (h ^ b) * 0x100000001b3ull;
  return h;
}

void putU64(std::vector<uint8_t>& out, uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// The journal rewritten with its archive's size changed.
void claimSize(const fs::path& journalFile, uint64_t size) {
  const std::vector<uint8_t> bytes = readBytes(journalFile);
  std::optional<journal::Entry> entry = journal::decode(bytes.data(), bytes.size());
  ASSERT_TRUE(entry);
  entry->archiveSize = size;
  writeBytes(journalFile, journal::encode(*entry));
}

std::vector<uint8_t> supplyBytes(const std::vector<std::string>& products) {
  const size_t size = supplyLayout().recordSize();
  std::vector<uint8_t> bytes(products.size() * size);
  for (size_t i = 0; i < products.size(); ++i) {
    Record r = emptyRecord(supplyLayout());
    r[0] = products[i];
    encodeRecord(supplyLayout(), r, &bytes[i * size]);
  }
  return bytes;
}

struct Misfit {
  std::string name;
  // Turns the folder left by a save of record 2 of 3 (cut halfway) into the
  // case; returns the archive to act on.
  std::function<CardArchive(const fs::path& folder, const CardArchive& cut)> make;
};

void PrintTo(const Misfit& m, std::ostream* os) { *os << m.name; }

std::vector<Misfit> misfits() {
  return {
      // By hand: an open through the program would settle the journal.
      {"ABackupRestoredBesideIt",
       [](const fs::path&, const CardArchive& cut) {
         writeBytes(cut.file, supplyBytes({"viti", "rondelle", "dadi"}));
         return cut;
       }},
      {"AnArchiveOfAnotherSize",
       [](const fs::path&, const CardArchive& cut) {
         std::vector<uint8_t> bytes = readBytes(cut.file);
         const std::vector<uint8_t> more = supplyBytes({"chiodi"});
         bytes.insert(bytes.end(), more.begin(), more.end());
         writeBytes(cut.file, bytes);
         return cut;
       }},
      {"AnOldSizeOf4GiB",
       [](const fs::path&, const CardArchive& cut) {
         claimSize(journal::pathFor(cut.file), uint64_t{1} << 32);
         return cut;
       }},
      {"AnOldSizeOf2To62",
       [](const fs::path&, const CardArchive& cut) {
         claimSize(journal::pathFor(cut.file), uint64_t{1} << 62);
         return cut;
       }},
      {"AJournalOfTheFirstFormat",
       [](const fs::path&, const CardArchive& cut) {
         // 40 bytes: offset 0, old size 0, no bytes, a valid checksum.
         std::vector<uint8_t> old = {'Z', 'E', 'L', 'J', 'R', 'N', '1', '\n'};
         for (int i = 0; i < 3; ++i) putU64(old, 0);
         putU64(old, fnv1a(old));
         writeBytes(journal::pathFor(cut.file), old);
         return cut;
       }},
      {"AJournalCutShort",
       [](const fs::path&, const CardArchive& cut) {
         std::vector<uint8_t> bytes = readBytes(journal::pathFor(cut.file));
         bytes.pop_back();
         writeBytes(journal::pathFor(cut.file), bytes);
         return cut;
       }},
      {"AnotherArchivesJournal",
       [](const fs::path& folder, const CardArchive& cut) {
         // The same bytes under another name: only the name tells them apart.
         const CardArchive copy = supplyArchive(folder, folder / "Copia.for");
         fs::copy_file(cut.file, copy.file);
         fs::copy_file(journal::pathFor(cut.file), journal::pathFor(copy.file));
         return copy;
       }},
  };
}

class NotFitting : public ::testing::TestWithParam<Misfit> {};

TEST_P(NotFitting, IsLeftAloneWithTheArchiveAndRefusesEveryAction) {
  TempFolder dir;
  // A supply file, so that another supply can be given the same bytes.
  const CardArchive supply = supplyArchive(dir.path(), dir / "Rossi.for");
  writeBytes(supply.file, supplyBytes({"viti", "bulloni", "dadi"}));
  Record replacement = emptyRecord(supplyLayout());
  replacement[0] = std::string(40, 'x');
  tornSave(supply, 2, replacement);
  const CardArchive archive = GetParam().make(dir.path(), supply);
  const fs::path journalFile = journal::pathFor(archive.file);
  const std::vector<uint8_t> archiveBytes = readBytes(archive.file);
  const std::vector<uint8_t> journalBytes = readBytes(journalFile);

  const std::vector<std::function<void()>> actions = {
      [&] { navigate(archive, NavStep::First, ""); },
      [&] { saveCard(archive, "1", replacement); },
      [&] { saveCard(archive, "", replacement); },
      [&] { deleteCard(archive, "3"); },
      [&] { settlePendingJournal(archive.file, *archive.layout); },
  };
  for (const auto& action : actions) {
    try {
      action();
      ADD_FAILURE() << "an action went ahead beside a journal that does not fit";
    } catch (const journal::JournalRefused& e) {
      EXPECT_EQ(e.reason(), journal::JournalRefused::Reason::DoesNotFit) << e.what();
      EXPECT_EQ(e.journal(), journalFile);
      EXPECT_NE(std::string(e.what()).find(journalFile.string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(readBytes(archive.file), archiveBytes);
    EXPECT_EQ(readBytes(journalFile), journalBytes);
  }
}

INSTANTIATE_TEST_SUITE_P(Journals, NotFitting, ::testing::ValuesIn(misfits()),
                         [](const ::testing::TestParamInfo<Misfit>& info) { return info.param.name; });

// Root may write anything: another user's journal is applied by root only
// to that user's archive.
TEST(JournalOwner, RootAppliesAnotherUsersJournalOnlyToThatUsersArchive) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
  constexpr uid_t kUser = 54321;
  for (bool archiveIsTheirs : {false, true}) {
    TempFolder dir;
    const CardArchive clients = clientArchive(dir.path());
    writeClients(clients.file, 2);
    const std::vector<uint8_t> before = readBytes(clients.file);
    tornSave(clients, 2, client("NUOVO"));
    const fs::path journalFile = journal::pathFor(clients.file);
    ASSERT_EQ(::chown(journalFile.c_str(), kUser, 0), 0);
    if (archiveIsTheirs) {
      ASSERT_EQ(::chown(clients.file.c_str(), kUser, 0), 0);
    }
    const std::vector<uint8_t> torn = readBytes(clients.file);

    if (archiveIsTheirs) {
      EXPECT_TRUE(settlePendingJournal(clients.file, clientLayout()));
      EXPECT_EQ(readBytes(clients.file), before);
    } else {
      EXPECT_THROW(settlePendingJournal(clients.file, clientLayout()), journal::JournalRefused);
      EXPECT_EQ(readBytes(clients.file), torn);
    }
    EXPECT_EQ(journal::exists(journalFile), !archiveIsTheirs);
  }
}

// ---- the command-line tool ----

struct CliCase {
  std::string name;
  std::vector<std::string> args;  // "DIR" at the start of one stands for the folder
  bool reportsOnStandardOutput;  // verify: the journal is one of the file's anomalies
};

void PrintTo(const CliCase& c, std::ostream* os) { *os << c.name; }

class CliReading : public ::testing::TestWithParam<CliCase> {
 protected:
  void SetUp() override {
    writeClients(clients_.file, 3);
    before_ = readBytes(clients_.file);
    tornSave(clients_, 2, client("NUOVO"));
  }
  test::CliResult run() const {
    std::vector<std::string> args;
    for (const std::string& a : GetParam().args)
      args.push_back(a.rfind("DIR", 0) == 0 ? dir_.path().string() + a.substr(3) : a);
    return test::runCli(args);
  }

  TempFolder dir_;
  CardArchive clients_ = clientArchive(dir_.path());
  std::vector<uint8_t> before_;
};

TEST_P(CliReading, PutsTheOldRecordBackBeforeReading) {
  const test::CliResult r = run();
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.find("NUOVO"), std::string::npos) << r.out;
  EXPECT_EQ(readBytes(clients_.file), before_);
  EXPECT_FALSE(journal::exists(journal::pathFor(clients_.file)));
}

TEST_P(CliReading, ReportsAJournalItMayNotApplyAndChangesNothing) {
  const fs::path journalFile = journal::pathFor(clients_.file);
  claimSize(journalFile, uint64_t{1} << 32);
  const std::vector<uint8_t> torn = readBytes(clients_.file), journalBytes = readBytes(journalFile);
  const test::CliResult r = run();
  EXPECT_EQ(r.code, 1);
  const std::string& report = GetParam().reportsOnStandardOutput ? r.out : r.err;
  EXPECT_NE(report.find(journalFile.string()), std::string::npos) << report;
  EXPECT_EQ(readBytes(clients_.file), torn);
  EXPECT_EQ(readBytes(journalFile), journalBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliReading,
    ::testing::Values(CliCase{"dump", {"dump", "DIR/Anagrafica.pro"}, false},
                      CliCase{"verify", {"verify", "DIR/Anagrafica.pro"}, true},
                      CliCase{"search", {"search", "clienti", "--folder", "DIR"}, false},
                      CliCase{"export", {"export", "clienti", "--xlsx", "DIR/out.xlsx", "--folder", "DIR"}, false}),
    [](const ::testing::TestParamInfo<CliCase>& info) { return info.param.name; });

// ---- two users on one shared folder ----

std::string run(const std::string& command) {
  const int status = std::system((command + " >/dev/null 2>&1").c_str());
  return status == 0 ? "" : command + " failed";
}

// A group and two users in it, made for one test and removed with it.
class TwoUsers {
 public:
  TwoUsers() {
    const std::string tag = std::to_string(::getpid() % 100000);
    group_ = "zelg" + tag;
    a_ = "zela" + tag;
    b_ = "zelb" + tag;
    error_ = run("groupadd " + group_);
    if (error_.empty()) error_ = run("useradd -M -N -g " + group_ + " -s /usr/sbin/nologin " + a_);
    if (error_.empty()) error_ = run("useradd -M -N -g " + group_ + " -s /usr/sbin/nologin " + b_);
  }
  ~TwoUsers() {
    run("userdel " + a_);
    run("userdel " + b_);
    run("groupdel " + group_);
  }
  TwoUsers(const TwoUsers&) = delete;
  TwoUsers& operator=(const TwoUsers&) = delete;

  const std::string& error() const { return error_; }
  const std::string& group() const { return group_; }
  const std::string& a() const { return a_; }
  const std::string& b() const { return b_; }

  // The command line that runs `args` as `user` in the group, with `umask`.
  std::vector<std::string> as(const std::string& user, const char* umask, const std::string& args) const {
    return {"/bin/sh", "-c",
            std::string("umask ") + umask + " && exec setpriv --reuid=" + user + " --regid=" + group_ +
                " --clear-groups " + args};
  }

 private:
  std::string group_, a_, b_, error_;
};

struct UserCase {
  const char* umaskOfA;
  bool readableByB;
};

void PrintTo(const UserCase& c, std::ostream* os) { *os << "umask " << c.umaskOfA; }

class AnotherUsersJournal : public ::testing::TestWithParam<UserCase> {};

TEST_P(AnotherUsersJournal, IsSettledByTheNextDeskThatCanReadItAndNeverDiscarded) {
  if (::geteuid() != 0) GTEST_SKIP() << "creating two system users needs root";
  const UserCase& c = GetParam();
  TwoUsers users;
  ASSERT_EQ(users.error(), "");
  const std::string driver = ZELVANO_STORE_DRIVER;

  // A shared folder as a shop sets one up: the group's, setgid, writable by
  // the group; the archive writable by the group too.
  TempFolder top;
  fs::permissions(top.path(), fs::perms(0711));
  const fs::path shared = top / "Zelvano";
  fs::create_directory(shared);
  const CardArchive clients = clientArchive(shared);
  {
    const size_t size = clientLayout().recordSize();
    std::vector<uint8_t> bytes(50 * size);
    for (uint64_t i = 0; i < 50; ++i) encodeRecord(clientLayout(), test::churnRecord({i + 1, 0}), &bytes[i * size]);
    writeBytes(clients.file, bytes);
  }
  const struct passwd* a = ::getpwnam(users.a().c_str());
  const struct group* g = ::getgrnam(users.group().c_str());
  ASSERT_TRUE(a && g);
  ASSERT_EQ(::chown(shared.c_str(), a->pw_uid, g->gr_gid), 0);
  ASSERT_EQ(::chmod(shared.c_str(), 02775), 0);
  ASSERT_EQ(::chown(clients.file.c_str(), a->pw_uid, g->gr_gid), 0);
  ASSERT_EQ(::chmod(clients.file.c_str(), 0644), 0);

  // Reading needs only the right to read.
  std::string answer;
  {
    test::ChildProcess reader(users.as(users.b(), "002", driver + " session " + shared.string()));
    reader.send("show 1");
    ASSERT_TRUE(reader.readLine(answer)) << "B's desk did not answer";
    EXPECT_EQ(answer, "ok " + test::churnRecord({1, 0})[0]);
  }
  ASSERT_EQ(::chmod(clients.file.c_str(), 0664), 0);

  // A's desk is killed at random moments until one falls inside a save
  // after its journal was written whole (a journal cut short is settled by
  // A's next desk, as by any).
  const fs::path journalFile = journal::pathFor(clients.file);
  const auto wholeJournalLeft = [&] {
    if (!journal::exists(journalFile)) return false;
    const std::vector<uint8_t> bytes = readBytes(journalFile);
    return journal::decode(bytes.data(), bytes.size()).has_value();
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (int round = 0; !wholeJournalLeft(); ++round) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no save of A was ever cut short";
    test::ChildProcess desk(users.as(users.a(), c.umaskOfA,
                                     driver + " churn " + shared.string() + " " + std::to_string(round) +
                                         " 0 " + std::to_string(1000000 + round * 1000)));
    std::string line;
    ASSERT_TRUE(desk.readLine(line)) << "A's desk did not start";
    std::this_thread::sleep_for(std::chrono::microseconds(std::rand() % 20000));
    desk.kill();
    desk.wait();
  }
  const std::vector<uint8_t> journalBytes = readBytes(journalFile);
  const std::optional<journal::Entry> entry = journal::decode(journalBytes.data(), journalBytes.size());
  ASSERT_TRUE(entry);
  // Killed once the whole new record was written, the save stands.
  const std::vector<uint8_t> cut = readBytes(clients.file);
  const bool saveDone = std::equal(entry->newBytes.begin(), entry->newBytes.end(), cut.begin() + entry->offset);
  const std::vector<uint8_t>& settled = saveDone ? entry->newBytes : entry->oldBytes;
  struct stat st {};
  ASSERT_EQ(::stat(journalFile.c_str(), &st), 0);
  EXPECT_EQ(st.st_gid, g->gr_gid) << "the journal did not take the shared folder's group";
  EXPECT_EQ((st.st_mode & 0040) != 0, c.readableByB) << "journal mode " << std::oct << (st.st_mode & 0777);

  // B's next action: a step to the first card.
  test::ChildProcess b(users.as(users.b(), "002", driver + " session " + shared.string()));
  // Each answer comes once its action is over; the desks are idle after.
  b.send("show 1");
  ASSERT_TRUE(b.readLine(answer)) << "B's desk did not answer";
  if (!c.readableByB) {
    // Refused, and the journal kept for a desk that can apply it: A's.
    EXPECT_EQ(answer.rfind("error ", 0), 0u) << answer;
    EXPECT_EQ(readBytes(journalFile), journalBytes);
    test::ChildProcess again(users.as(users.a(), c.umaskOfA, driver + " session " + shared.string()));
    again.send("show 1");
    ASSERT_TRUE(again.readLine(answer)) << "A's desk did not answer";
  }
  EXPECT_EQ(answer.rfind("ok ", 0), 0u) << answer;
  EXPECT_FALSE(journal::exists(journalFile));
  const std::vector<uint8_t> now = readBytes(clients.file);
  ASSERT_EQ(now.size(), entry->archiveSize);
  EXPECT_TRUE(std::equal(settled.begin(), settled.end(), now.begin() + entry->offset))
      << (saveDone ? "the record A saved is not kept" : "the record A was saving over is not back");
  for (const Record& r : readAllRecords(clients.file, clientLayout()))
    EXPECT_TRUE(test::churnIdentity(r).has_value()) << "a torn record: " << r[0];
}

INSTANTIATE_TEST_SUITE_P(Umasks, AnotherUsersJournal,
                         ::testing::Values(UserCase{"022", true}, UserCase{"027", true},
                                           UserCase{"077", false}));

}  // namespace
}  // namespace zel
