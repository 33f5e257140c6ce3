#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/verify_cmd.h"
#include "store/archivescan.h"
#include "store/layout.h"
#include "store/recordfile.h"
#include "support/clirun.h"
#include "support/tempfolder.h"
#include "support/wait.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZEL_TEST_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEL_TEST_UNDER_ASAN 1
#endif
#endif

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::runCli;
using test::TempFolder;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream s(text);
  for (std::string l; std::getline(s, l);) out.push_back(l);
  return out;
}

// `records` records of nothing but 0xFF bytes: every field whose capacity is
// below 255 has a length byte above it.
void writeDamaged(const fs::path& file, const Layout& layout, size_t records) {
  std::ofstream out(file, std::ios::binary);
  const std::string block(layout.recordSize() * 256, '\xFF');
  for (size_t done = 0; done < records; done += 256)
    out.write(block.data(), static_cast<std::streamsize>(layout.recordSize() * std::min<size_t>(256, records - done)));
  ASSERT_TRUE(out.good());
}

size_t fieldsBelow255(const Layout& layout) {
  return static_cast<size_t>(std::count_if(layout.fields().begin(), layout.fields().end(),
                                           [](const FieldDef& f) { return f.capacity < 255; }));
}

// The peak resident memory of this process since the last reset, in kB.
long peakKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

bool resetPeak() { return static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5"); }

TEST(Verify, ListsTheFirstAnomaliesAndCountsTheRestInBoundedMemory) {
  TempFolder dir;
  const Layout& layout = supplyLayout();
  const fs::path file = dir / "rotta.for";
  const size_t records = 40000;  // 164 MB, over a million anomalies
  writeDamaged(file, layout, records);
  const fs::path sound = dir / "sana.for";
  writeDamaged(sound, layout, 0);

  const bool canMeasure = resetPeak();
  const long before = peakKb();
  const auto r = runCli({"verify", file.string(), sound.string()});
  const long grown = peakKb() - before;

  EXPECT_EQ(r.code, 1);
  const auto out = lines(r.out);
  const size_t total = records * fieldsBelow255(layout);
  ASSERT_EQ(out.size(), cli::kListedAnomalies + 4) << r.out.substr(0, 500);
  EXPECT_EQ(out[0], file.string() + ": fornitura, 40000 records");
  EXPECT_EQ(out[1].rfind("  record 1, field ", 0), 0u);
  EXPECT_EQ(out[cli::kListedAnomalies + 1], "  ... further anomalies are counted, not listed");
  EXPECT_EQ(out[cli::kListedAnomalies + 2],
            file.string() + ": " + std::to_string(total) + " anomalies, the first 1000 listed");
  // The next file is still checked.
  EXPECT_EQ(out.back(), sound.string() + ": fornitura, 0 records, no anomalies");
#ifndef ZEL_TEST_UNDER_ASAN  // its quarantine keeps freed memory resident
  if (canMeasure) {
    EXPECT_LT(grown, 48 * 1024) << "kB of peak memory grown while verifying";
  }
#endif
}

TEST(Verify, NamesAndMessagesCannotSplitALine) {
  EXPECT_EQ(cli::printable("a\nb\rc\td"), "a\\nb\\rc\\td");
  EXPECT_EQ(cli::printable(std::string("\x1B[2J\x7F\0z", 7)), "\\x1B[2J\\x7F\\x00z");
  EXPECT_EQ(cli::printable("C:\\dati"), "C:\\\\dati");  // the escapes stay unambiguous
  // UTF-8 letters stay; stray Windows-1252 bytes and C1 controls do not.
  EXPECT_EQ(cli::printable("Societ\xC3\xA0 Societ\xE0 \xC2\x85"), "Societ\xC3\xA0 Societ\\xE0 \\xC2\\x85");
  EXPECT_EQ(cli::printable("\xE2\x82"), "\\xE2\\x82");  // cut short

  TempFolder dir;
  const fs::path odd = dir / "due\nrighe\x1B.for";
  writeDamaged(odd, supplyLayout(), 0);
  std::ofstream(odd, std::ios::app) << "coda";
  const std::string shown = cli::printable(odd.string());
  ASSERT_EQ(shown.find('\n'), std::string::npos);

  auto r = runCli({"verify", odd.string(), (dir / "manca\n.for").string()});
  EXPECT_EQ(r.code, 1);
  const auto out = lines(r.out);
  ASSERT_EQ(out.size(), 4u) << r.out;
  EXPECT_EQ(out[0], shown + ": fornitura, 0 records");
  EXPECT_EQ(out[2], shown + ": 1 anomaly");
  EXPECT_EQ(out[3].rfind(cli::printable((dir / "manca\n.for").string()) + ": cannot be read: ", 0), 0u);

  r = runCli({"dump", odd.string()});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(lines(r.err), (std::vector<std::string>{"zelvano-cli: " + shown +
                                                    ": partial record of 4 bytes at the end, not shown"}));
  r = runCli({"dump", (dir / "manca\n.for").string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(lines(r.err).size(), 1u) << r.err;
}

TEST(Verify, AFileShortenedWhileReadSaysSo) {
  TempFolder dir;
  const Layout& layout = supplyLayout();
  const fs::path file = dir / "corta.for";
  writeDamaged(file, layout, 600);  // more than one block of reading
  size_t visited = 0;
  try {
    scanArchive(file, layout, {}, [&](size_t k, const uint8_t*) {
      if (k == 1) fs::resize_file(file, 10 * layout.recordSize());
      visited = k;
    });
    FAIL() << "a shortened file read as whole";
  } catch (const StoreError& e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("ended at byte 41060"), std::string::npos) << what;
    EXPECT_NE(what.find("records from " + std::to_string(visited + 1) + " on were not read"), std::string::npos)
        << what;
    EXPECT_EQ(what.find("Success"), std::string::npos) << what;
  }
  EXPECT_GT(visited, 0u);
  EXPECT_LT(visited, 600u);
}

// A record whose every field is filled to its capacity, the length byte
// included.
std::string fullRecord(const Layout& layout) {
  std::string bytes(layout.recordSize(), '\0');
  for (size_t i = 0; i < layout.fieldCount(); ++i) {
    const size_t cap = static_cast<size_t>(layout.field(i).capacity);
    bytes[layout.offset(i)] = static_cast<char>(cap);
    bytes.replace(layout.offset(i) + 1, cap, cap, 'x');
  }
  return bytes;
}

struct ArchiveKind {
  const char* fileName;
  const Layout& (*layout)();
};

void PrintTo(const ArchiveKind& kind, std::ostream* os) { *os << kind.fileName; }

class VerifyAtCapacity : public ::testing::TestWithParam<ArchiveKind> {};

// The boundary of every field: a length byte equal to the capacity is sound,
// one more is damage, reported with its record and field.
TEST_P(VerifyAtCapacity, AFullFieldIsSoundAndOneByteMoreIsReported) {
  const Layout& layout = GetParam().layout();
  TempFolder dir;
  const fs::path file = dir / GetParam().fileName;
  const std::string full = fullRecord(layout);
  std::ofstream(file, std::ios::binary) << full;

  auto r = runCli({"verify", file.string()});
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(r.out, file.string() + ": " + layout.name() + ", 1 record, no anomalies\n");

  // After the full record, one record per field with that field one over.
  std::ofstream out(file, std::ios::binary | std::ios::app);
  std::vector<std::string> expected;
  size_t k = 1;
  for (size_t i = 0; i < layout.fieldCount(); ++i) {
    const int cap = layout.field(i).capacity;
    if (cap >= 255) continue;  // no length byte is above it
    std::string record = full;
    record[layout.offset(i)] = static_cast<char>(cap + 1);
    out << record;
    expected.push_back("  record " + std::to_string(++k) + ", field " + layout.field(i).name + ": length byte " +
                       std::to_string(cap + 1) + " above capacity " + std::to_string(cap));
  }
  out.close();
  ASSERT_GT(expected.size(), 10u);

  r = runCli({"verify", file.string()});
  EXPECT_EQ(r.code, 1);
  auto shown = lines(r.out);
  ASSERT_EQ(shown.size(), expected.size() + 2) << r.out;
  EXPECT_EQ(shown.front(), file.string() + ": " + layout.name() + ", " + std::to_string(k) + " records");
  EXPECT_EQ(shown.back(), file.string() + ": " + std::to_string(expected.size()) + " anomalies");
  EXPECT_EQ(std::vector<std::string>(shown.begin() + 1, shown.end() - 1), expected);
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, VerifyAtCapacity,
                         ::testing::Values(ArchiveKind{"Anagrafica.pro", clientLayout},
                                           ArchiveKind{"Materiali.pro", productLayout},
                                           ArchiveKind{"Cantiere.for", supplyLayout}),
                         [](const auto& info) { return std::string(info.param.layout().name()); });

// A FIFO would block the open until a writer comes: it is refused at once.
TEST(Verify, AFifoIsReportedAtOnce) {
  TempFolder dir;
  const fs::path fifo = dir / "tubo.for";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const fs::path report = dir / "report.txt";
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const auto r = runCli({"verify", fifo.string()});
    std::ofstream(report) << r.out;
    ::_exit(r.code);
  }
  const std::optional<int> status = test::waitChild(child, std::chrono::seconds(5));
  ASSERT_TRUE(status) << "verify still waits on a FIFO after 5 seconds";
  ASSERT_TRUE(WIFEXITED(*status));
  EXPECT_EQ(WEXITSTATUS(*status), 1);
  std::ifstream in(report);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line.rfind(fifo.string() + ": cannot be read: ", 0), 0u) << line;
}

}  // namespace
}  // namespace zel
