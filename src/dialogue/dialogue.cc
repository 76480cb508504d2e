// The dialogue driver: texts, input of the bounds and the scan, in the order a run takes.
#include "dialogue/dialogue.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iostream>
#include <optional>

#include "arith/sphenic_factors.h"
#include "dialogue/bound_input.h"
#include "dialogue/console.h"
#include "dialogue/report_file.h"
#include "dialogue/report_lock.h"
#include "dialogue/result_line.h"

namespace {

// Shows prompt, reads a bound from standard input with read and returns it; when none can be
// read, says so on standard error, naming the bound by its German name, and returns nothing.
std::optional<Number> ask_for_bound(const char* prompt, const char* bound_name,
                                    std::optional<Number> (*read)(std::istream&)) {
  std::cout << prompt;
  const std::optional<Number> bound = read(std::cin);
  if (!bound) {
    std::cerr << "Fehler: Die " << bound_name
              << " Grenze muss eine ganze Zahl von 0 bis 4294967295 sein." << std::endl;
  }
  return bound;
}

// Writes the result line to report unless a write there has failed before, so that the file
// holds every line up to its first failure and none after it; says so on errors at that one.
// Each line that report takes whole moves whole_lines_end behind it.
void write_report_line(std::ostream& report, Number n, const FactorTriple& factors,
                       std::streampos& whole_lines_end, std::ostream& errors) {
  if (!report) {
    return;
  }
  errno = 0;
  write_result_line(report, n, factors);
  if (report) {
    whole_lines_end = report.tellp();
  } else {
    say_report_broken_off(errors, errno);
  }
}

// Shows the closing prompt, waits for a key and returns exit_status.
int end_run(int exit_status) {
  std::cout << "Druecken Sie eine beliebige Taste:" << std::flush;
  wait_for_key();
  return exit_status;
}

}  // namespace

std::streampos scan_range(Number lower, Number upper, std::ostream& console, std::ostream& report,
                          std::ostream& errors) {
  std::streampos whole_lines_end = report.tellp();
  // 0 and 1 are passed over without a test: no number below 2 can be sphenic.
  if (lower > upper || upper < 2) {
    return whole_lines_end;
  }
  // The test sits at the end of the loop, so that n never steps past upper and wraps.
  for (Number n = std::max(lower, Number{2});; ++n) {
    if (const std::optional<FactorTriple> factors = sphenic_factors(n)) {
      // The file first: a run ended between the two writes leaves no line shown that is
      // missing from the file.
      write_report_line(report, n, *factors, whole_lines_end, errors);
      write_result_line(console, n, *factors);
    }
    if (n == upper) {
      return whole_lines_end;
    }
  }
}

int run_dialogue() {
  // A second run in this directory would empty the file under the first: it touches nothing.
  if (!lock_report_file(kReportFileName)) {
    say_report_in_use(std::cerr);
    return end_run(1);
  }
  // Created, or emptied, before anything is shown.
  errno = 0;
  std::ofstream report(kReportFileName);
  if (!report) {
    say_report_not_opened(std::cerr, errno);
    return end_run(1);
  }

  std::cout << "Das Programm berechnet alle sphenischen Zahlen zwischen zwei Grenzen." << std::endl
            << "Untere Grenze minimal 0, obere Grenze maximal 4,2 Mrd." << std::endl
            << "Abbruch mit Strg-C" << std::endl;

  // After a bound that cannot be read, nothing more is read and nothing is scanned.
  const std::optional<Number> lower = ask_for_bound("untere Grenze: ", "untere", read_bound);
  const std::optional<Number> upper =
      lower ? ask_for_bound("obere Grenze: ", "obere", read_upper_bound) : std::nullopt;
  const std::streampos whole_lines_end =
      upper ? scan_range(*lower, *upper, std::cout, report, std::cerr) : report.tellp();

  // Closed before the closing prompt, so that a failed close is still said while the user
  // is there to read it.
  const bool written_so_far = static_cast<bool>(report);
  errno = 0;
  report.close();
  if (!report) {
    if (written_so_far) {
      say_report_broken_off(std::cerr, errno);
    }
    cut_back_to_whole_lines(kReportFileName, whole_lines_end);
  }
  return end_run(upper && report ? 0 : 1);
}
