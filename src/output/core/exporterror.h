#pragma once
// The error every export reports. An export takes the progress hooks of
// core/progress.h besides, to show how far it got and to be stopped.
#include <stdexcept>
#include <string>

namespace zel {

// Any failure of an export. The windows turn it into their failure message;
// an export the user stopped throws Cancelled instead, which is no failure.
class ExportError : public std::runtime_error {
 public:
  enum class Reason {
    Exists,     // the file asked for is already there and is left alone
    Failed,     // folder not writable, disk full, library error, archive unreadable
  };
  ExportError(Reason reason, const std::string& what)
      : std::runtime_error(what), reason_(reason) {}
  Reason reason() const { return reason_; }

 private:
  Reason reason_;
};

}  // namespace zel
