#include "cli/verify_cmd.h"

#include <exception>
#include <new>
#include <optional>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "store/archivescan.h"
#include "store/recordfile.h"

namespace zel::cli {
namespace {

const char kUsage[] =
    "  verify [--kind KIND] FILE...\n"
    "      Reports for each FILE its number of records and every anomaly as it\n"
    "      is found: a length byte above its field's capacity (with record and\n"
    "      field), a partial record at the end (with its size in bytes) and the\n"
    "      journal of an interrupted save that could not be applied; then the\n"
    "      number of anomalies. Only the first 1000 anomalies of a file are\n"
    "      listed, the others counted. File names are printed with control\n"
    "      characters and bytes that are not UTF-8 escaped (\\n, \\xHH).\n";

std::string plural(size_t n, const char* one, const char* many) {
  return std::to_string(n) + (n == 1 ? one : many);
}

// The report of one file, written as the file is read.
class FileReport {
 public:
  FileReport(std::ostream& out, const std::string& file) : out_(out), name_(printable(file)) {}

  void opened(const Layout& layout, size_t records) {
    heading_ = name_ + ": " + layout.name() + ", " + plural(records, " record", " records");
  }

  // `describe` gives the anomaly's line; past the listed ones it is not even
  // asked, so a file damaged throughout is counted at the speed of reading.
  template <class Describe>
  void anomaly(Describe describe) {
    if (found_ == 0) out_ << heading_ << '\n';
    ++found_;
    if (found_ <= kListedAnomalies) out_ << "  " << describe() << '\n';
    else if (found_ == kListedAnomalies + 1) out_ << "  ... further anomalies are counted, not listed\n";
  }

  // Ends the report; returns the number of anomalies.
  size_t finish() {
    if (found_ == 0) {
      out_ << heading_ << ", no anomalies\n";
    } else {
      out_ << name_ << ": " << plural(found_, " anomaly", " anomalies");
      if (found_ > kListedAnomalies) out_ << ", the first " << kListedAnomalies << " listed";
      out_ << '\n';
    }
    return found_;
  }

  void failed(const std::string& why) { out_ << name_ << ": cannot be read: " << printable(why) << '\n'; }

 private:
  std::ostream& out_;
  std::string name_;
  std::string heading_;
  size_t found_ = 0;
};

// Checks one file; returns true when it is sound.
bool verifyFile(const std::string& file, const Layout& layout, std::ostream& out) {
  FileReport report(out, file);
  try {
    const std::optional<std::string> pending = settleBeforeReading(file, layout);
    auto opened = [&](const ArchiveScan& found) {
      report.opened(layout, found.records);
      if (pending)
        report.anomaly([&] { return "a save interrupted there was not undone: " + printable(*pending); });
    };
    const ArchiveScan scan = scanArchive(file, layout, opened, [&](size_t k, const uint8_t* bytes) {
      for (size_t i : oversizedFields(layout, bytes)) {
        report.anomaly([&] {
          return "record " + std::to_string(k) + ", field " + layout.field(i).name + ": length byte " +
                 std::to_string(bytes[layout.offset(i)]) + " above capacity " +
                 std::to_string(layout.field(i).capacity);
        });
      }
    });
    if (scan.partialBytes > 0) {
      report.anomaly([&] {
        return "partial record of " + std::to_string(scan.partialBytes) + " bytes at the end (not counted)";
      });
    }
    return report.finish() == 0;
  } catch (const StoreError& e) {
    report.failed(e.what());
  } catch (const std::bad_alloc&) {
    report.failed("out of memory");
  } catch (const std::exception& e) {
    report.failed(e.what());
  }
  return false;
}

}  // namespace

std::string verifyUsageText() { return kUsage; }

int verifyCommand(const std::vector<std::string>& args, std::istream&, std::ostream& out, std::ostream&) {
  const FileArgs parsed = parseFileArgs(args);
  if (parsed.files.empty()) throw UsageError{"verify needs at least one file"};
  // Every kind is settled before any file is read.
  std::vector<const Layout*> layouts;
  for (const std::string& f : parsed.files) layouts.push_back(&layoutFor(f, parsed.kind));

  bool allSound = true;
  for (size_t i = 0; i < parsed.files.size(); ++i) {
    if (!verifyFile(parsed.files[i], *layouts[i], out)) allSound = false;
    out.flush();
  }
  return allSound ? kExitOk : kExitFailed;
}

}  // namespace zel::cli
