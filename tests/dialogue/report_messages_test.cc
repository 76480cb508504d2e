// Tests of the causes named in the report file's messages, word for word.
#include "dialogue/report_messages.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

struct ReasonCase {
  int error_number;
  const char* expected;
};

class FailureReason : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(FailureReason, NamesCommonCausesInGerman) {
  EXPECT_EQ(std::string(failure_reason(GetParam().error_number)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailureReason,
    ::testing::Values(ReasonCase{EACCES, ": keine Schreibberechtigung"},
                      ReasonCase{EPERM, ": keine Schreibberechtigung"},
                      ReasonCase{EISDIR, ": es ist ein Verzeichnis"},
                      ReasonCase{EROFS, ": das Dateisystem ist schreibgeschuetzt"},
                      ReasonCase{ENOSPC, ": der Datentraeger ist voll"},
                      ReasonCase{EFBIG, ": die Datei ist zu gross"},
                      // Any other cause, or none, adds nothing before the message's ".".
                      ReasonCase{EIO, ""}, ReasonCase{0, ""}));

#ifdef EDQUOT
INSTANTIATE_TEST_SUITE_P(Quota, FailureReason,
                         ::testing::Values(ReasonCase{EDQUOT, ": der Datentraeger ist voll"}));
#endif

}  // namespace
