#pragma once
// zelvano-cli verify FILE...: the record count and the damage of archive
// files, for backups and support.
#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace zel::cli {

// Reports each file as it reads it: its kind and number of records, every
// anomaly the moment it is found (a length byte above its field's capacity,
// a partial record at the end), then the count. Past `kListedAnomalies` in
// one file the anomalies are only counted, so a file damaged throughout
// costs no more memory than a sound one. Every file named is checked, even
// after one failed to open or to read. Returns 0 when every file is sound, 1
// otherwise; throws UsageError for wrong arguments.
int verifyCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                  std::ostream& err);

inline constexpr std::size_t kListedAnomalies = 1000;

// The paragraph of the usage text that describes the command.
std::string verifyUsageText();

}  // namespace zel::cli
