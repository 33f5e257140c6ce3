#pragma once
// A record file: a headerless sequence of fixed-size records. Every user
// action opens the file, does its work and closes it again.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "store/layout.h"

namespace zel {

// Any failure to reach an archive; the windows turn it into the one
// archive-access message.
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class RecordFile {
 public:
  // Opens for reading and writing, creating an empty file when it is missing.
  static RecordFile openForUpdate(const std::filesystem::path& path, const Layout& layout);
  // Opens an existing file for reading and writing; a missing file fails.
  static RecordFile openExisting(const std::filesystem::path& path, const Layout& layout);
  // Creates the file, or empties it when it exists.
  static RecordFile createEmpty(const std::filesystem::path& path, const Layout& layout);
  // Opens an existing file for reading only (tools that inspect an archive
  // without the right to change it); any write fails.
  static RecordFile openReadOnly(const std::filesystem::path& path, const Layout& layout);

  RecordFile(RecordFile&& other) noexcept;
  RecordFile& operator=(RecordFile&& other) noexcept;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile();

  const Layout& layout() const { return *layout_; }
  const std::filesystem::path& path() const { return path_; }

  // Whole records in the file; a partial record at the end is not counted.
  size_t count() const;
  // Record k, 1-based; fails when k is outside 1..count.
  Record read(size_t k) const;
  void readRaw(size_t k, uint8_t* out) const;
  void overwrite(size_t k, const Record& record);
  void overwriteRaw(size_t k, const uint8_t* bytes);
  // Writes after the last whole record (count × size, over any partial tail)
  // and returns the new record number.
  size_t append(const Record& record);
  // Appends `records` consecutive records; returns the number of the last.
  size_t appendRaw(const uint8_t* bytes, size_t records = 1);
  // Reads every whole record in file order, in large blocks.
  void scan(const std::function<void(size_t k, const uint8_t* bytes)>& visit) const;
  // The record handed to `visit` is reused for the next one: copy what you keep.
  void scanRecords(const std::function<void(size_t k, const Record& record)>& visit) const;
  // Flushes the file's data to the disk.
  void sync();
  void close();

 private:
  RecordFile(int fd, std::filesystem::path path, const Layout& layout);
  void writeAt(uint64_t offset, const uint8_t* bytes, size_t size);
  [[noreturn]] void fail(const char* what) const;

  int fd_ = -1;
  std::filesystem::path path_;
  const Layout* layout_;
};

// How a listing reaches its archive. The windows open it for update, so a
// missing archive is created empty; the command-line tool only reads, and
// takes a missing archive (in a folder that exists) for an empty one, creating
// nothing.
enum class Access { Update, ReadOnly };

// Opens, visits every whole record in file order, closes.
void scanFile(const std::filesystem::path& path, const Layout& layout, Access access,
              const std::function<void(size_t k, const uint8_t* bytes)>& visit);

// Reads record k of a file in one open-read-close action.
Record readRecord(const std::filesystem::path& path, const Layout& layout, size_t k);
// Every record of a file, in order (opening it for update, as the screens do).
std::vector<Record> readAllRecords(const std::filesystem::path& path, const Layout& layout);

// The steps of a deletion, named for the checkpoint callback.
enum class DeleteStep { OpenArchive, CreateTemp, Copy, Sync, Close, Replace };

// Removes record k by copying every other record into tempPath and renaming
// it over the archive. The rename is atomic: a failure at any step leaves the
// archive as it was, or already replaced by the complete copy. The optional
// checkpoint runs before each step (tests use it to inject failures).
void deleteRecordByCopy(const std::filesystem::path& archive,
                        const std::filesystem::path& tempPath, const Layout& layout,
                        size_t k, const std::function<void(DeleteStep)>& checkpoint = {});

}  // namespace zel
