// Start-up to the login window, in a fresh process each time (as the user
// starts the program): the program's own time from main() to the login
// window painted, on the offscreen platform. The child reports that time
// and its CPU time so far (loading the libraries included); the parent
// also measures the whole process, from its start to its end.
#include <QApplication>
#include <QWidget>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/forms.h"
#include "app/password.h"
#include "app/startup.h"
#include "benchdata.h"
#include "ui/base/flow.h"

extern char** environ;

namespace zel::bench {
namespace {

const char* const kChild = "--startup-child";

using Clock = std::chrono::steady_clock;

double cpuSeconds(const rusage& u) {
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// What runZelvano does up to the message loop, then the first paint.
int child(int argc, char** argv) {
  const Clock::time_point start = Clock::now();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ZelvanoApplication app(argc, argv);
  prepareProgram();
  ProgramFlow programFlow;
  setFlow(&programFlow);
  startUp();
  QWidget* login = forms().frmPassword;
  QCoreApplication::processEvents();
  login->repaint();
  const double own = std::chrono::duration<double>(Clock::now() - start).count();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%.6f %.6f %d\n", own, cpuSeconds(usage), login->isVisible() ? 1 : 0);
  std::fflush(stdout);
  destroyForms();
  setFlow(nullptr);
  return 0;
}

void startup(benchmark::State& state) {
  double wallSum = 0, cpuSum = 0;
  for (auto _ : state) {
    int out[2];
    if (pipe(out) != 0) {
      state.SkipWithError("no pipe");
      break;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char self[] = "/proc/self/exe";
    char flag[32];
    std::snprintf(flag, sizeof flag, "%s", kChild);
    char* argv[] = {self, flag, nullptr};
    const Clock::time_point spawned = Clock::now();
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, self, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    FILE* reader = fdopen(out[0], "r");
    double own = 0, cpu = 0;
    int shown = 0;
    const bool read = reader && std::fscanf(reader, "%lf %lf %d", &own, &cpu, &shown) == 3;
    if (reader) std::fclose(reader);
    int status = 0;
    if (failed == 0) waitpid(pid, &status, 0);
    const double wall = std::chrono::duration<double>(Clock::now() - spawned).count();
    if (failed != 0 || !read || !shown || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the program did not start");
      break;
    }
    state.SetIterationTime(own);
    wallSum += wall;
    cpuSum += cpu;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["process_ms"] = wallSum / n * 1e3;
  state.counters["cpu_to_login_ms"] = cpuSum / n * 1e3;
}

void registerAll() {
  benchmark::RegisterBenchmark("Startup/login-window", startup)
      ->Unit(benchmark::kMillisecond)
      ->UseManualTime()
      ->Iterations(5);
}

}  // namespace
}  // namespace zel::bench

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], zel::bench::kChild) == 0) return zel::bench::child(argc, argv);
  return zel::bench::runBenchmarks(argc, argv, zel::bench::registerAll);
}
