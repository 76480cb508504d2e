// Tests of scan_range: which numbers of a range are reported, where, and that it ends.
#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>

#include "dialogue/dialogue.h"

namespace {

struct ScanCase {
  Number lower;
  Number upper;
  const char* expected;
};

class ScanRange : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanRange, WritesTheSameLinesToConsoleAndReport) {
  std::ostringstream console;
  std::stringbuf report_lines;
  std::ostringstream errors;
  ReportFile report(report_lines, errors);
  scan_range(GetParam().lower, GetParam().upper, console, report);
  EXPECT_EQ(console.str(), GetParam().expected);
  EXPECT_EQ(report_lines.str(), GetParam().expected);
  EXPECT_EQ(errors.str(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScanRange,
    ::testing::Values(
        ScanCase{1, 100, "30=2*3*5\n42=2*3*7\n66=2*3*11\n70=2*5*7\n78=2*3*13\n"},
        ScanCase{30, 30, "30=2*3*5\n"}, ScanCase{78, 78, "78=2*3*13\n"}, ScanCase{31, 41, ""},
        ScanCase{0, 1, ""}, ScanCase{100, 1, ""}, ScanCase{4294967295, 0, ""},
        // The scan must stop after the largest Number instead of wrapping around to 0.
        ScanCase{4294967295, 4294967295, ""}));

// A stream buffer that takes nothing, like a full disk.
struct RefusingBuffer : std::streambuf {};

TEST(ScanRange, SaysTheFileBrokeOffRightBeforeTheFirstLineMissingThere) {
  RefusingBuffer refusing;
  std::ostringstream console_and_errors;
  ReportFile report(refusing, console_and_errors);
  scan_range(30, 42, console_and_errors, report);
  EXPECT_EQ(console_and_errors.str(),
            "Fehler: Die Datei sphenischezahlen.txt kann nicht weiter geschrieben werden. Ab hier"
            " fehlen die Zeilen in der Datei.\n30=2*3*5\n42=2*3*7\n");
}

}  // namespace
