// Run by the process tests under Wine: writes two lines into the report file through its
// handle, cuts the file back to the first, and exits 0 when every step said it worked.
#include "dialogue/report_file.h"
#include "dialogue/report_handle.h"

int main() {
  ReportHandle handle;
  if (handle.open(kReportFileName) != ReportOpening::kLocked) {
    return 2;
  }
  static const char kLines[] = "30=2*3*5\r\n42=2*3*7\r\n";
  // Cutting to more than the file holds must leave it as it is.
  const bool cut = handle.write(kLines, sizeof kLines - 1) && handle.cut_back(sizeof kLines) &&
                   handle.cut_back(10);
  return cut && handle.close() ? 0 : 3;
}
