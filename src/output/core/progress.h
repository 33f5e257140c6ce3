#pragma once
// What every export shares: the error it reports and the progress hooks a
// window uses to show how far it got and to stop it.
#include <atomic>
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>

namespace zel {

// Any failure of an export. The windows turn it into their failure message;
// a cancelled export is not a failure to report.
class ExportError : public std::runtime_error {
 public:
  enum class Reason {
    Cancelled,  // the user stopped it
    Exists,     // the file asked for is already there and is left alone
    Failed,     // folder not writable, disk full, library error, archive unreadable
  };
  ExportError(Reason reason, const std::string& what)
      : std::runtime_error(what), reason_(reason) {}
  Reason reason() const { return reason_; }

 private:
  Reason reason_;
};

// Optional hooks of a long export. `report` is called now and then with the
// rows done and the rows in all (the heading row counts as a row) and once
// at the end; `cancel`, when set, stops the export at the next row.
struct Progress {
  std::function<void(size_t done, size_t total)> report;
  const std::atomic<bool>* cancel = nullptr;

  // Called once per row: throws ExportError(Cancelled) when asked to stop,
  // reports every 256 rows and at the last one.
  void step(size_t done, size_t total) const;
};

}  // namespace zel
