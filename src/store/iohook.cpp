#include "store/iohook.h"

#include <utility>

#include "store/storeerror.h"

namespace zel {
namespace {

thread_local IoHook currentHook;

const char* stepName(IoStep step) {
  switch (step) {
    case IoStep::Open: return "open";
    case IoStep::Lock: return "lock";
    case IoStep::Check: return "check";
    case IoStep::Read: return "read";
    case IoStep::Write: return "write";
    case IoStep::Sync: return "flush";
    case IoStep::Truncate: return "truncate";
    case IoStep::Chmod: return "chmod";
    case IoStep::Rename: return "rename";
    case IoStep::Remove: return "remove";
    case IoStep::SyncFolder: return "flush folder";
    case IoStep::Close: return "close";
  }
  return "step";
}

}  // namespace

ScopedIoHook::ScopedIoHook(IoHook hook) : previous_(std::exchange(currentHook, std::move(hook))) {}

ScopedIoHook::~ScopedIoHook() { currentHook = std::move(previous_); }

IoHook currentIoHook() { return currentHook; }

Fault ioStep(IoStep step) {
  if (!currentHook) return Fault::None;
  const Fault fault = currentHook(step);
  if (fault == Fault::None || (fault == Fault::Short && step == IoStep::Write) ||
      (fault == Fault::Refused && step == IoStep::Lock))
    return fault;
  const std::string what = std::string("injected failure: ") + stepName(step);
  if (step == IoStep::Lock) throw StoreBusy(what);
  throw StoreError(what);
}

}  // namespace zel
