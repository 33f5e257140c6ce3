// Backups of a program folder while desks work in it, and their restore.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "store/archives.h"
#include "store/backup.h"
#include "store/journal.h"
#include "store/recordfile.h"
#include "support/childprocess.h"
#include "support/churn.h"
#include "support/clirun.h"
#include "support/files.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::runCli;
using test::TempFolder;
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
    test::writeBytes(folder() / kPasswordStore, {'[', 'A', 'c', 'c', 'e', 's', 's', 'o', ']', '\n'});
    test::writeBytes(folder() / "Guida.pdf", {'%'});
    test::writeBytes(folder() / kClientTemp, {'x'});
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
  test::writeBytes(folder() / kProductArchive, bytes);
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

// The journal a desk that died in the middle of saving `torn` over record 2
// of `archive` leaves, and the torn record it leaves in the archive.
void interruptedSaveOverRecord2(const fs::path& archive, const Layout& layout, const char* torn) {
  const auto before = readBytes(archive);
  const size_t size = layout.recordSize();
  Record r = emptyRecord(layout);
  r[0] = torn;
  journal::Entry entry;
  entry.archiveName = realFile(archive).filename().string();
  entry.archiveSize = before.size();
  entry.offset = size;
  entry.oldBytes.assign(before.begin() + size, before.begin() + 2 * size);
  entry.newBytes.resize(size);
  encodeRecord(layout, r, entry.newBytes.data());
  ASSERT_TRUE(journal::write(journal::pathFor(realFile(archive)), entry));
  // Half of the new record reached the disk.
  auto bytes = before;
  std::copy(entry.newBytes.begin(), entry.newBytes.begin() + size / 2, bytes.begin() + size);
  test::writeBytes(archive, bytes);
}

TEST_F(Backups, APendingJournalIsSettledBeforeTheCopy) {
  const fs::path archive = folder() / kClientArchive;
  const auto before = readBytes(archive);
  interruptedSaveOverRecord2(archive, clientLayout(), "TORN");
  ASSERT_NE(readBytes(archive), before);
  const auto result = backup::makeBackup(folder(), dest(), kMonday);
  EXPECT_TRUE(result.complete);
  EXPECT_EQ(readBytes(result.folder / kClientArchive), before);
  EXPECT_EQ(readBytes(archive), before);
  EXPECT_FALSE(journal::exists(journal::pathFor(archive)));
}

TEST_F(Backups, AJournalThatDoesNotFitMarksItsFileUnreadableAndChangesNothing) {
  const fs::path archive = folder() / "Rossi marzo.for";
  interruptedSaveOverRecord2(archive, supplyLayout(), "TORN");
  // The archive grew after the journal was written (written here byte by
  // byte: an open would settle the journal): it no longer fits.
  auto grown = readBytes(archive);
  grown.resize(grown.size() + supplyLayout().recordSize(), 0);
  test::writeBytes(archive, grown);
  const auto archiveBytes = readBytes(archive);
  const fs::path jrn = journal::pathFor(archive);
  const auto journalBytes = readBytes(jrn);

  const auto r = runCli({"backup", dest().string(), "--folder", folder().string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("Rossi marzo.for: DAMAGED OR UNREADABLE: the pending journal " + jrn.string()),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.err.find("INCOMPLETE"), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("Total:"), std::string::npos) << r.out;
  EXPECT_EQ(readBytes(archive), archiveBytes);
  EXPECT_EQ(readBytes(jrn), journalBytes);
  // The other files are copied all the same; the backup is never restored.
  const fs::path made = *fs::directory_iterator(dest());
  EXPECT_EQ(readBytes(made / kClientArchive), readBytes(folder() / kClientArchive));
  const auto mark = readBytes(made / backup::kIncompleteMark);
  EXPECT_NE(std::string(mark.begin(), mark.end()).find(jrn.string()), std::string::npos);
  EXPECT_FALSE(backup::checkBackup(made).empty());
}

TEST_F(Backups, CreatedFilesFollowTheUmaskAndNoLink) {
  const mode_t old = ::umask(027);
  const auto result = backup::makeBackup(folder(), dest(), kMonday);
  ::umask(old);
  ASSERT_TRUE(result.complete);
  for (const char* name : {kClientArchive, kPasswordStore, backup::kContents})
    EXPECT_EQ(fs::status(result.folder / name).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
        << name;
  // A link planted where a backup folder will be is not written through.
  const fs::path elsewhere = dir / "altrove";
  fs::create_directories(elsewhere);
  fs::create_directory_symlink(elsewhere, dest() / backup::folderName(later(1)));
  EXPECT_THROW(backup::makeBackup(folder(), dest(), later(1)), StoreError);
  EXPECT_TRUE(fs::is_empty(elsewhere));
}

TEST_F(Backups, KeepRemovesOnlyTheOldestCompleteBackupsItMade) {
  for (int i = 0; i < 4; ++i) backup::makeBackup(folder(), dest(), later(i));
  fs::create_directories(dest() / "Zelvano-2000-01-01-000000");  // not one of ours: no contents list
  fs::create_directories(dest() / "Zelvano-vecchio");
  const fs::path incomplete = dest() / backup::folderName(later(-10));
  fs::create_directories(incomplete);
  test::writeBytes(incomplete / backup::kIncompleteMark, {'x'});

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
    for (uint64_t s = 1; s <= 300; ++s) f.append(test::churnRecord({s, 0}));
  }
  test::ChildProcess desk({ZELVANO_STORE_DRIVER, "churn", folder().string(), "7", "0", "500000"});
  std::string line;
  ASSERT_TRUE(desk.readLine(line)) << "the desk did not start";
  for (int i = 0; i < 5; ++i) {
    const auto result = backup::makeBackup(folder(), dest(), later(i));
    ASSERT_TRUE(result.complete);
    const fs::path copy = result.folder / kClientArchive;
    ASSERT_EQ(fs::file_size(copy) % clientLayout().recordSize(), 0u);
    for (const Record& r : readAllRecords(copy, clientLayout())) ASSERT_TRUE(test::churnIdentity(r)) << r[0];
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
  test::writeBytes(made / "Rossi marzo.for", copy);
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
  test::writeBytes(jrn, {'c', 'u', 't'});  // a journal cut short: it fits nothing
  const auto result = backup::restoreBackup(folder(), made, later(60));
  ASSERT_TRUE(result.done);
  EXPECT_FALSE(journal::exists(jrn));
  EXPECT_TRUE(fs::is_symlink(folder() / kClientArchive));
  EXPECT_EQ(readBytes(dir / "dati" / kClientArchive), readBytes(made / kClientArchive));
  // The refused journal is kept, byte for byte, with the file it lay beside.
  EXPECT_EQ(readBytes(result.keptIn / (std::string(kClientArchive) + ".jrn")),
            (std::vector<uint8_t>{'c', 'u', 't'}));
}

TEST_F(Restores, AFittingJournalIsAppliedToTheFileKeptBeforeItIsReplaced) {
  const fs::path archive = folder() / "Bianchi.for";
  writeArchive(archive, supplyLayout(), {"rondella"});
  const auto before = readBytes(archive);
  interruptedSaveOverRecord2(archive, supplyLayout(), "TORN");
  const auto result = backup::restoreBackup(folder(), made, later(60));
  ASSERT_TRUE(result.done) << (result.problems.empty() ? "" : result.problems[0]);
  EXPECT_FALSE(journal::exists(journal::pathFor(archive)));
  EXPECT_FALSE(fs::exists(archive));  // not in the backup
  EXPECT_EQ(readBytes(result.keptIn / "Bianchi.for"), before);
  EXPECT_FALSE(fs::exists(result.keptIn / "Bianchi.for.jrn"));
  EXPECT_TRUE(backup::checkBackup(result.keptIn).empty());
}

TEST_F(Restores, ARestoredFileKeepsTheRightsOfTheFileItReplaces) {
  fs::permissions(folder() / kClientArchive, fs::perms::owner_read | fs::perms::owner_write |
                                                 fs::perms::group_read | fs::perms::group_write);
  const auto result = backup::restoreBackup(folder(), made, later(60));
  ASSERT_TRUE(result.done) << (result.problems.empty() ? "" : result.problems[0]);
  EXPECT_EQ(fs::status(folder() / kClientArchive).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write);
  EXPECT_FALSE(fs::exists(folder() / (std::string(kClientArchive) + ".tmp")));
}

}  // namespace
}  // namespace zel
