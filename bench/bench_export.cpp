// The three export windows, offscreen: the grid filled from the archive
// until its first screen is painted, and the grid exported to .xlsx and
// .docx as the window's commands do it (written, then handed to the
// desktop, which opens nothing here). The peak memory of an .xlsx export is
// measured in a child process (its maximum resident set, from wait4): the
// export window's, and zelvano-cli's, which streams the rows from the file.
#include <QListView>
#include <QTableView>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "benchui.h"
#include "clients/esportades.h"
#include "output/officeexport.h"
#include "products/esportamat.h"
#include "supplies/esportafor.h"
#include "supplies/forniture.h"

extern char** environ;

namespace zel::bench {
namespace {

namespace fs = std::filesystem;

const char* const kPeakChild = "--peak-child";
const char* const kMeasure = "--measure-peak";

// The window of a kind, with what it needs to find its archive.
std::unique_ptr<ExportWindow> exportWindow(Kind kind, const fs::path& folder, const fs::path& supply) {
  setProgramFolder(folder);
  switch (kind) {
    case Kind::Clients: return std::make_unique<TfrmEsportaDes>();
    case Kind::Products: return std::make_unique<TfrmEsportaMat>();
    case Kind::Supply: break;
  }
  static TfrmForniture* sheet = new TfrmForniture;
  sheet->openSupply(pathToQ(supply), QStringLiteral("Consegne 2026"));
  benchNavigation().set(WindowId::SupplySheet, sheet);
  return std::make_unique<TfrmEsportaFor>();
}

const ExportGrid& gridOf(Kind kind) {
  switch (kind) {
    case Kind::Clients: return clientGrid();
    case Kind::Products: return productGrid();
    case Kind::Supply: break;
  }
  return supplyGrid();
}

// The rows of a grid streamed from the file through the core, with no
// window: the scan that a grid's filling starts with.
Run gridRows(Kind kind) {
  return [kind](benchmark::State& state, const Archives& a) {
    size_t cells = 0;
    for (auto _ : state) {
      streamArchiveRows(gridOf(kind), a.file(kind), ArchiveAccess::ForUpdate,
                        [&cells](size_t, size_t, const std::vector<Text>& row) { cells += row.size(); });
    }
    benchmark::DoNotOptimize(cells);
    scans(state, a, kind);
  };
}

// Showing the window: the grid filled and its first screen painted.
Run gridFill(Kind kind) {
  return [kind](benchmark::State& state, const Archives& a) {
    const auto window = exportWindow(kind, a.folder(), a.supply());
    const auto* grid = window->findChild<QTableView*>(QStringLiteral("grdRecords"));
    a.file(kind);
    for (auto _ : state) {
      window->show();
      grid->viewport()->repaint();
      state.PauseTiming();
      if (grid->model()->rowCount() != static_cast<int>(a.records())) state.SkipWithError("rows missing");
      window->hide();
      settle();
      state.ResumeTiming();
    }
    scans(state, a, kind);
  };
}

// The grid on screen to a new document, as the Word or Excel command does.
Run exportTo(Kind kind, bool excel) {
  return [kind, excel](benchmark::State& state, const Archives& a) {
    const auto window = exportWindow(kind, a.folder(), a.supply());
    a.file(kind);
    window->show();
    settle();
    QTemporaryDir out;
    setExportFolder(qToPath(out.path()));
    for (auto _ : state) {
      if (excel) window->imgExcelMouseUp();
      else window->imgWordMouseUp();
      state.PauseTiming();
      if (fs::is_empty(qToPath(out.path()))) state.SkipWithError("nothing written");
      for (const auto& f : fs::directory_iterator(qToPath(out.path()))) {
        state.counters["file_MB"] = static_cast<double>(fs::file_size(f.path())) / 1e6;
        fs::remove(f.path());
      }
      state.ResumeTiming();
    }
    setExportFolder({});
    window->hide();
  };
}

// Runs a program to its end; its peak resident set in kilobytes, or 0. What
// the program prints is dropped: the standard output carries the figure.
long runAndMeasure(char** argv) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return 0;
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return 0;
  return usage.ru_maxrss;
}

// The peak resident set of a program, in bytes, or 0 when it failed. A
// process started from this one would inherit this one's peak (Linux keeps
// it across exec), so a small go-between of its own starts the program and
// reports the peak on its standard output.
double peakOf(std::vector<std::string> args) {
  std::vector<char*> argv{const_cast<char*>("/proc/self/exe"), const_cast<char*>(kMeasure)};
  for (std::string& s : args) argv.push_back(s.data());
  argv.push_back(nullptr);
  int out[2];
  if (pipe(out) != 0) return 0;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  long kilobytes = 0;
  if (FILE* reader = fdopen(out[0], "r")) {
    if (std::fscanf(reader, "%ld", &kilobytes) != 1) kilobytes = 0;
    std::fclose(reader);
  } else {
    close(out[0]);
  }
  int status = 0;
  if (failed == 0) waitpid(pid, &status, 0);
  return static_cast<double>(kilobytes) * 1024.0;
}

void reportPeak(benchmark::State& state, const Archives& a, double peak) {
  if (peak == 0) {
    state.SkipWithError("the export failed");
    return;
  }
  const double archive = static_cast<double>(fs::file_size(a.clients()));
  state.counters["peak_MB"] = peak / 1e6;
  state.counters["archive_MB"] = archive / 1e6;
  state.counters["peak_per_archive"] = peak / archive;
}

// The client export window's Excel command, in a child of its own.
void peakWindow(benchmark::State& state, const Archives& a) {
  a.clients();
  double peak = 0;
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  for (auto _ : state) peak = peakOf({self, kPeakChild, a.folder().string()});
  reportPeak(state, a, peak);
}

// zelvano-cli export clienti --xlsx, streaming from the file.
void peakTool(benchmark::State& state, const Archives& a) {
  a.clients();
  QTemporaryDir out;
  const std::string file = (qToPath(out.path()) / "clienti.xlsx").string();
  double peak = 0;
  for (auto _ : state) {
    fs::remove(file);
    peak = peakOf({ZELVANO_CLI, "export", "clienti", "--folder", a.folder().string(), "--xlsx", file});
  }
  reportPeak(state, a, peak);
}

// The child: the client export window shows the archive of `folder` and
// exports it to Excel, as a user does; nothing else runs in the process.
int peakChild(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  applyNumberConventions();
  test::BenchServices services;
  QTemporaryDir out;
  setExportFolder(qToPath(out.path()));
  setProgramFolder(argv[2]);
  TfrmEsportaDes window;
  window.show();
  settle();
  window.imgExcelMouseUp();
  const bool written = !fs::is_empty(qToPath(out.path()));
  setExportFolder({});
  return written ? 0 : 1;
}

void registerAll() {
  for (Kind kind : {Kind::Clients, Kind::Products, Kind::Supply}) {
    const std::string k = kindName(kind);
    atEverySize("ExportRows/" + k, gridRows(kind));
    atEverySize("ExportGrid/" + k, gridFill(kind));
    atEverySize("ExportXlsx/" + k, exportTo(kind, true));
    atEverySize("ExportDocx/" + k, exportTo(kind, false));
  }
  // One child process each: its own peak, measured once.
  for (size_t n : sizes()) {
    for (const auto& [name, run] : {std::pair<const char*, Run>{"ExportPeakMemory/xlsx-window/", peakWindow},
                                    std::pair<const char*, Run>{"ExportPeakMemory/xlsx-cli/", peakTool}}) {
      benchmark::RegisterBenchmark((name + std::to_string(n)).c_str(),
                                   [run = run, n](benchmark::State& state) { run(state, archivesOf(n)); })
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->Iterations(1);
    }
  }
  registerRawReads({Kind::Clients, Kind::Products, Kind::Supply});
}

}  // namespace
}  // namespace zel::bench

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], zel::bench::kPeakChild) == 0) return zel::bench::peakChild(argc, argv);
  if (argc >= 3 && std::strcmp(argv[1], zel::bench::kMeasure) == 0) {
    std::printf("%ld\n", zel::bench::runAndMeasure(argv + 2));
    return 0;
  }
  return zel::bench::runWindowBenchmarks(argc, argv, zel::bench::registerAll);
}
