// Every write of the program, failed at each of its input/output steps in
// turn (the step fails, or a write stores half its bytes and fails), and
// interrupted at each step by the death of the process: the folder is then
// exactly as before or exactly as after a clean run, never in between, and a
// failure always reaches the caller, which shows the user its message.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "output/core/gridimport.h"
#include "store/archives.h"
#include "store/card.h"
#include "store/iohook.h"
#include "store/productrules.h"
#include "store/stockupdate.h"
#include "store/supplyfiles.h"
#include "support/files.h"
#include "support/records.h"
#include "support/tempfolder.h"
#include "support/wait.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// ---- what a folder holds ----

size_t recordSizeOf(const fs::path& file) {
  const std::string ext = file.extension().string();
  if (file.filename() == kClientArchive) return clientLayout().recordSize();
  if (file.filename() == kProductArchive) return productLayout().recordSize();
  return ext == kSupplyExtension ? supplyLayout().recordSize() : 0;
}

// Every entry under the folder by relative name: a file's mode and bytes, a
// link's target. An empty client or product archive is what a missing one
// is (the first step creates it). After a crash, a partial record at the end
// of an archive (never counted nor shown) and the temporary files of a
// deletion (replaced by the next one) are not part of what the user has.
using Snapshot = std::map<std::string, std::string>;

Snapshot snapshot(const fs::path& root, bool asAfterACrash = false) {
  Snapshot s;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const fs::path& p = it->path();
    const std::string name = p.lexically_relative(root).string();
    struct stat st {};
    ::lstat(p.c_str(), &st);
    if (S_ISLNK(st.st_mode)) {
      s[name] = "-> " + fs::read_symlink(p).string();
    } else if (S_ISDIR(st.st_mode)) {
      s[name] = "folder";
    } else {
      if (asAfterACrash && p.extension() == ".tmp") continue;
      std::vector<uint8_t> bytes = test::readBytes(p);
      const size_t size = recordSizeOf(p);
      if (asAfterACrash && size > 0) bytes.resize(bytes.size() / size * size);
      if (bytes.empty() && p.extension() == ".pro") continue;
      s[name] = std::to_string(st.st_mode & 07777) + ":" + std::string(bytes.begin(), bytes.end());
    }
  }
  return s;
}

std::string describe(const Snapshot& s) {
  std::string out;
  for (const auto& [name, content] : s) out += name + " (" + std::to_string(content.size()) + " bytes) ";
  return out;
}

// ---- the operations ----

Record client(const std::string& code) {
  Record r = test::clientCard(code);
  r[32] = code + std::string(200, 'z');  // the last field: a torn record shows at its end too
  return r;
}

void writeClients(const fs::path& file, int n) {
  auto f = RecordFile::openForUpdate(file, clientLayout());
  for (int i = 1; i <= n; ++i) f.append(client("C" + std::to_string(i)));
  f.close();
}

struct Operation {
  std::string name;
  std::function<void(const fs::path&)> setup;
  std::function<void(const fs::path&)> run;
  // What the next action does after a crash: open the archive again (for
  // writing, so an unfinished overwrite is undone).
  std::function<void(const fs::path&)> reopen = [](const fs::path&) {};
};

void PrintTo(const Operation& op, std::ostream* os) { *os << op.name; }  // readable test names

void reopenClients(const fs::path& folder) { readAllRecords(folder / kClientArchive, clientLayout()); }

std::vector<Operation> operations() {
  const Record shown2 = client("C2");
  return {
      {"FirstSaveCreatesTheArchive", [](const fs::path&) {},
       [](const fs::path& f) { saveCard(clientArchive(f), "", client("C1")); }, reopenClients},
      {"SaveAppends", [](const fs::path& f) { writeClients(f / kClientArchive, 3); },
       [](const fs::path& f) { saveCard(clientArchive(f), "", client("C4")); }, reopenClients},
      {"SaveOverwrites", [](const fs::path& f) { writeClients(f / kClientArchive, 3); },
       [shown2](const fs::path& f) { saveCard(clientArchive(f), "2", client("C2bis"), &shown2); }, reopenClients},
      {"DeleteByCopy", [](const fs::path& f) { writeClients(f / kClientArchive, 3); },
       [shown2](const fs::path& f) { deleteCard(clientArchive(f), "2", {}, &shown2); }, reopenClients},
      {"DeleteThroughALink",
       [](const fs::path& f) {
         fs::create_directory(f / "dati");
         writeClients(f / "dati" / kClientArchive, 3);
         fs::create_symlink(fs::path("dati") / kClientArchive, f / kClientArchive);
       },
       [shown2](const fs::path& f) { deleteCard(clientArchive(f), "2", {}, &shown2); }, reopenClients},
      {"StockUpdate",
       [](const fs::path& f) {
         auto file = RecordFile::openForUpdate(f / kProductArchive, productLayout());
         for (const char* code : {"P1", "P2"}) {
           Record r = emptyRecord(productLayout());
           r[product::Codice] = code;
           r[product::Giacenza] = "10";
           file.append(r);
         }
       },
       [](const fs::path& f) { takeFromStock(f / kProductArchive, 2, "4"); },
       [](const fs::path& f) { readAllRecords(f / kProductArchive, productLayout()); }},
      {"ImportAddsAndUpdates", [](const fs::path& f) { writeClients(f / kClientArchive, 3); },
       [](const fs::path& f) {
         ImportOptions update;
         update.update = true;
         importTable(clientGrid(), "Codice identificativo;Note\nC2;nuova nota\nC9;nuovo cliente\n",
                     f / kClientArchive, f / kClientTemp, update);
       },
       reopenClients},
      {"SupplyCreation", [](const fs::path&) {},
       [](const fs::path& f) { supplyfiles::createSupply(f, "Rossi marzo"); }},
      {"SupplyDeletion",
       [](const fs::path& f) {
         auto file = RecordFile::openForUpdate(f / "Rossi.for", supplyLayout());
         file.append(emptyRecord(supplyLayout()));
       },
       [](const fs::path& f) { supplyfiles::deleteSupply(f, "Rossi.for"); }},
  };
}

// ---- the runs ----

struct CleanRun {
  Snapshot before, after;
  std::vector<IoStep> steps;
};

CleanRun cleanRun(const Operation& op) {
  TempFolder dir;
  op.setup(dir.path());
  CleanRun r;
  r.before = snapshot(dir.path());
  {
    ScopedIoHook hook([&](IoStep s) {
      r.steps.push_back(s);
      return Fault::None;
    });
    op.run(dir.path());
  }
  r.after = snapshot(dir.path());
  return r;
}

// Runs the operation with `fault` at step k (1-based); true when it failed.
// A write cut short stands for a full disk, and must be told as one.
bool runWithFault(const Operation& op, const fs::path& folder, size_t k, Fault fault) {
  size_t at = 0;
  ScopedIoHook hook([&](IoStep) { return ++at == k ? fault : Fault::None; });
  try {
    op.run(folder);
  } catch (const StoreError& e) {
    if (fault == Fault::Short) {
      EXPECT_TRUE(e.diskFull()) << e.what();
    }
    return true;
  } catch (const SupplyFileError&) {
    return true;
  }
  return false;
}

// Runs the operation in a child process that dies at step k, before the step
// runs (or, with `tearFirst`, halfway through the write at step k).
void runUntilKilled(const Operation& op, const fs::path& folder, size_t k, bool tearFirst) {
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    size_t at = 0;
    ScopedIoHook hook([&](IoStep) {
      ++at;
      if (tearFirst && at == k) return Fault::Short;
      if (at == (tearFirst ? k + 1 : k)) ::_exit(0);
      return Fault::None;
    });
    try {
      op.run(folder);
    } catch (...) {
    }
    ::_exit(0);
  }
  ASSERT_TRUE(test::waitChild(pid)) << "the operation killed at step " << k << " did not end";
}

class EveryStep : public ::testing::TestWithParam<Operation> {};

TEST_P(EveryStep, AFailureLeavesTheFilesAsBeforeOrAsAfterAndIsReported) {
  const Operation& op = GetParam();
  const CleanRun clean = cleanRun(op);
  ASSERT_NE(clean.before, clean.after);
  ASSERT_GE(clean.steps.size(), 4u);
  for (size_t k = 1; k <= clean.steps.size(); ++k) {
    for (Fault fault : {Fault::Fail, Fault::Short}) {
      if (fault == Fault::Short && clean.steps[k - 1] != IoStep::Write) continue;
      SCOPED_TRACE("step " + std::to_string(k) + " of " + std::to_string(clean.steps.size()) +
                   (fault == Fault::Short ? ", a short write" : ", failing"));
      TempFolder dir;
      op.setup(dir.path());
      const bool failed = runWithFault(op, dir.path(), k, fault);
      const Snapshot now = snapshot(dir.path());
      if (failed) {
        EXPECT_TRUE(now == clean.before || now == clean.after) << describe(now);
      } else {
        EXPECT_EQ(now, clean.after) << "success was reported: " << describe(now);
      }
      // Nothing left behind (a temporary file, a journal, a lock) stands in
      // the way of trying again.
      if (now == clean.before) {
        EXPECT_NO_THROW(op.run(dir.path()));
        EXPECT_EQ(snapshot(dir.path()), clean.after);
      }
    }
  }
}

TEST_P(EveryStep, ACrashLeavesTheOldOrTheNewArchive) {
  const Operation& op = GetParam();
  const CleanRun clean = cleanRun(op);
  TempFolder reference;
  op.setup(reference.path());
  const Snapshot before = snapshot(reference.path(), true);
  op.run(reference.path());
  const Snapshot after = snapshot(reference.path(), true);
  for (size_t k = 1; k <= clean.steps.size() + 1; ++k) {
    for (bool tear : {false, true}) {
      if (tear && (k > clean.steps.size() || clean.steps[k - 1] != IoStep::Write)) continue;
      SCOPED_TRACE("killed at step " + std::to_string(k) + (tear ? " halfway through a write" : ""));
      TempFolder dir;
      op.setup(dir.path());
      runUntilKilled(op, dir.path(), k, tear);
      op.reopen(dir.path());
      const Snapshot now = snapshot(dir.path(), true);
      EXPECT_TRUE(now == before || now == after) << describe(now);
    }
  }
}

// A new file's name lasts only once its folder is flushed: before the first
// record is written into a new archive, before a new supply is reported made.
TEST(NewFiles, AreFlushedWithTheirFolder) {
  for (const Operation& op : operations()) {
    if (op.name != "FirstSaveCreatesTheArchive" && op.name != "SupplyCreation") continue;
    SCOPED_TRACE(op.name);
    const std::vector<IoStep> steps = cleanRun(op).steps;
    const auto flush = std::find(steps.begin(), steps.end(), IoStep::SyncFolder);
    ASSERT_NE(flush, steps.end());
    EXPECT_EQ(std::find(steps.begin(), flush, IoStep::Write), flush) << "written before the name lasts";
  }
}

INSTANTIATE_TEST_SUITE_P(Writes, EveryStep, ::testing::ValuesIn(operations()),
                         [](const ::testing::TestParamInfo<Operation>& info) { return info.param.name; });

}  // namespace
}  // namespace zel
