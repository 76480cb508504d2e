// The dialogue driver: texts, input of the bounds and the scan, in the order a run takes.
#include "dialogue/dialogue.h"

#include <iostream>
#include <optional>
#include <string>

#include "arith/scan_range.h"
#include "dialogue/bound_input.h"
#include "dialogue/console.h"
#include "dialogue/message.h"
#include "dialogue/report_messages.h"
#include "report/report_file.h"
#include "report/result_line.h"

namespace {

// Shows prompt, reads a bound from standard input with read and returns it; when none can be
// read, says so on standard error, naming the bound by its German name, and returns nothing.
std::optional<Number> ask_for_bound(const char* prompt, const char* bound_name,
                                    std::optional<Number> (*read)(std::istream&)) {
  std::cout << prompt;
  const std::optional<Number> bound = read(std::cin);
  if (!bound) {
    say_error(std::cerr, std::string("Die ") + bound_name +
                             " Grenze muss eine ganze Zahl von 0 bis 4294967295 sein.");
  }
  return bound;
}

// Writes text and a line break to console in one piece, and flushes it.
void show_line(std::ostream& console, const std::string& text) {
  console << text + '\n' << std::flush;
}

// Shows the closing prompt, waits for a key and returns exit_status.
int end_run(int exit_status) {
  std::cout << "Druecken Sie eine beliebige Taste:" << std::flush;
  wait_for_key();
  return exit_status;
}

// Scans the range from lower to upper, and writes the result line of every sphenic number in
// it to report and then to console; a failure of the file is said on errors.
void scan_into(Number lower, Number upper, std::ostream& console, ReportFile& report,
               std::ostream& errors) {
  scan_range(lower, upper, [&](Number n, const FactorTriple& factors) {
    const std::string line = result_line(n, factors);
    // The file first: a run ended between the two writes leaves no line shown that is
    // missing from the file. A failure is said right before the first line missing there.
    // The signals that end the run wait until the line and its failure are out.
    with_ending_signals_held(report.regular(),
                             [&] { say_broken_off(errors, report.take_line(line)); });
    show_line(console, line);
  });
}

}  // namespace

int run_dialogue() {
  ReportFile report;
  if (!say_opening(std::cerr, report.open())) {
    return end_run(1);
  }

  show_line(std::cout, "Das Programm berechnet alle sphenischen Zahlen zwischen zwei Grenzen.");
  show_line(std::cout, "Untere Grenze minimal 0, obere Grenze maximal 4,2 Mrd.");
  show_line(std::cout, "Abbruch mit Strg-C");

  // After a bound that cannot be read, nothing more is read and nothing is scanned.
  const std::optional<Number> lower = ask_for_bound("untere Grenze: ", "untere", read_bound);
  const std::optional<Number> upper =
      lower ? ask_for_bound("obere Grenze: ", "obere", read_upper_bound) : std::nullopt;
  if (upper) {
    scan_into(*lower, *upper, std::cout, report, std::cerr);
  }
  // Finished before the closing prompt, so that what went wrong with the file is still said
  // while the user is there to read it, and another run may have the file during the wait.
  const bool every_line_in_file = say_ending(std::cerr, report.finish());
  return end_run(upper && every_line_in_file ? 0 : 1);
}
