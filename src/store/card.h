#pragma once
// What a card window does with its archive, without the window: save, the
// four navigation steps and delete by copy. The window hands in the text of
// its position label and its record; it gets back what to show and which
// message to give. Every failure to reach the archive is a StoreError:
// StoreBusy when another instance keeps it locked, CardChanged when the
// record the card showed is no longer at its number.
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "store/layout.h"
#include "store/recordfile.h"

namespace zel {

struct CardArchive {
  std::filesystem::path file;      // the record file
  const Layout* layout;            // its record layout
  std::filesystem::path tempFile;  // the temporary file of a deletion
  // The two archives are created by the first save or navigation step; a
  // supply file only by the create window, so its card fails with
  // SupplyGone when it is missing, creating nothing.
  bool createWhenMissing = true;
};

// Opens the card's archive for one action: for update, or, for a supply
// file, as an existing file (SupplyGone when it is missing).
RecordFile openCardArchive(const CardArchive& archive, Lock lock);
// Throws SupplyGone when `error` says that the supply file is missing, so
// that the window says so instead of the access message.
void tellSupplyGone(const StoreError& error, const std::filesystem::path& supplyFile);

// The record number held by a position label: empty (after trimming) means a
// new card. A label that is not a number is a StoreError.
std::optional<size_t> labelNumber(std::string_view label);

enum class NavStep { First, Previous, Next, Last };

struct NavOutcome {
  enum class Kind {
    Unchanged,     // an edge step: nothing changes, nothing is said
    Show,          // show `record` as number `recordNumber`
    EmptyArchive,  // say "the archive holds no card"; the card keeps its contents
  };
  Kind kind = Kind::Unchanged;
  size_t recordNumber = 0;
  Record record;
  bool clearLabel = false;  // with EmptyArchive: the position label is emptied
};

// One navigation step. The archive is opened for update, so a missing one is
// created empty.
NavOutcome navigate(const CardArchive& archive, NavStep step, std::string_view label);

struct SaveOutcome {
  size_t recordNumber = 0;
  bool appended = false;  // true: a new card was inserted; false: overwritten
};

// Overwrites the record the label names, or appends when the label is empty;
// the record is on the disk when this returns. `shown` is the record as the
// card loaded it (or last saved it): another instance may have changed it,
// or deleted a record before it so that the label now names the next one,
// and then the save is refused with CardChanged and nothing is written.
SaveOutcome saveCard(const CardArchive& archive, std::string_view label, const Record& record,
                     const Record* shown = nullptr);

// Record k, read in one action (a search window's double click).
Record readCard(const CardArchive& archive, size_t k);

// Deletes the record the label names (the label must not be empty); with
// `shown`, only while the archive still holds it there (CardChanged).
void deleteCard(const CardArchive& archive, std::string_view label,
                const std::function<void(DeleteStep)>& checkpoint = {}, const Record* shown = nullptr);

}  // namespace zel
