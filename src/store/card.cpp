#include "store/card.h"

#include "core/text.h"

namespace zel {

void tellSupplyGone(const StoreError& error, const std::filesystem::path& supplyFile) {
  if (error.systemError() == ENOENT)
    throw SupplyGone("the supply " + supplyFile.string() + " no longer exists", ENOENT);
}

RecordFile openCardArchive(const CardArchive& archive, Lock lock) {
  if (archive.createWhenMissing) return RecordFile::openForUpdate(archive.file, *archive.layout, lock);
  try {
    return RecordFile::openExisting(archive.file, *archive.layout, lock);
  } catch (const StoreError& e) {
    tellSupplyGone(e, archive.file);
    throw;
  }
}

std::optional<size_t> labelNumber(std::string_view label) {
  const Text t = trim(label);
  if (t.empty()) return std::nullopt;
  if (!isDigitsOnly(t) || t.size() > 9) throw StoreError("invalid record number '" + t + "'");
  return static_cast<size_t>(std::stoul(t));
}

namespace {

NavOutcome show(const RecordFile& file, size_t k) {
  NavOutcome out;
  out.kind = NavOutcome::Kind::Show;
  out.recordNumber = k;
  out.record = file.read(k);
  return out;
}

NavOutcome emptyArchive(bool clearLabel) {
  NavOutcome out;
  out.kind = NavOutcome::Kind::EmptyArchive;
  out.clearLabel = clearLabel;
  return out;
}

}  // namespace

NavOutcome navigate(const CardArchive& archive, NavStep step, std::string_view label) {
  const std::optional<size_t> p = labelNumber(label);
  // Previous on record 1 does nothing, before the archive is even opened.
  if (step == NavStep::Previous && p == size_t{1}) return {};
  auto file = openCardArchive(archive, Lock::Shared);
  const size_t n = file.count();
  NavOutcome out;
  switch (step) {
    case NavStep::First:
      out = n == 0 ? emptyArchive(false) : show(file, 1);
      break;
    case NavStep::Previous:
      if (n == 0) out = emptyArchive(false);
      else out = show(file, p ? *p - 1 : 1);
      break;
    case NavStep::Next: {
      const size_t current = p.value_or(0);
      if (n == 0) out = emptyArchive(true);
      else if (current < n) out = show(file, current + 1);
      break;
    }
    case NavStep::Last:
      out = n == 0 ? emptyArchive(false) : show(file, n);
      break;
  }
  file.close();
  return out;
}

SaveOutcome saveCard(const CardArchive& archive, std::string_view label, const Record& record,
                     const Record* shown) {
  const std::optional<size_t> k = labelNumber(label);
  auto file = openCardArchive(archive, Lock::Exclusive);
  SaveOutcome out;
  if (k) {
    // Checked under the exclusive lock, so nobody changes it in between.
    if (shown && !file.holds(*k, *shown))
      throw CardChanged("record " + std::to_string(*k) + " of " + archive.file.string() +
                        " is no longer the one shown");
    file.commitOverwrite(*k, record);
    out.recordNumber = *k;
  } else {
    out.recordNumber = file.commitAppend(record);
    out.appended = true;
  }
  file.close();
  return out;
}

void deleteCard(const CardArchive& archive, std::string_view label,
                const std::function<void(DeleteStep)>& checkpoint, const Record* shown) {
  const std::optional<size_t> k = labelNumber(label);
  if (!k) throw StoreError("no record to delete");
  try {
    deleteRecordByCopy(archive.file, archive.tempFile, *archive.layout, *k, checkpoint, shown);
  } catch (const StoreError& e) {
    // A missing client archive is the access failure it always was.
    if (!archive.createWhenMissing) tellSupplyGone(e, archive.file);
    throw;
  }
}

Record readCard(const CardArchive& archive, size_t k) {
  auto file = openCardArchive(archive, Lock::Shared);
  Record r = file.read(k);
  file.close();
  return r;
}

}  // namespace zel
