// A listing's file cut into ranges of whole records, read on several threads
// at once: every cut gives exactly the lines, the order, the partial result
// and the failure that one pass in file order gives.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "store/archivescan.h"
#include "store/clientsearch.h"
#include "store/fileview.h"
#include "store/iohook.h"
#include "store/productsearch.h"
#include "store/supplysearch.h"
#include "support/files.h"
#include "support/tempfolder.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// Cuts every listing of the test into `parts` ranges, however small the file.
class SplitScans {
 public:
  explicit SplitScans(size_t parts) : previous_(setScanSplit({parts, 1})) {}
  ~SplitScans() { setScanSplit(previous_); }

 private:
  ScanSplit previous_;
};

// Listings look at their files through views always, or never.
class ForcedViews {
 public:
  explicit ForcedViews(ViewUse use) : previous_(setViewUse(use)) {}
  ~ForcedViews() { setViewUse(previous_); }

 private:
  ViewUse previous_;
};

template <class Fill>
void writeRecords(const fs::path& file, const Layout& layout, size_t n, const Fill& fill) {
  auto f = RecordFile::createEmpty(file, layout);
  for (size_t i = 1; i <= n; ++i) {
    Record r = emptyRecord(layout);
    fill(i, r);
    f.append(r);
  }
  f.close();
}

void appendBytes(const fs::path& file, size_t n) {
  std::vector<uint8_t> bytes = test::readBytes(file);
  bytes.insert(bytes.end(), n, 'x');
  test::writeBytes(file, bytes);
}

TEST(SplitRecords, ConsecutiveRangesOfWholeRecordsAlmostEqual) {
  EXPECT_TRUE(splitRecords(0, 2).empty());
  const auto one = splitRecords(1, 4);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].first, 1u);
  EXPECT_EQ(one[0].last, 1u);
  for (size_t records : {2, 5, 7, 600})
    for (size_t parts : {1, 2, 3, 8}) {
      SCOPED_TRACE(std::to_string(records) + " in " + std::to_string(parts));
      const auto ranges = splitRecords(records, parts);
      ASSERT_EQ(ranges.size(), std::min(records, parts));
      size_t next = 1, smallest = records, largest = 0;
      for (const RecordRange& r : ranges) {
        EXPECT_EQ(r.first, next);
        ASSERT_GE(r.last, r.first);
        smallest = std::min(smallest, r.last - r.first + 1);
        largest = std::max(largest, r.last - r.first + 1);
        next = r.last + 1;
      }
      EXPECT_EQ(next, records + 1);
      EXPECT_LE(largest - smallest, 1u);
    }
}

// Which range saw which record, and whether the ranges kept file order.
struct Seen {
  std::mutex guard;
  std::map<size_t, size_t> partOf;  // record -> range
  std::vector<size_t> last;         // the last record each range saw
  bool inOrder = true;
};

std::vector<ScanPart> scanAll(const fs::path& file, Seen& seen, const Progress& progress = {}) {
  PartedScan scan;
  scan.prepare = [&](size_t parts) { seen.last.assign(parts, 0); };
  scan.visit = [&](size_t part, size_t k, const uint8_t*) {
    std::lock_guard<std::mutex> lock(seen.guard);
    seen.inOrder = seen.inOrder && k > seen.last[part];
    seen.last[part] = k;
    seen.partOf[k] = part;
  };
  return scanInParts(file, clientLayout(), Access::Update, progress, scan);
}

TEST(ScanInParts, EveryWholeRecordOnceAtTheBoundariesOfTheRanges) {
  TempFolder dir;
  const fs::path file = dir / "Anagrafica.pro";
  const SplitScans split(3);
  for (size_t n : {0, 1, 2, 3, 7}) {
    SCOPED_TRACE(n);
    writeRecords(file, clientLayout(), n, [](size_t i, Record& r) { r[0] = std::to_string(i); });
    appendBytes(file, 100);  // a partial record at the end is never visited
    Seen seen;
    const std::vector<ScanPart> parts = scanAll(file, seen);
    EXPECT_EQ(parts.size(), std::min<size_t>(n, 3));
    EXPECT_EQ(seen.partOf.size(), n);
    EXPECT_TRUE(seen.inOrder);
    for (size_t p = 0; p < parts.size(); ++p) {
      EXPECT_FALSE(parts[p].failure);
      for (size_t k = parts[p].range.first; k <= parts[p].range.last; ++k) EXPECT_EQ(seen.partOf[k], p) << k;
    }
  }
}

TEST(ScanInParts, TheProgressCountsEveryRangeOnTheCallingThreadAndTheStopReachesAll) {
  TempFolder dir;
  const fs::path file = dir / "Anagrafica.pro";
  writeRecords(file, clientLayout(), 1200, [](size_t i, Record& r) { r[0] = std::to_string(i); });
  const SplitScans split(2);
  const std::thread::id caller = std::this_thread::get_id();
  std::atomic<bool> stop{false};
  Progress progress;
  progress.cancel = &stop;
  std::pair<size_t, size_t> last;
  bool elsewhere = false;
  progress.report = [&](size_t done, size_t total) {
    elsewhere = elsewhere || std::this_thread::get_id() != caller;
    last = {done, total};
  };
  Seen seen;
  scanAll(file, seen, progress);
  EXPECT_FALSE(elsewhere);
  EXPECT_EQ(last, std::make_pair(size_t{1200}, size_t{1200}));

  stop = true;
  Seen stopped;
  EXPECT_THROW(rethrowFirstFailure(scanAll(file, stopped, progress)), Cancelled);
  EXPECT_TRUE(stopped.partOf.empty());
  EXPECT_THROW(searchClients(file, {}, Access::Update, progress), Cancelled);
}

// The listings over one archive, cut into 1 to 4 ranges: the same lines.
TEST(SplitListings, EveryCutGivesTheListOfOnePass) {
  TempFolder dir;
  const fs::path clients = dir / "Anagrafica.pro";
  // Lines that tie but for letter case, lines that are equal, one a prefix
  // of another, accented letters: the merge must order them as one sort does.
  const std::vector<std::string> persons = {"rossi", "Rossi", "ROSSI", "rossi", "ross", "\xE0lfa", "Alfa",
                                            "alfa", "b", "B", "rossi mario", "Zeta", "", "rossi"};
  writeRecords(clients, clientLayout(), 29, [&](size_t i, Record& r) {
    r[client::Codice] = i % 3 ? "C" : "c";
    r[client::Persona] = persons[i % persons.size()];
    r[client::Citta] = std::to_string(i % 4);
  });
  const fs::path supply = dir / "Marzo.for";
  writeRecords(supply, supplyLayout(), 23, [](size_t i, Record& r) {
    r[supply::Data] = (i % 2 ? "0" : "1") + std::to_string(i % 9) + "/03/2026";
    r[supply::Prodotto] = "Vite " + std::to_string(i % 5);
    r[supply::Importo] = std::to_string(i) + ",5" + std::to_string(i % 10);
    r[supply::Pagamento] = i % 3 ? "In sospeso" : "Saldato";
  });
  const fs::path products = dir / "Materiali.pro";
  writeRecords(products, productLayout(), 17, [](size_t i, Record& r) {
    r[product::Codice] = i % 2 ? "a" : "A";
    r[product::Giacenza] = std::to_string(i % 6);
    r[product::Sottoscorta] = "3";
  });

  auto everything = [&] {
    std::vector<std::vector<Text>> all = {
        searchClients(clients, {}).toVector(),
        searchClients(clients, {{client::Persona, "ross"}}).toVector(),
        searchSupply(supply, {}).toVector(),
        pendingItems(supply).lines.toVector(),
        {pendingItems(supply).total(), supplysheet::listItems(supply).total()},
        supplysheet::listItems(supply).lines.toVector(),
        underStockList(products).lines.toVector(),
        importList(products).lines.toVector(),
        searchProducts(products, {{product::Codice, "a"}}).toVector()};
    return all;
  };
  const ForcedViews reads(ViewUse::Never);
  const auto onePass = everything();
  EXPECT_EQ(onePass[0].size(), 29u);
  for (ViewUse use : {ViewUse::Never, ViewUse::Always}) {
    const ForcedViews forced(use);
    for (size_t parts : {1, 2, 3, 4}) {
      SCOPED_TRACE(testing::Message() << parts << " ranges, views " << (use == ViewUse::Always));
      const SplitScans split(parts);
      EXPECT_EQ(everything(), onePass);
    }
  }
}

// Another program shortens the file while a listing looks at it through a
// view: the pages it lost read as missing, not as a bus error that ends the
// program, and the listing reports the file as shorter, as its reads would.
TEST(SplitListings, AFileShortenedUnderAViewIsReportedAndEndsNothing) {
  TempFolder dir;
  const fs::path supply = dir / "Marzo.for";
  writeRecords(supply, supplyLayout(), 1500, [](size_t i, Record& r) {
    r[supply::Prodotto] = "Vite " + std::to_string(i);
    r[supply::Importo] = std::to_string(i) + ",00";
  });
  const supplysheet::ItemList whole = [&] {
    const ForcedViews reads(ViewUse::Never);
    return supplysheet::listItems(supply);
  }();
  {
    // The second range starts a megabyte past a 2 MiB boundary of the file.
    const ForcedViews views(ViewUse::Always);
    const SplitScans split(2);
    EXPECT_EQ(supplysheet::listItems(supply).lines.toVector(), whole.lines.toVector());
  }
  for (size_t parts : {1, 2}) {
    SCOPED_TRACE(parts);
    const ForcedViews views(ViewUse::Always);
    const SplitScans split(parts);
    const fs::path file = dir / ("copia" + std::to_string(parts) + ".for");
    fs::copy_file(supply, file);
    Progress progress;
    bool shortened = false;
    progress.report = [&](size_t, size_t) {
      if (!shortened) fs::resize_file(file, 10 * supplyLayout().recordSize());
      shortened = true;
    };
    const auto items = supplysheet::listItems(file, supplysheet::Items::All, Access::ReadOnly, progress);
    ASSERT_TRUE(shortened);
    EXPECT_FALSE(items.complete);
    EXPECT_NE(items.problem.find("the file ends before the record"), std::string::npos) << items.problem;
    // The records before the loss are listed as they are; the one being
    // looked at in that very moment may have been read as zeros.
    EXPECT_GE(items.lines.size(), 10u);
    EXPECT_LT(items.lines.size(), 1500u);
    for (size_t i = 0; i + 1 < items.lines.size(); ++i) EXPECT_EQ(items.lines[i], whole.lines[i]) << i;
  }
}

// The program's handling of bus errors is for its views only: one elsewhere
// still ends the program (rather than being retried for ever), and where
// another handler has taken the signal since, no view is made.
TEST(SplitListings, BusErrorsOutsideTheViewsAreLeftAlone) {
  TempFolder dir;
  const fs::path supply = dir / "Marzo.for";
  writeRecords(supply, supplyLayout(), 1500, [](size_t i, Record& r) { r[supply::Importo] = std::to_string(i); });
  const ForcedViews views(ViewUse::Always);
  ASSERT_TRUE(supplysheet::listItems(supply).complete);  // the handler is in place from here on

  const fs::path lost = dir / "perso";
  test::writeBytes(lost, std::vector<uint8_t>(100, 'x'));
  EXPECT_DEATH(
      {
        const int fd = ::open(lost.c_str(), O_RDONLY);
        auto* page = static_cast<volatile uint8_t*>(::mmap(nullptr, 8192, PROT_READ, MAP_SHARED, fd, 0));
        (void)page[4096];  // past the end of the file: a bus error no view holds
      },
      "");

  struct sigaction plain {}, previous {};
  plain.sa_handler = SIG_DFL;
  ASSERT_EQ(::sigaction(SIGBUS, &plain, &previous), 0);
  const fs::path file = dir / "copia.for";
  fs::copy_file(supply, file);
  Progress progress;
  progress.report = [&](size_t, size_t) { fs::resize_file(file, 10 * supplyLayout().recordSize()); };
  const auto items = supplysheet::listItems(file, supplysheet::Items::All, Access::ReadOnly, progress);
  ::sigaction(SIGBUS, &previous, nullptr);
  EXPECT_EQ(items.problem.find("cannot read"), 0u) << items.problem;
}

// A listing that stops at a bad record keeps the lines of the records before
// it in file order, whichever range they lie in, and none after it.
TEST(SplitListings, AStopKeepsWhatCameBeforeItInFileOrder) {
  TempFolder dir;
  const fs::path products = dir / "Materiali.pro";
  const fs::path supply = dir / "Marzo.for";
  for (size_t bad : {2, 6, 11}) {
    SCOPED_TRACE(bad);
    writeRecords(products, productLayout(), 12, [&](size_t i, Record& r) {
      r[product::Codice] = std::to_string(i);
      r[product::Giacenza] = i == bad ? "tre" : "1";
      r[product::Sottoscorta] = "2";
    });
    writeRecords(supply, supplyLayout(), 12, [&](size_t i, Record& r) {
      r[supply::Prodotto] = std::to_string(i);
      r[supply::Importo] = i == bad ? "?" : "1,25";
      r[supply::Pagamento] = "In sospeso";
    });
    const PartialListing one = underStockList(products);
    const supplysheet::ItemList items = pendingItems(supply);
    EXPECT_EQ(one.lines.size(), bad - 1);
    EXPECT_EQ(items.lines.size(), bad);  // the bad item's line, not its amount
    for (size_t parts : {2, 3}) {
      const SplitScans split(parts);
      const PartialListing cut = underStockList(products);
      EXPECT_EQ(cut.lines.toVector(), one.lines.toVector());
      EXPECT_EQ(cut.problem, one.problem);
      const supplysheet::ItemList cutItems = pendingItems(supply);
      EXPECT_EQ(cutItems.lines.toVector(), items.lines.toVector());
      EXPECT_EQ(cutItems.total(), items.total());
      EXPECT_FALSE(cutItems.complete);
    }
  }
}

// A read that fails on another thread reaches the caller as the StoreError
// it is; the test's hook sees the steps of every thread.
TEST(SplitListings, AReadFailingOnAnyThreadReachesTheCaller) {
  TempFolder dir;
  const fs::path clients = dir / "Anagrafica.pro";
  writeRecords(clients, clientLayout(), 8, [](size_t i, Record& r) { r[0] = std::to_string(i); });
  const fs::path supply = dir / "Marzo.for";
  writeRecords(supply, supplyLayout(), 8, [](size_t, Record& r) {
    r[supply::Pagamento] = "In sospeso";
    r[supply::Importo] = "1,00";
  });
  const SplitScans split(4);
  std::atomic<int> reads{0};
  {
    ScopedIoHook hook([&](IoStep s) {
      if (s == IoStep::Read) ++reads;
      return Fault::None;
    });
    EXPECT_EQ(searchClients(clients, {}).size(), 8u);
  }
  EXPECT_EQ(reads.load(), 4);  // one block per range
  for (int failing = 1; failing <= 4; ++failing) {
    SCOPED_TRACE(failing);
    int at = 0;
    ScopedIoHook hook([&](IoStep s) { return s == IoStep::Read && ++at == failing ? Fault::Fail : Fault::None; });
    try {
      searchClients(clients, {});
      ADD_FAILURE() << "no failure";
    } catch (const StoreError& e) {
      EXPECT_EQ(std::string(e.what()), "injected failure: read");
    }
    // A list keeps what it has and says why it stopped.
    at = 0;
    const supplysheet::ItemList items = pendingItems(supply);
    EXPECT_FALSE(items.complete);
    EXPECT_EQ(items.problem, "injected failure: read");
  }
}

TEST(TextListParts, JoinedKeepsTheOrderMergedSortsAsOneSort) {
  const std::vector<TextList> parts = {{"alfa", "B", "rossi", "rossi"}, {}, {"ALFA", "Alfa", "b", "ross", "\xE0"},
                                       {"alfa", "alfa2"}};
  TextList all;
  for (const TextList& p : parts)
    for (std::string_view t : p) all.push_back(t);
  EXPECT_EQ(TextList::joined(parts).toVector(), all.toVector());
  all.sortFolded();
  EXPECT_EQ(TextList::mergedFolded(parts).toVector(), all.toVector());
  EXPECT_TRUE(TextList::mergedFolded({}).empty());
}

// Long parts, the same lines and lines equal but for case in several of
// them: still the one sort; and the merged and joined lists, which keep the
// parts' buffers, take more lines like any other.
TEST(TextListParts, LongPartsMergeAsOneSort) {
  std::mt19937 rng(11);
  std::vector<TextList> parts(3);
  TextList all;
  for (int i = 0; i < 40000; ++i) {
    const int n = std::uniform_int_distribution<int>(0, 4999)(rng);
    const Text line = (n % 2 ? "Cod. id. CL" : "Cod. id. cl") + std::to_string(n) + Text(n % 7, ' ') + "x";
    parts[static_cast<size_t>(i % 3 == 2 ? 2 : i % 2)].push_back(line);
    all.push_back(line);
  }
  for (TextList& p : parts) p.sortFolded();
  all.sortFolded();
  TextList merged = TextList::mergedFolded(parts);
  ASSERT_EQ(merged.toVector(), all.toVector());
  merged.push_back("after");
  EXPECT_EQ(merged[merged.size() - 1], "after");
  EXPECT_EQ(merged[0], all[0]);
  TextList joined = TextList::joined(std::move(parts));
  joined.push_back("after");
  EXPECT_EQ(joined.size(), all.size() + 1);
  EXPECT_EQ(joined[joined.size() - 1], "after");
}

// The order of a plain sort by the list rule, to set a list's own sort against.
std::vector<Text> plainlySorted(std::vector<Text> lines) {
  std::stable_sort(lines.begin(), lines.end(), [](const Text& a, const Text& b) { return lessFolded(a, b); });
  return lines;
}

// A long merge is cut where the longest part's lines fall at even steps:
// parts of uneven length (one empty), lines repeated across parts and
// equal but for case, bounds that are all the same line (empty slices)
// and a part wholly past every bound.
TEST(TextListParts, AMergeCutIntoSlicesIsStillOneSort) {
  std::mt19937 rng(5);
  const std::vector<Text> words = {"rossi", "ROSSI", "Rossi", "bianchi", "verdi", "zz"};
  auto lineOf = [&](int spread) {
    const auto w = std::uniform_int_distribution<size_t>(0, words.size() - 1)(rng);
    return words[w] + " " + std::to_string(std::uniform_int_distribution<int>(0, spread)(rng));
  };
  for (int spread : {0, 50, 100000}) {
    std::vector<TextList> parts(4);
    std::vector<Text> all;
    const size_t sizes[] = {0, 3000, 20000, 9000};
    for (size_t p = 0; p < parts.size(); ++p)
      for (size_t i = 0; i < sizes[p]; ++i) {
        const Text line = p == 3 && spread > 0 ? "~" + lineOf(spread) : lineOf(spread);
        parts[p].push_back(line);
        all.push_back(line);
      }
    for (TextList& part : parts) part.sortFolded();
    EXPECT_EQ(TextList::mergedFolded(std::move(parts)).toVector(), plainlySorted(all)) << "spread " << spread;
  }
}

// A list past the size where its buffers come in large blocks, grown a line
// at a time: the order of a plain sort by the list rule.
TEST(TextListParts, AListInLargeBlocksSortsAsAPlainSort) {
  std::mt19937 rng(5);
  TextList list;
  std::vector<Text> plain;
  for (int i = 0; i < 80000; ++i) {
    const int n = std::uniform_int_distribution<int>(0, 99999)(rng);
    Text line = "Riga " + std::to_string(n % 977) + Text(n % 13, ' ') + (n % 3 ? "ROSSI " : "rossi ") + std::to_string(n);
    list.push_back(line);
    plain.push_back(std::move(line));
  }
  list.shrinkToFit();
  list.sortFolded();
  EXPECT_EQ(list.toVector(), plainlySorted(plain));
}

// A line written in place reads as the same builder's Text, whether it fits
// the room a line takes up front, outgrows it, or starts a new buffer.
template <class Out>
void writeLine(Out& out, int n) {
  out.clear();
  out += "Riga ";
  appendPadded(out, std::to_string(n), 8);
  out += ' ';
  const size_t start = out.size();
  out.append(static_cast<size_t>(n % 5 == 0 ? 1500 + n % 2000 : n % 40), n % 2 ? 'x' : 'y');
  appendPadded(out, "fine", out.size() - start > 30 ? 2 : 10);
}

TEST(TextListParts, LinesWrittenInPlaceReadAsTheirText) {
  TextList list;
  std::vector<Text> plain;
  for (int n = 0; n < 20000; ++n) {
    list.emplace([n](TextList::Line& line) { writeLine(line, n); });
    writeLine(plain.emplace_back(), n);
    if (n == 7) list.push_back(plain.emplace_back("pushed"));
  }
  EXPECT_EQ(list.toVector(), plain);
  list.clear();
  list.emplace([](TextList::Line& line) { writeLine(line, 5); });
  Text five;
  writeLine(five, 5);
  EXPECT_EQ(list.toVector(), std::vector<Text>{five});
}

// Lines of the bytes around the letters (and past 0x7F, where nothing folds)
// sort as a plain sort by the list rule, whichever eight of them a key takes.
TEST(TextListParts, TheBytesAroundTheLettersSortAsAPlainSort) {
  const std::string alphabet = std::string("@AZ[`az{ 0") + "\x80\xC1\xDA\xE1\xFF";
  std::mt19937 rng(3);
  TextList list;
  std::vector<Text> plain;
  for (int i = 0; i < 30000; ++i) {
    Text line(std::uniform_int_distribution<size_t>(0, 20)(rng), ' ');
    for (char& c : line) c = alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(rng)];
    list.push_back(line);
    plain.push_back(line);
  }
  list.sortFolded();
  EXPECT_EQ(list.toVector(), plainlySorted(plain));
}

// Large groups of lines whose keys differ in one, two, three or five bytes
// (codes of a few digits, then a case or a length that differs further on).
TEST(TextListParts, LinesThatDifferInFewBytesSortAsAPlainSort) {
  std::mt19937 rng(9);
  for (int width : {1, 2, 3, 5}) {
    SCOPED_TRACE(width);
    TextList list;
    std::vector<Text> plain;
    for (int i = 0; i < 5000; ++i) {
      Text line = "Codice ";
      for (int d = 0; d < width; ++d) line += static_cast<char>('0' + std::uniform_int_distribution<int>(0, 9)(rng));
      line += Text("        ").substr(0, static_cast<size_t>(8 - width)) + "  " +
              (std::uniform_int_distribution<int>(0, 2)(rng) == 0 ? "Rossi" : "rossi");
      if (i % 7 == 0) line.resize(17);  // ends after the code's column
      list.push_back(line);
      plain.push_back(line);
    }
    list.sortFolded();
    EXPECT_EQ(list.toVector(), plainlySorted(plain));
  }
}

}  // namespace
}  // namespace zel
