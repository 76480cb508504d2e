// The dialogue driver: texts, input of the bounds and the scan, in the order a run takes.
#include "dialogue/dialogue.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <optional>

#include "arith/sphenic_factors.h"
#include "dialogue/bound_input.h"
#include "dialogue/console.h"
#include "dialogue/result_line.h"

namespace {

// The copy of the result lines, in the current directory, written afresh by every run.
constexpr const char* kReportFileName = "sphenischezahlen.txt";

// Shows prompt, reads a bound from standard input and returns it; when none can be read,
// says so on standard error, naming the bound by its German name, and returns nothing.
std::optional<Number> ask_for_bound(const char* prompt, const char* bound_name) {
  std::cout << prompt;
  const std::optional<Number> bound = read_bound(std::cin);
  if (!bound) {
    std::cerr << "Fehler: Die " << bound_name
              << " Grenze muss eine ganze Zahl von 0 bis 4294967295 sein." << std::endl;
  }
  return bound;
}

}  // namespace

void scan_range(Number lower, Number upper, std::ostream& console, std::ostream& report) {
  // 0 and 1 are passed over without a test: no number below 2 can be sphenic.
  if (lower > upper || upper < 2) {
    return;
  }
  // The test sits at the end of the loop, so that n never steps past upper and wraps.
  for (Number n = std::max(lower, Number{2});; ++n) {
    if (const std::optional<FactorTriple> factors = sphenic_factors(n)) {
      write_result_line(console, n, *factors);
      write_result_line(report, n, *factors);
    }
    if (n == upper) {
      return;
    }
  }
}

int run_dialogue() {
  // Created, or emptied, before anything is shown; closed on return, after the key press.
  std::ofstream report(kReportFileName);
  if (!report) {
    std::cerr << "Fehler: Die Datei " << kReportFileName
              << " kann nicht zum Schreiben geoeffnet werden." << std::endl;
    return 1;
  }

  std::cout << "Das Programm berechnet alle sphenischen Zahlen zwischen zwei Grenzen." << std::endl
            << "Untere Grenze minimal 0, obere Grenze maximal 4,2 Mrd." << std::endl
            << "Abbruch mit Strg-C" << std::endl;

  // After a bound that cannot be read, nothing more is read and nothing is scanned.
  const std::optional<Number> lower = ask_for_bound("untere Grenze: ", "untere");
  const std::optional<Number> upper =
      lower ? ask_for_bound("obere Grenze: ", "obere") : std::nullopt;
  if (upper) {
    scan_range(*lower, *upper, std::cout, report);
  }

  std::cout << "Druecken Sie eine beliebige Taste:" << std::flush;
  wait_for_key();
  return upper ? 0 : 1;
}
