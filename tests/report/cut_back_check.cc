// Run by the process tests under Wine: writes two lines into the report file through its
// handle, cuts the file back to the first, and exits 0 when every step did what it should.
#include <windows.h>

#include "report/report_file.h"
#include "report/report_handle.h"

namespace {

// Returns the size of the report file as Windows sees it by its name.
DWORD report_size() {
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  return GetFileAttributesExA(kReportFileName, GetFileExInfoStandard, &attributes)
             ? attributes.nFileSizeLow
             : 0;
}

}  // namespace

int main() {
  ReportHandle handle;
  if (handle.open(kReportFileName).outcome != ReportOpening::kLocked) {
    return 2;
  }
  constexpr DWORD kSize = sizeof "30=2*3*5\r\n42=2*3*7\r\n" - 1;
  if (handle.write_line("30=2*3*5").outcome != LineOutcome::kWritten ||
      handle.write_line("42=2*3*7").outcome != LineOutcome::kWritten) {
    return 3;
  }
  // Cutting to more than the file holds must leave it as it is, not fill it up.
  if (handle.cut_back(kSize + 10) != 0 || report_size() != kSize) {
    return 4;
  }
  return handle.cut_back(10) == 0 && handle.close() == 0 ? 0 : 5;
}
