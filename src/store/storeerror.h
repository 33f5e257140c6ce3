#pragma once
// The failures of the archive layer. The windows turn each kind into its own
// message; everything that is not one of the two particular kinds below is
// the one archive-access message.
#include <stdexcept>

namespace zel {

// Any failure to reach an archive.
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
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

}  // namespace zel
