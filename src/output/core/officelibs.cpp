#include "output/core/officelibs.h"

#include <dlfcn.h>

#include <string>

#include "output/core/exporterror.h"

namespace zel {
namespace {

// Opens the library by the name it was built against and takes every
// function of the table from it.
template <class Table, class Fill>
Table load(const char* soname, const Fill& fill) {
  void* library = ::dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* why = ::dlerror();
    throw ExportError(ExportError::Reason::Failed,
                      std::string("cannot load ") + soname + ": " + (why ? why : "unknown reason"));
  }
  Table table;
  const char* missing = fill(table, library);
  if (missing != nullptr) {
    ::dlclose(library);
    throw ExportError(ExportError::Reason::Failed,
                      std::string("cannot load ") + soname + ": it has no " + missing);
  }
  return table;  // the library stays loaded for the rest of the process
}

#define ZEL_TAKE_FUNCTION(name)                                                    \
  table.name = reinterpret_cast<decltype(table.name)>(::dlsym(library, #name)); \
  if (table.name == nullptr) return #name;

XlsxLibrary loadXlsx() {
  return load<XlsxLibrary>(ZEL_XLSXWRITER_SONAME, [](XlsxLibrary& table, void* library) -> const char* {
    ZEL_XLSX_FUNCTIONS(ZEL_TAKE_FUNCTION)
    return nullptr;
  });
}

ZipLibrary loadZip() {
  return load<ZipLibrary>(ZEL_ZIP_SONAME, [](ZipLibrary& table, void* library) -> const char* {
    ZEL_ZIP_FUNCTIONS(ZEL_TAKE_FUNCTION)
    return nullptr;
  });
}

#undef ZEL_TAKE_FUNCTION

}  // namespace

// Loaded once, by whichever thread asks first; a load that throws leaves
// the table unmade, and the next call tries again.
const XlsxLibrary& xlsxLibrary() {
  static const XlsxLibrary table = loadXlsx();
  return table;
}

const ZipLibrary& zipLibrary() {
  static const ZipLibrary table = loadZip();
  return table;
}

}  // namespace zel
