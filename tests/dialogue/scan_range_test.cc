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
        // Above 2^31 and near 2^32, where the trial divisors reach far up.
        ScanCase{2147494622, 2147494641,
                 "2147494627=19*317*356549\n2147494631=29*541*136879\n2147494634=2*1583*678299\n"
                 "2147494637=691*1051*2957\n2147494641=3*457*1566371\n"},
        ScanCase{4294957660, 4294957678,
                 "4294957661=53*1087*74551\n4294957669=37*431*269327\n4294957673=17*3137*80537\n"
                 "4294957677=3*12073*118583\n"},
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
