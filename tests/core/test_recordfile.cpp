#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/fileio.h"
#include "store/iohook.h"
#include "store/layout.h"
#include "store/recordfile.h"
#include "support/files.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::putField;
using test::readBytes;
using test::TempFolder;
using test::writeBytes;

constexpr size_t kClientSize = 3890;

Record client(const std::string& code, const std::string& name) {
  Record r = emptyRecord(clientLayout());
  r[0] = code;
  r[1] = name;
  return r;
}

// Writes `records` through the record file, one append each.
void writeClients(const fs::path& file, const std::vector<Record>& records) {
  auto f = RecordFile::openForUpdate(file, clientLayout());
  for (const Record& r : records) f.append(r);
  f.close();
}

// The codes of the whole records, read straight from the bytes: no lock, so
// a file can be looked at while an action holds it.
std::vector<std::string> codes(const fs::path& file) {
  const std::vector<uint8_t> bytes = readBytes(file);
  std::vector<std::string> out;
  for (size_t at = 0; at + kClientSize <= bytes.size(); at += kClientSize)
    out.push_back(decodeRecord(clientLayout(), bytes.data() + at)[0]);
  return out;
}

unsigned modeOf(const fs::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return 0xFFFF;
  return st.st_mode & 0777;
}

// Sets the process umask for the scope, so file rights are the code's own.
struct UmaskScope {
  explicit UmaskScope(mode_t m) : saved(::umask(m)) {}
  ~UmaskScope() { ::umask(saved); }
  mode_t saved;
};

TEST(RecordFile, ReadsAFileLaidOutByHand) {
  TempFolder dir;
  // Three records as another program could have written them: garbage after
  // every text, and in record 2 a length byte above the field's capacity.
  std::vector<uint8_t> bytes(3 * kClientSize, 0xA7);
  auto at = [](size_t k, size_t offset) { return (k - 1) * kClientSize + offset; };
  for (size_t k = 1; k <= 3; ++k)
    for (size_t off : {102, 153, 204, 255, 306, 357, 478, 529, 580, 597, 609, 660, 711, 762, 813, 934,
                       1055, 1306, 1357, 1408, 1459, 1510, 1631, 1882, 2133, 2384, 2635, 2886,
                       3137, 3388, 3639})
      bytes[at(k, off)] = 0;
  putField(bytes, at(1, 0), "A1");
  putField(bytes, at(1, 51), "Anna Bianchi");
  putField(bytes, at(1, 580), "BNCNNA80A41H501X");
  putField(bytes, at(1, 1631), "  con spazi \r\n");
  putField(bytes, at(2, 0), "B2");
  putField(bytes, at(2, 51), std::string(50, 'Z'), 0xC8);  // 200 > 50
  putField(bytes, at(2, 597), "12345678901");
  putField(bytes, at(3, 0), "C3");
  putField(bytes, at(3, 51), "Citt\xE0 \x80");
  putField(bytes, at(3, 3639), std::string(250, 'd'));
  writeBytes(dir / "Anagrafica.pro", bytes);

  auto f = RecordFile::openForUpdate(dir / "Anagrafica.pro", clientLayout());
  ASSERT_EQ(f.count(), 3u);
  const Record r1 = f.read(1);
  EXPECT_EQ(r1[0], "A1");
  EXPECT_EQ(r1[1], "Anna Bianchi");
  EXPECT_EQ(r1[10], "BNCNNA80A41H501X");
  EXPECT_EQ(r1[24], "con spazi");
  EXPECT_EQ(r1[2], "");
  const Record r2 = f.read(2);
  EXPECT_EQ(r2[1], std::string(50, 'Z'));  // read as the capacity, never past it
  EXPECT_EQ(r2[2], "");                    // the next field is untouched
  EXPECT_EQ(r2[11], "12345678901");
  const Record r3 = f.read(3);
  EXPECT_EQ(r3[1], "Citt\xE0 \x80");
  EXPECT_EQ(r3[32], std::string(250, 'd'));

  // The scan sees the same records in the same order.
  std::vector<size_t> seen;
  f.scanRecords([&](size_t k, const Record& r) {
    seen.push_back(k);
    EXPECT_EQ(r.values, f.read(k).values);
  });
  EXPECT_EQ(seen, (std::vector<size_t>{1, 2, 3}));
  f.close();
  // Reading changed nothing.
  EXPECT_EQ(readBytes(dir / "Anagrafica.pro"), bytes);
}

TEST(RecordFile, WritesWhatAnIndependentReaderExpects) {
  TempFolder dir;
  writeClients(dir / "a.pro", {client("C001", "Mario Rossi")});
  const auto bytes = readBytes(dir / "a.pro");
  ASSERT_EQ(bytes.size(), kClientSize);
  EXPECT_EQ(bytes[0], 4);
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 5), "C001");
  EXPECT_EQ(bytes[51], 11);
  EXPECT_EQ(std::string(bytes.begin() + 52, bytes.begin() + 63), "Mario Rossi");
  for (size_t off : {102, 580, 597, 1631, 3639}) EXPECT_EQ(bytes[off], 0) << off;
}

TEST(RecordFile, PartialTailIsNotCountedAndAnAppendLandsOnIt) {
  TempFolder dir;
  const fs::path file = dir / "a.pro";
  writeClients(file, {client("1", "uno"), client("2", "due")});
  {
    auto bytes = readBytes(file);
    bytes.insert(bytes.end(), 1000, 0x41);  // a torn third record
    writeBytes(file, bytes);
  }
  auto f = RecordFile::openForUpdate(file, clientLayout());
  EXPECT_EQ(f.count(), 2u);
  EXPECT_THROW(f.read(3), StoreError);
  size_t scanned = 0;
  f.scan([&](size_t, const uint8_t*) { ++scanned; });
  EXPECT_EQ(scanned, 2u);
  EXPECT_EQ(f.append(client("3", "tre")), 3u);
  f.close();
  EXPECT_EQ(fs::file_size(file), 3 * kClientSize);
  EXPECT_EQ(codes(file), (std::vector<std::string>{"1", "2", "3"}));
}

TEST(RecordFile, ReadAndOverwriteOnlyInsideTheFile) {
  TempFolder dir;
  const fs::path file = dir / "a.pro";
  writeClients(file, {client("1", "uno"), client("2", "due")});
  auto f = RecordFile::openForUpdate(file, clientLayout());
  EXPECT_THROW(f.read(0), StoreError);
  EXPECT_THROW(f.read(3), StoreError);
  EXPECT_THROW(f.overwrite(3, client("x", "x")), StoreError);
  EXPECT_THROW(f.overwrite(0, client("x", "x")), StoreError);
  f.overwrite(2, client("2bis", "due bis"));
  EXPECT_EQ(f.count(), 2u);
  EXPECT_EQ(f.read(2)[1], "due bis");
  EXPECT_EQ(f.read(1)[1], "uno");
  f.close();
  EXPECT_EQ(fs::file_size(file), 2 * kClientSize);
  EXPECT_THROW(f.count(), StoreError);  // closed
}

TEST(RecordFile, OpeningRules) {
  TempFolder dir;
  UmaskScope mask(027);
  // Open for update creates a missing file empty, with the rights the umask
  // leaves of read and write for all (as desktop programs create files).
  {
    auto f = RecordFile::openForUpdate(dir / "new.pro", clientLayout());
    EXPECT_EQ(f.count(), 0u);
  }
  EXPECT_TRUE(fs::exists(dir / "new.pro"));
  EXPECT_EQ(modeOf(dir / "new.pro"), 0640u);
  // Open existing refuses a missing file and creates nothing.
  EXPECT_THROW(RecordFile::openExisting(dir / "none.pro", clientLayout()), StoreError);
  EXPECT_FALSE(fs::exists(dir / "none.pro"));
  EXPECT_THROW(RecordFile::openReadOnly(dir / "none.pro", clientLayout()), StoreError);
  EXPECT_FALSE(fs::exists(dir / "none.pro"));
  // Create empty empties a leftover file, which keeps its rights.
  writeBytes(dir / "left.tmp", std::vector<uint8_t>(5000, 1));
  fs::permissions(dir / "left.tmp", fs::perms(0644));
  {
    auto f = RecordFile::createEmpty(dir / "left.tmp", clientLayout());
    EXPECT_EQ(f.count(), 0u);
  }
  EXPECT_EQ(fs::file_size(dir / "left.tmp"), 0u);
  EXPECT_EQ(modeOf(dir / "left.tmp"), 0644u);
  // A folder in the archive's place is an access failure, not an empty file.
  fs::create_directory(dir / "folder.pro");
  EXPECT_THROW(
      {
        auto f = RecordFile::openForUpdate(dir / "folder.pro", clientLayout());
        f.count();
      },
      StoreError);
}

TEST(RecordFile, ReadOnlyAccessReadsButNeverWrites) {
  TempFolder dir;
  const fs::path file = dir / "a.pro";
  writeClients(file, {client("1", "uno")});
  const auto before = readBytes(file);
  auto f = RecordFile::openReadOnly(file, clientLayout());
  EXPECT_EQ(f.count(), 1u);
  EXPECT_EQ(f.read(1)[1], "uno");
  EXPECT_THROW(f.append(client("2", "due")), StoreError);
  EXPECT_THROW(f.overwrite(1, client("x", "x")), StoreError);
  f.close();
  EXPECT_EQ(readBytes(file), before);
}

TEST(RecordFile, ScanCrossesBlockBoundaries) {
  TempFolder dir;
  const fs::path file = dir / "a.pro";
  // More records than one read block holds (1 MiB / 3890 = 269).
  const size_t n = 600;
  {
    auto f = RecordFile::openForUpdate(file, clientLayout());
    for (size_t i = 1; i <= n; ++i) f.append(client(std::to_string(i), "p"));
  }
  size_t expected = 1;
  auto f = RecordFile::openForUpdate(file, clientLayout());
  f.scanRecords([&](size_t k, const Record& r) {
    ASSERT_EQ(k, expected);
    ASSERT_EQ(r[0], std::to_string(k));
    ++expected;
  });
  EXPECT_EQ(expected, n + 1);
}

// ---- delete by copy ----

class DeleteByCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    writeClients(archive(), {client("1", "uno"), client("2", "due"), client("3", "tre")});
  }
  fs::path archive() const { return dir_ / "Anagrafica.pro"; }
  fs::path temp() const { return dir_ / "Anagrafica.tmp"; }
  TempFolder dir_;
};

TEST_F(DeleteByCopy, RemovesRecordTwoOfThree) {
  UmaskScope open(0);
  ASSERT_EQ(::chmod(archive().c_str(), 0604), 0);
  deleteRecordByCopy(archive(), temp(), clientLayout(), 2);
  EXPECT_EQ(fs::file_size(archive()), 2 * kClientSize);
  EXPECT_EQ(codes(archive()), (std::vector<std::string>{"1", "3"}));
  EXPECT_FALSE(fs::exists(temp()));
  EXPECT_EQ(modeOf(archive()), 0604u);  // the archive's, not the umask's
}

TEST_F(DeleteByCopy, FirstLastAndOnlyRecord) {
  deleteRecordByCopy(archive(), temp(), clientLayout(), 3);
  EXPECT_EQ(codes(archive()), (std::vector<std::string>{"1", "2"}));
  deleteRecordByCopy(archive(), temp(), clientLayout(), 1);
  EXPECT_EQ(codes(archive()), (std::vector<std::string>{"2"}));
  deleteRecordByCopy(archive(), temp(), clientLayout(), 1);
  EXPECT_TRUE(fs::exists(archive()));
  EXPECT_EQ(fs::file_size(archive()), 0u);
}

TEST_F(DeleteByCopy, DropsAPartialTail) {
  auto bytes = readBytes(archive());
  bytes.insert(bytes.end(), 77, 'x');
  writeBytes(archive(), bytes);
  deleteRecordByCopy(archive(), temp(), clientLayout(), 2);
  EXPECT_EQ(fs::file_size(archive()), 2 * kClientSize);
  EXPECT_EQ(codes(archive()), (std::vector<std::string>{"1", "3"}));
}

TEST_F(DeleteByCopy, MissingArchiveFailsWithoutCreatingIt) {
  fs::remove(archive());
  EXPECT_THROW(deleteRecordByCopy(archive(), temp(), clientLayout(), 1), StoreError);
  EXPECT_FALSE(fs::exists(archive()));
}

TEST_F(DeleteByCopy, LeftoverTemporaryFileIsEmptiedFirst) {
  writeBytes(temp(), std::vector<uint8_t>(kClientSize * 2, 'q'));
  deleteRecordByCopy(archive(), temp(), clientLayout(), 1);
  EXPECT_EQ(codes(archive()), (std::vector<std::string>{"2", "3"}));
}

TEST_F(DeleteByCopy, AFailureAtAnyStepLeavesTheArchiveIntact) {
  const auto before = readBytes(archive());
  for (DeleteStep failAt : {DeleteStep::OpenArchive, DeleteStep::CreateTemp, DeleteStep::Copy,
                            DeleteStep::Sync, DeleteStep::Close, DeleteStep::Replace}) {
    SCOPED_TRACE(static_cast<int>(failAt));
    std::vector<DeleteStep> reached;
    EXPECT_THROW(deleteRecordByCopy(archive(), temp(), clientLayout(), 2,
                                    [&](DeleteStep s) {
                                      reached.push_back(s);
                                      if (s == failAt) throw StoreError("injected");
                                    }),
                 StoreError);
    EXPECT_EQ(reached.back(), failAt);
    EXPECT_EQ(readBytes(archive()), before);
    EXPECT_EQ(codes(archive()), (std::vector<std::string>{"1", "2", "3"}));
  }
  // The steps run in this order, and a clean run after the failures works.
  std::vector<DeleteStep> reached;
  deleteRecordByCopy(archive(), temp(), clientLayout(), 2,
                     [&](DeleteStep s) { reached.push_back(s); });
  EXPECT_EQ(reached, (std::vector<DeleteStep>{DeleteStep::OpenArchive, DeleteStep::CreateTemp,
                                              DeleteStep::Copy, DeleteStep::Sync,
                                              DeleteStep::Close, DeleteStep::Replace}));
  EXPECT_EQ(codes(archive()), (std::vector<std::string>{"1", "3"}));
}

TEST_F(DeleteByCopy, TheCopyIsCompleteBeforeTheReplacement) {
  // Just before the rename the temporary file already holds the whole new
  // archive, flushed and closed; a crash there loses nothing.
  deleteRecordByCopy(archive(), temp(), clientLayout(), 2, [&](DeleteStep s) {
    if (s != DeleteStep::Replace) return;
    EXPECT_EQ(fs::file_size(temp()), 2 * kClientSize);
    EXPECT_EQ(codes(temp()), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(codes(archive()), (std::vector<std::string>{"1", "2", "3"}));
  });
  EXPECT_EQ(codes(archive()), (std::vector<std::string>{"1", "3"}));
}

TEST_F(DeleteByCopy, AFailedRenameLeavesTheOldArchive) {
  const auto before = readBytes(archive());
  // The temporary file vanishes just before it should take the archive's place.
  EXPECT_THROW(deleteRecordByCopy(archive(), temp(), clientLayout(), 2,
                                  [&](DeleteStep s) {
                                    if (s == DeleteStep::Replace) fs::remove(temp());
                                  }),
               StoreError);
  EXPECT_EQ(readBytes(archive()), before);
}

TEST_F(DeleteByCopy, KeepsEveryByteAroundTheRecordInAFileOfManyBlocks) {
  // 600 records of varied bytes and a partial tail: each deletion (the first,
  // one in the middle, the last) leaves exactly the bytes before and after
  // the record, the two kernel copies meeting at the record boundary.
  std::vector<uint8_t> bytes(600 * kClientSize + 1000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 4096);
  for (size_t k : {size_t{1}, size_t{300}, size_t{600}}) {
    SCOPED_TRACE(k);
    writeBytes(archive(), bytes);
    std::vector<uint8_t> expected(bytes.begin(), bytes.begin() + static_cast<long>((k - 1) * kClientSize));
    expected.insert(expected.end(), bytes.begin() + static_cast<long>(k * kClientSize),
                    bytes.begin() + static_cast<long>(600 * kClientSize));
    deleteRecordByCopy(archive(), temp(), clientLayout(), k);
    EXPECT_TRUE(readBytes(archive()) == expected);
  }
}

// ---- the kernel's copy ----

class CopyRange : public ::testing::Test {
 protected:
  void SetUp() override {
    source_.resize(3 * kClientSize);
    for (size_t i = 0; i < source_.size(); ++i) source_[i] = static_cast<uint8_t>(i % 251);
    writeBytes(dir_ / "from", source_);
  }
  // Copies through copyRange from `fromFile` into a new file in `into`; the bytes written.
  std::vector<uint8_t> copy(uint64_t at, uint64_t to, uint64_t size, const fs::path& into) {
    FileHandle from(::open((dir_ / "from").c_str(), O_RDONLY));
    FileHandle out(::open(into.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600));
    copyRange(from.get(), at, out.get(), to, size, dir_ / "from", into);
    return readBytes(into);
  }
  std::vector<uint8_t> slice(size_t at, size_t size) const {
    return {source_.begin() + static_cast<long>(at), source_.begin() + static_cast<long>(at + size)};
  }
  TempFolder dir_;
  std::vector<uint8_t> source_;
};

TEST_F(CopyRange, CopiesExactlyTheRangeAtAnyOffset) {
  EXPECT_TRUE(copy(kClientSize, 0, kClientSize, dir_ / "a") == slice(kClientSize, kClientSize));
  // Offsets on no block boundary: the target's first five bytes are a hole.
  std::vector<uint8_t> expected(5, 0);
  const std::vector<uint8_t> last = slice(2 * kClientSize, kClientSize);
  expected.insert(expected.end(), last.begin(), last.end());
  EXPECT_TRUE(copy(2 * kClientSize, 5, kClientSize, dir_ / "b") == expected);
  EXPECT_TRUE(copy(0, 0, 0, dir_ / "c").empty());
}

TEST_F(CopyRange, ASourceShorterThanTheRangeFailsNamingIt) {
  try {
    copy(2 * kClientSize, 0, kClientSize + 1, dir_ / "a");
    FAIL() << "no failure";
  } catch (const StoreError& e) {
    EXPECT_NE(std::string(e.what()).find((dir_ / "from").string()), std::string::npos) << e.what();
  }
}

TEST_F(CopyRange, AShortWriteCopiesHalfAndFails) {
  ScopedIoHook hook([](IoStep s) { return s == IoStep::Write ? Fault::Short : Fault::None; });
  EXPECT_THROW(copy(0, 0, 2 * kClientSize, dir_ / "a"), StoreError);
  EXPECT_TRUE(readBytes(dir_ / "a") == slice(0, kClientSize));
}

TEST_F(CopyRange, AnotherFileSystemIsCopiedByReadingAndWriting) {
  // The kernel refuses to copy between a tmpfs and the temporary folder's file system.
  struct stat shm {}, here {};
  if (::stat("/dev/shm", &shm) != 0 || ::stat(dir_.path().c_str(), &here) != 0 || shm.st_dev == here.st_dev)
    GTEST_SKIP() << "no second file system here";
  const fs::path elsewhere = "/dev/shm/zelvano-test-copy-" + std::to_string(::getpid());
  const std::vector<uint8_t> copied = copy(kClientSize, 0, 2 * kClientSize, elsewhere);
  fs::remove(elsewhere);
  EXPECT_TRUE(copied == slice(kClientSize, 2 * kClientSize));
}

}  // namespace
}  // namespace zel

namespace zel {
namespace {

TEST(DeleteByCopyBounds, ARecordNumberPastTheEndFailsAndKeepsTheArchive) {
  zel::test::TempFolder dir;
  const auto archive = dir.path() / "Anagrafica.pro";
  {
    auto f = RecordFile::openForUpdate(archive, clientLayout());
    Record r = emptyRecord(clientLayout());
    r[0] = "A";
    f.append(r);
    f.close();
  }
  EXPECT_THROW(deleteRecordByCopy(archive, dir.path() / "Anagrafica.tmp", clientLayout(), 2), StoreError);
  EXPECT_THROW(deleteRecordByCopy(archive, dir.path() / "Anagrafica.tmp", clientLayout(), 0), StoreError);
  EXPECT_EQ(std::filesystem::file_size(archive), clientLayout().recordSize());
}

}  // namespace
}  // namespace zel
