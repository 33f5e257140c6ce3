#pragma once
// The two libraries the exports write with, each loaded the first time an
// export needs it. A process that never exports (the command-line tool's
// searches and checks, which scripts run again and again) starts without
// them, about a millisecond sooner; a desk where one is missing learns it
// from the export that needs it, not by a program that will not start.
#include <xlsxwriter.h>
#include <zip.h>

namespace zel {

// The functions the exports call, each by its own name and type.
#define ZEL_XLSX_FUNCTIONS(F)                                                                   \
  F(workbook_new_opt) F(workbook_add_worksheet) F(workbook_add_format) F(format_set_num_format) \
  F(format_set_bold) F(worksheet_write_string) F(worksheet_set_column)                         \
  F(worksheet_set_selection) F(workbook_close) F(lxw_workbook_free) F(lxw_strerror)
#define ZEL_ZIP_FUNCTIONS(F)                                                                    \
  F(zip_open) F(zip_error_init_with_code) F(zip_error_strerror) F(zip_error_fini) F(zip_discard) \
  F(zip_source_buffer) F(zip_source_filep) F(zip_register_cancel_callback_with_state)           \
  F(zip_close) F(zip_error_code_zip) F(zip_get_error) F(zip_file_add) F(zip_source_free)        \
  F(zip_set_file_compression) F(zip_strerror)
#define ZEL_LIBRARY_FUNCTION(name) decltype(&::name) name = nullptr;

struct XlsxLibrary {
  ZEL_XLSX_FUNCTIONS(ZEL_LIBRARY_FUNCTION)
};
struct ZipLibrary {
  ZEL_ZIP_FUNCTIONS(ZEL_LIBRARY_FUNCTION)
};

#undef ZEL_LIBRARY_FUNCTION

// The library, loaded on the first call. Throws ExportError (Failed),
// naming the library and the system's reason, when it cannot be loaded;
// the next call tries again.
const XlsxLibrary& xlsxLibrary();
const ZipLibrary& zipLibrary();

}  // namespace zel
