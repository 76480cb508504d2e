// Tests of the report file's handle on the platform it is built for (on Windows under Wine).
#include "report/report_handle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// Returns the bytes of the file named name.
std::string contents(const char* name) {
  std::ifstream file(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(ReportHandle, CutsBackToTheFirstBytesAndNeverLengthens) {
  const char* const name = "report_handle_test.txt";
  const std::string lines =
      std::string("30=2*3*5") + ReportHandle::kNewline + "42=2*3*7" + ReportHandle::kNewline;
  {
    ReportHandle handle;
    ASSERT_EQ(handle.open(name).outcome, ReportOpening::kLocked);
    ASSERT_EQ(handle.write_line("30=2*3*5").outcome, LineOutcome::kWritten);
    ASSERT_EQ(handle.write_line("42=2*3*7").outcome, LineOutcome::kWritten);
    EXPECT_EQ(handle.cut_back(lines.size() + 10), 0);  // more than it holds: left as it is
    EXPECT_EQ(contents(name), lines);
    EXPECT_EQ(handle.cut_back(10), 0);
    EXPECT_EQ(contents(name), lines.substr(0, 10));
    EXPECT_EQ(handle.close(), 0);
  }
  std::remove(name);
}

}  // namespace
