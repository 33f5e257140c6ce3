#pragma once
// Waiting with a deadline, for the tests that wait on another thread or
// process: whatever keeps the awaited thing from happening fails the test
// with the test's own message instead of hanging it until CTest gives up.
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>

namespace zel::test {

// Long enough for a loaded machine and the sanitizer builds, short enough to
// fail within CTest's timeout of two minutes.
inline constexpr std::chrono::milliseconds kWaitDeadline = std::chrono::seconds(45);

// True once `condition()` holds; false when it still does not at `deadline`.
// Use: ASSERT_TRUE(waitUntil([&] { return ...; })) << "what never happened";
template <class Condition>
bool waitUntil(Condition&& condition, std::chrono::milliseconds deadline = kWaitDeadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return condition();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// The status of the child `pid` once it has ended, as waitpid() gives it.
// A child still running at `deadline` is killed and reaped, and nothing is
// returned; so is a child that cannot be waited for.
inline std::optional<int> waitChild(pid_t pid, std::chrono::milliseconds deadline = kWaitDeadline) {
  std::optional<int> status;
  bool gone = false;
  waitUntil(
      [&] {
        int s = 0;
        const pid_t r = ::waitpid(pid, &s, WNOHANG);
        if (r == pid) status = s;
        gone = r == pid || (r < 0 && errno != EINTR);
        return gone;
      },
      deadline);
  if (!gone) {
    ::kill(pid, SIGKILL);
    int s = 0;
    while (::waitpid(pid, &s, 0) < 0 && errno == EINTR) {
    }
  }
  return status;
}

}  // namespace zel::test
