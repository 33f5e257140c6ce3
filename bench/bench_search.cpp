// Every search and list through the core, at every size, each beside the raw
// read of its file in the same run: the client, product and supply
// searches (with no criterion, so every record is listed, and with a
// typical criterion), the under-stock list, the product import's list, the
// supply sheet's item list with its total, the pending payments, and the
// pick that finds a chosen line's record again (a full pass as well); and
// the two floors under them all: the listing's own read of the file on
// every core with nothing done with the records, and a bare read of equal
// shares of the file on every core; and, for comparison, the same shares
// looked at through a view of the file instead of read.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "benchdata.h"
#include "store/archivescan.h"
#include "store/clientsearch.h"
#include "store/productsearch.h"
#include "store/supplysearch.h"

namespace zel::bench {
namespace {

template <class List>
void listed(benchmark::State& state, const List& lines) {
  state.counters["listed"] = static_cast<double>(lines.size());
}

Run clientSearch(Criteria criteria) {
  return [criteria](benchmark::State& state, const Archives& a) {
    TextList lines;
    for (auto _ : state) lines = searchClients(a.clients(), criteria);
    listed(state, lines);
    scans(state, a, Kind::Clients);
  };
}

Run productSearch(Criteria criteria) {
  return [criteria](benchmark::State& state, const Archives& a) {
    TextList lines;
    for (auto _ : state) lines = searchProducts(a.products(), criteria);
    listed(state, lines);
    scans(state, a, Kind::Products);
  };
}

Run supplySearch(Criteria criteria) {
  return [criteria](benchmark::State& state, const Archives& a) {
    TextList lines;
    for (auto _ : state) lines = searchSupply(a.supply(), criteria);
    listed(state, lines);
    scans(state, a, Kind::Supply);
  };
}

// The whole supply listed again and again with a pause before each, as a
// user clicks in a window that keeps the list it shows until the next one is
// made. A virtual machine's host takes back memory left free for a few
// seconds, and a listing that then writes fresh memory waits for it.
void supplySearchAfterPause(benchmark::State& state, const Archives& a) {
  TextList lines;
  for (auto _ : state) {
    state.PauseTiming();
    std::this_thread::sleep_for(std::chrono::seconds(3));
    state.ResumeTiming();
    lines = searchSupply(a.supply(), {});
  }
  listed(state, lines);
  scans(state, a, Kind::Supply);
}

void underStock(benchmark::State& state, const Archives& a) {
  PartialListing list;
  for (auto _ : state) list = underStockList(a.products());
  if (!list.complete()) state.SkipWithError("listing stopped");
  listed(state, list.lines);
  scans(state, a, Kind::Products);
}

void productImport(benchmark::State& state, const Archives& a) {
  PartialListing list;
  for (auto _ : state) list = importList(a.products());
  if (!list.complete()) state.SkipWithError("listing stopped");
  listed(state, list.lines);
  scans(state, a, Kind::Products);
}

void itemList(benchmark::State& state, const Archives& a) {
  supplysheet::ItemList list;
  for (auto _ : state) {
    list = supplysheet::listItems(a.supply());
    benchmark::DoNotOptimize(list.total());
  }
  if (!list.complete) state.SkipWithError("listing stopped");
  listed(state, list.lines);
  scans(state, a, Kind::Supply);
}

void pending(benchmark::State& state, const Archives& a) {
  supplysheet::ItemList list;
  for (auto _ : state) {
    list = pendingItems(a.supply());
    benchmark::DoNotOptimize(list.total());
  }
  if (!list.complete) state.SkipWithError("listing stopped");
  listed(state, list.lines);
  scans(state, a, Kind::Supply);
}

// The double click on the last line of an unsorted list: every record is
// read and its line built again.
void pickClientLine(benchmark::State& state, const Archives& a) {
  const Text line = clientLine(client(a.records()));
  for (auto _ : state) {
    const auto found = pickClient(a.clients(), line);
    if (!found) state.SkipWithError("not found");
  }
  scans(state, a, Kind::Clients);
}

void pickItemLine(benchmark::State& state, const Archives& a) {
  const Text line = itemLine(supplyItem(a.records()));
  for (auto _ : state) {
    const auto found = supplysheet::findRecordOfLine(a.supply(), line);
    if (!found) state.SkipWithError("not found");
  }
  scans(state, a, Kind::Supply);
}

// The frame of the floors: the file opened once, `share(fd, i, cores)`
// run for every core at once in each iteration.
template <class Share>
void onEveryCore(benchmark::State& state, const Archives& a, Kind kind, const Share& share) {
  const std::filesystem::path& file = a.file(kind);
  const size_t cores = std::max(1u, std::thread::hardware_concurrency());
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return state.SkipWithError("cannot open");
  for (auto _ : state) {
    std::vector<std::thread> others;
    for (size_t i = 1; i < cores; ++i) others.emplace_back([&, i] { share(fd, i, cores); });
    share(fd, 0, cores);
    for (std::thread& t : others) t.join();
  }
  ::close(fd);
  scans(state, a, kind);
}

// The least any listing that reads its file can take here: the file's
// shares read at once on every core, a block of 256 KiB at a time (the
// listing's), nothing done with the bytes.
Run readFloor(Kind kind) {
  return [kind](benchmark::State& state, const Archives& a) {
    const size_t bytes = std::filesystem::file_size(a.file(kind));
    onEveryCore(state, a, kind, [bytes](int fd, size_t i, size_t cores) {
      std::vector<char> block(size_t{256} << 10);
      for (size_t at = bytes * i / cores, end = bytes * (i + 1) / cores; at < end;) {
        const ssize_t got = ::pread(fd, block.data(), std::min(block.size(), end - at), static_cast<off_t>(at));
        if (got <= 0) break;
        at += static_cast<size_t>(got);
      }
    });
  };
}

// The same shares looked at through a view of the file (a mapping) rather
// than copied out of it, one byte of every record touched, the next records'
// first bytes fetched ahead: what a listing that looked at its records in
// place could not go below. Its cost depends on how the kernel holds the
// file (pages of 4 KiB or larger pieces), which no program chooses: compare
// it with ReadFloor in the same run.
Run viewFloor(Kind kind, const Layout& layout) {
  return [kind, &layout](benchmark::State& state, const Archives& a) {
    const size_t size = layout.recordSize();
    const size_t records = std::filesystem::file_size(a.file(kind)) / size;
    const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    onEveryCore(state, a, kind, [=](int fd, size_t i, size_t cores) {
      const size_t first = records * i / cores, end = records * (i + 1) / cores;
      if (first == end) return;
      const size_t from = first * size / page * page;
      const size_t length = end * size - from;
      void* map = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, fd, static_cast<off_t>(from));
      if (map == MAP_FAILED) return;
      const auto* bytes = static_cast<const uint8_t*>(map) - from;
      uint8_t seen = 0;
      for (size_t k = first; k < end; ++k) {
        if (k + 4 < end) __builtin_prefetch(bytes + (k + 4) * size);
        seen ^= bytes[k * size];
      }
      benchmark::DoNotOptimize(seen);
      ::munmap(map, length);
    });
  };
}

// What every listing pays before it looks at a record: its own split read
// of the file, under its lock, each record handed to a visit that does
// nothing with it.
Run scanFloor(Kind kind, const Layout& layout) {
  return [kind, &layout](benchmark::State& state, const Archives& a) {
    PartedScan scan;
    scan.visit = [](size_t, size_t, const uint8_t* bytes) { benchmark::DoNotOptimize(bytes); };
    for (auto _ : state) rethrowFirstFailure(scanInParts(a.file(kind), layout, Access::ReadOnly, {}, scan));
    scans(state, a, kind);
  };
}

void registerAll() {
  atEverySize("ReadFloor/clients", readFloor(Kind::Clients));
  atEverySize("ReadFloor/supply", readFloor(Kind::Supply));
  atEverySize("ViewFloor/clients", viewFloor(Kind::Clients, clientLayout()));
  atEverySize("ViewFloor/supply", viewFloor(Kind::Supply, supplyLayout()));
  atEverySize("ScanFloor/clients", scanFloor(Kind::Clients, clientLayout()));
  atEverySize("ScanFloor/supply", scanFloor(Kind::Supply, supplyLayout()));
  atEverySize("ClientSearch/all", clientSearch({}));
  atEverySize("ClientSearch/persona", clientSearch({{client::Persona, "ross"}}));
  atEverySize("ClientSearch/two-criteria", clientSearch({{client::Persona, "a"}, {client::Citta, "(mi)"}}));
  atEverySize("ClientPick/last", pickClientLine);
  atEverySize("ProductSearch/all", productSearch({}));
  atEverySize("ProductSearch/descrizione", productSearch({{product::Descrizione, "vite"}}));
  atEverySize("UnderStockList", underStock);
  atEverySize("ProductImportList", productImport);
  atEverySize("SupplySearch/all", supplySearch({}));
  atEverySize("SupplySearch/cliente", supplySearch({{supply::Cliente, "rossi"}}));
  // Three seconds a round: at the largest size of the run only, a few rounds.
  atSizes("SupplySearch/all-after-pause", {sizes().back()}, supplySearchAfterPause, benchmark::kMillisecond, 6);
  atEverySize("SupplyItemList", itemList);
  atEverySize("PendingList", pending);
  atEverySize("SupplyPick/last", pickItemLine);
  registerRawReads({Kind::Clients, Kind::Products, Kind::Supply});
}

}  // namespace
}  // namespace zel::bench

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv, zel::bench::registerAll); }
