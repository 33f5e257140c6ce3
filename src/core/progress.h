#pragma once
// The progress of long work (a search, a list, an export, a printout): how
// far it got, for a progress window, and a way for the user to stop it.
#include <atomic>
#include <cstddef>
#include <functional>
#include <stdexcept>

namespace zel {

// Thrown by Progress::step when the user asked the work to stop. Whoever
// started the work catches it and says nothing: stopping is no failure.
class Cancelled : public std::runtime_error {
 public:
  Cancelled() : std::runtime_error("stopped by the user") {}
};

// Optional hooks of long work. `report` is called now and then with the
// steps done and the steps in all (rows, records, lines) and once at the
// end; `cancel`, when set, stops the work at the next step.
struct Progress {
  std::function<void(size_t done, size_t total)> report;
  const std::atomic<bool>* cancel = nullptr;

  // Called once per step: throws Cancelled when asked to stop, reports every
  // 256 steps and at the last one.
  void step(size_t done, size_t total) const;
};

}  // namespace zel
