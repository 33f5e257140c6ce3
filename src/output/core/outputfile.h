#pragma once
// Where an exported file goes, and how it gets there: written under a
// temporary name in the same folder, moved to its own name only when
// complete, never over an existing file.
#include <filesystem>
#include <string>
#include <string_view>

#include "core/text.h"

namespace zel {

class Destination {
 public:
  // A new file in `folder`, named after `name` (Windows-1252, made safe for a
  // file name) with the writer's extension; when the name is taken, " (2)",
  // " (3)" and so on are added before the extension.
  static Destination newFileIn(std::filesystem::path folder, std::string_view name);
  // Exactly `file`; if it exists it is left alone and the export fails with
  // ExportError(Exists).
  static Destination exactly(std::filesystem::path file);

  const std::filesystem::path& folder() const { return folder_; }
  bool isExact() const { return !exact_.empty(); }
  const std::filesystem::path& exactFile() const { return exact_; }
  const std::string& baseName() const { return base_; }  // UTF-8, made safe

 private:
  std::filesystem::path folder_;
  std::filesystem::path exact_;
  std::string base_;
};

// A Windows-1252 name as a UTF-8 file name: the characters that a file name
// cannot hold on the desktops the files travel to (\ / : * ? " < > | and
// control characters) become '_', blanks and dots at either end go, the
// name is cut to a length every file system takes, and an empty result
// becomes "Documento".
std::string safeFileName(std::string_view name);

// A file being written for a destination. The writer fills path(); publish()
// moves it to its final name. Destroyed unpublished (a failure, a cancel),
// it removes the temporary file.
class PendingFile {
 public:
  // Creates the temporary file; an unreachable folder is ExportError(Failed).
  PendingFile(Destination destination, std::string extension);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  const std::filesystem::path& path() const { return temp_; }
  // Flushes the file to the disk and gives it its name, atomically and
  // without replacing anything; returns the final path.
  std::filesystem::path publish();

 private:
  Destination destination_;
  std::string extension_;  // ".xlsx", ".docx"
  std::filesystem::path temp_;
  bool published_ = false;
};

}  // namespace zel
