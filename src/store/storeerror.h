#pragma once
// The failures of the archive layer. The windows turn each kind into its own
// message; everything that is not one of the particular kinds below is the
// one archive-access message.
#include <cerrno>
#include <stdexcept>
#include <string>

namespace zel {

// Any failure to reach an archive. A failure of the system carries its error
// number (0 when there is none), so that a full disk or a missing file can be
// told apart from the other failures.
class StoreError : public std::runtime_error {
 public:
  explicit StoreError(const std::string& what, int systemError = 0)
      : std::runtime_error(what), systemError_(systemError) {}
  explicit StoreError(const char* what, int systemError = 0)
      : std::runtime_error(what), systemError_(systemError) {}

  int systemError() const { return systemError_; }
  // The disk (or the user's quota on it) is full: freeing space will do.
  bool diskFull() const { return systemError_ == ENOSPC || systemError_ == EDQUOT; }

 private:
  int systemError_ = 0;
};

// Another instance (another desk on the same shared folder) kept the archive
// locked for longer than an action waits: nothing was done, trying again in
// a moment will do.
class StoreBusy : public StoreError {
 public:
  using StoreError::StoreError;
};

// The record a card showed is no longer the record at its number: another
// instance changed or deleted it (or deleted one before it) since the card
// read it. The save or delete was refused and nothing was written.
class CardChanged : public StoreError {
 public:
  using StoreError::StoreError;
};

// The supply file the sheet works on is gone (another desk deleted the
// supply). Only the create window makes a supply file, so nothing was
// created or written.
class SupplyGone : public StoreError {
 public:
  using StoreError::StoreError;
};

}  // namespace zel
