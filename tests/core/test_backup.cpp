// Backups of a program folder while desks work in it, and their restore.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <chrono>
#include <thread>

#include "childprocess.h"
#include "../churn.h"
#include "clirun.h"
#include "store/archives.h"
#include "store/backup.h"
#include "store/journal.h"
#include "store/recordfile.h"
#include "tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::runCli;
using testing::TempFolder;
using Clock = std::chrono::system_clock;

const Clock::time_point kMonday = Clock::from_time_t(1700000000);

Clock::time_point later(int seconds) { return kMonday + std::chrono::seconds(seconds); }

void writeArchive(const fs::path& file, const Layout& layout, std::initializer_list<const char*> codes) {
  auto f = RecordFile::openForUpdate(file, layout);
  for (const char* c : codes) {
    Record r = emptyRecord(layout);
    r[0] = c;
    f.append(r);
  }
}

class Backups : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(folder());
    writeArchive(folder() / kClientArchive, clientLayout(), {"C1", "C2", "C3"});
    writeArchive(folder() / kProductArchive, productLayout(), {"P1"});
    writeArchive(folder() / "Rossi marzo.for", supplyLayout(), {"vite", "dado"});
    testing::writeBytes(folder() / kPasswordStore, {'[', 'A', 'c', 'c', 'e', 's', 's', 'o', ']', '\n'});
    testing::writeBytes(folder() / "Guida.pdf", {'%'});
    testing::writeBytes(folder() / kClientTemp, {'x'});
  }
  fs::path folder() const { return dir / "Zelvano"; }
  fs::path dest() const { return dir / "copie"; }
  void lockWaitShort() { saved = setLockWait(std::chrono::milliseconds(100)); }
  void TearDown() override { setLockWait(saved); }

  TempFolder dir;
  std::chrono::milliseconds saved = lockWait();
};

TEST_F(Backups, EveryDataFileIsCopiedListedAndNothingElse) {
  const auto result = backup::makeBackup(folder(), dest(), kMonday);
  EXPECT_TRUE(result.complete);
  EXPECT_EQ(result.folder.parent_path(), dest());
  for (const char* name : {kClientArchive, kProductArchive, "Rossi marzo.for", kPasswordStore})
    EXPECT_EQ(readBytes(result.folder / name), readBytes(folder() / name)) << name;
  EXPECT_FALSE(fs::exists(result.folder / "Guida.pdf"));
  EXPECT_FALSE(fs::exists(result.folder / kClientTemp));
  EXPECT_FALSE(fs::exists(result.folder / backup::kIncompleteMark));
  EXPECT_TRUE(backup::checkBackup(result.folder).empty());
  // Never into an existing backup.
  EXPECT_THROW(backup::makeBackup(folder(), dest(), kMonday), StoreError);
  EXPECT_TRUE(backup::checkBackup(result.folder).empty());
}

TEST_F(Backups, ADamagedOrHeldFileIsNamedAndTheBackupMarkedIncomplete) {
  auto bytes = readBytes(folder() / kProductArchive);
  bytes[0] = 251;  // a length byte above the code's capacity of 250
  testing::writeBytes(folder() / kProductArchive, bytes);
  lockWaitShort();
  FileHandle desk = openLocked(folder() / "Rossi marzo.for", O_RDWR, Lock::Exclusive);
  const auto r = runCli({"backup", dest().string(), "--folder", folder().string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("Materiali.pro: DAMAGED"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Rossi marzo.for: DAMAGED OR UNREADABLE: busy"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Anagrafica.pro: 3 records, 11670 bytes"), std::string::npos) << r.out;
  const fs::path made = *fs::directory_iterator(dest());
  const auto mark = readBytes(made / backup::kIncompleteMark);
  EXPECT_NE(std::string(mark.begin(), mark.end()).find("Rossi marzo.for"), std::string::npos);
  EXPECT_FALSE(backup::checkBackup(made).empty());
}

TEST_F(Backups, APendingJournalIsSettledBeforeTheCopy) {
  const fs::path archive = folder() / kClientArchive;
  const auto before = readBytes(archive);
  {
    // A desk died in the middle of saving over record 2.
    auto f = RecordFile::openExisting(archive, clientLayout());
    journal::Entry old{clientLayout().recordSize(), before.size(), {}};
    old.oldBytes.assign(before.begin() + clientLayout().recordSize(), before.begin() + 2 * clientLayout().recordSize());
    ASSERT_TRUE(journal::write(journal::pathFor(archive), old));
    Record torn = emptyRecord(clientLayout());
    torn[0] = "TORN";
    f.overwrite(2, torn);
  }
  const auto result = backup::makeBackup(folder(), dest(), kMonday);
  EXPECT_TRUE(result.complete);
  EXPECT_EQ(readBytes(result.folder / kClientArchive), before);
  EXPECT_FALSE(journal::exists(journal::pathFor(archive)));
}

TEST_F(Backups, KeepRemovesOnlyTheOldestCompleteBackupsItMade) {
  for (int i = 0; i < 4; ++i) backup::makeBackup(folder(), dest(), later(i));
  fs::create_directories(dest() / "Zelvano-2000-01-01-000000");  // not one of ours: no contents list
  fs::create_directories(dest() / "Zelvano-vecchio");
  const fs::path incomplete = dest() / backup::folderName(later(-10));
  fs::create_directories(incomplete);
  testing::writeBytes(incomplete / backup::kIncompleteMark, {'x'});

  const auto removed = backup::pruneBackups(dest(), 2);
  ASSERT_EQ(removed.size(), 2u);
  EXPECT_EQ(removed[0].filename(), backup::folderName(later(0)));
  EXPECT_EQ(removed[1].filename(), backup::folderName(later(1)));
  for (int i : {2, 3}) EXPECT_TRUE(backup::isComplete(dest() / backup::folderName(later(i))));
  EXPECT_TRUE(fs::exists(dest() / "Zelvano-2000-01-01-000000"));
  EXPECT_TRUE(fs::exists(dest() / "Zelvano-vecchio"));
  EXPECT_TRUE(fs::exists(incomplete / backup::kIncompleteMark));
  EXPECT_EQ(runCli({"backup", dest().string(), "--folder", folder().string(), "--keep", "0"}).code, 2);
  EXPECT_EQ(runCli({"backup", dest().string(), "--folder", (dir / "vuota").string()}).code, 1);
}

TEST_F(Backups, CopiesStaySoundWhileADeskSavesAndDeletes) {
  {
    auto f = RecordFile::createEmpty(folder() / kClientArchive, clientLayout());
    for (uint64_t s = 1; s <= 300; ++s) f.append(churn::make({s, 0}));
  }
  testing::ChildProcess desk({ZELVANO_STORE_DRIVER, "churn", folder().string(), "7", "0", "500000"});
  std::string line;
  ASSERT_TRUE(desk.readLine(line)) << "the desk did not start";
  for (int i = 0; i < 5; ++i) {
    const auto result = backup::makeBackup(folder(), dest(), later(i));
    ASSERT_TRUE(result.complete);
    const fs::path copy = result.folder / kClientArchive;
    ASSERT_EQ(fs::file_size(copy) % clientLayout().recordSize(), 0u);
    for (const Record& r : readAllRecords(copy, clientLayout())) ASSERT_TRUE(churn::identify(r)) << r[0];
  }
  desk.kill();
}

class Restores : public Backups {
 protected:
  void SetUp() override {
    Backups::SetUp();
    made = backup::makeBackup(folder(), dest(), kMonday).folder;
    // Work goes on after the backup.
    writeArchive(folder() / kClientArchive, clientLayout(), {"C4"});
    writeArchive(folder() / "Bianchi.for", supplyLayout(), {"bullone"});
    fs::remove(folder() / kProductArchive);
  }
  fs::path made;
};

TEST_F(Restores, TheFolderComesBackAndWhatItReplacedIsKept) {
  const auto current = readBytes(folder() / kClientArchive);
  const auto result = backup::restoreBackup(folder(), made, later(60));
  ASSERT_TRUE(result.done) << (result.problems.empty() ? "" : result.problems[0]);
  for (const char* name : {kClientArchive, kProductArchive, "Rossi marzo.for", kPasswordStore})
    EXPECT_EQ(readBytes(folder() / name), readBytes(made / name)) << name;
  EXPECT_FALSE(fs::exists(folder() / "Bianchi.for"));
  EXPECT_EQ(result.keptIn, dest() / backup::folderName(later(60)));
  EXPECT_TRUE(backup::checkBackup(result.keptIn).empty());
  EXPECT_EQ(readBytes(result.keptIn / kClientArchive), current);
  EXPECT_TRUE(fs::exists(result.keptIn / "Bianchi.for"));
}

TEST_F(Restores, NothingChangesWhenTheBackupIsNotSoundOrADeskHoldsAFile) {
  const auto current = readBytes(folder() / kClientArchive);
  lockWaitShort();
  {
    FileHandle desk = openLocked(folder() / "Bianchi.for", O_RDONLY, Lock::Shared);
    const auto r = runCli({"restore", made.string(), "--folder", folder().string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Bianchi.for is in use"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(folder() / kProductArchive));  // created to be held, gone again
  auto copy = readBytes(made / "Rossi marzo.for");
  copy.pop_back();
  testing::writeBytes(made / "Rossi marzo.for", copy);
  EXPECT_FALSE(backup::restoreBackup(folder(), made, later(60)).done);
  EXPECT_EQ(readBytes(folder() / kClientArchive), current);
  EXPECT_TRUE(fs::exists(folder() / "Bianchi.for"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dest()), fs::directory_iterator()), 1);
}

TEST_F(Restores, NoJournalOfAReplacedFileIsLeftAndALinkStaysALink) {
  fs::create_directories(dir / "dati");
  fs::rename(folder() / kClientArchive, dir / "dati" / kClientArchive);
  fs::create_symlink(dir / "dati" / kClientArchive, folder() / kClientArchive);
  const fs::path jrn = journal::pathFor(dir / "dati" / kClientArchive);
  testing::writeBytes(jrn, {'c', 'u', 't'});  // a journal cut short: nothing to undo
  const auto result = backup::restoreBackup(folder(), made, later(60));
  ASSERT_TRUE(result.done);
  EXPECT_FALSE(journal::exists(jrn));
  EXPECT_TRUE(fs::is_symlink(folder() / kClientArchive));
  EXPECT_EQ(readBytes(dir / "dati" / kClientArchive), readBytes(made / kClientArchive));
}

}  // namespace
}  // namespace zel
