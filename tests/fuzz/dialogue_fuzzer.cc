// A fuzz target for libFuzzer: the reading of the bounds, the one place where arbitrary input
// enters, and a whole run of the dialogue with the fuzzer's bytes as standard input and the
// report file in a scratch folder of its own.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>
#include <streambuf>
#include <string>

#include "dialogue/bound_input.h"
#include "dialogue/dialogue.h"
#include "report/report_file.h"

namespace {

// Takes everything and keeps nothing: the console and the messages of the fuzzed runs.
class Discard : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char* /*data*/, std::streamsize size) override { return size; }
};

// Returns the bounds that a run reads from input, where it reads both.
std::optional<std::pair<Number, Number>> bounds_of(const std::string& input) {
  std::istringstream in(input);
  const std::optional<Number> lower = read_bound(in);
  const std::optional<Number> upper = lower ? read_upper_bound(in) : std::nullopt;
  if (!upper) {
    return std::nullopt;
  }
  return std::make_pair(*lower, *upper);
}

// The scratch folder that the runs write their report file into, and remove at the end.
std::string scratch_folder;

void remove_scratch_folder() {
  static_cast<void>(std::remove((scratch_folder + "/" + kReportFileName).c_str()));
  static_cast<void>(rmdir(scratch_folder.c_str()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  char folder[] = "/tmp/sphenischezahlen-fuzz.XXXXXX";
  // The key wait reads the real standard input when it is no terminal: it finds its end.
  if (mkdtemp(folder) == nullptr || chdir(folder) != 0 ||
      std::freopen("/dev/null", "r", stdin) == nullptr) {
    std::abort();
  }
  scratch_folder = folder;
  static_cast<void>(std::atexit(remove_scratch_folder));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::optional<std::pair<Number, Number>> bounds = bounds_of(input);
  // A run is tried whole where it scans quickly: a refused bound, or a short range of small
  // numbers; the reading of the bounds above was tried for every input.
  if (bounds && bounds->first <= bounds->second &&
      (bounds->second > 10000 || bounds->second - bounds->first > 100)) {
    return 0;
  }
  std::istringstream typed(input);
  Discard discard;
  std::streambuf* const input_before = std::cin.rdbuf(typed.rdbuf());
  std::streambuf* const output_before = std::cout.rdbuf(&discard);
  std::streambuf* const errors_before = std::cerr.rdbuf(&discard);
  const int status = run_dialogue();
  std::cin.rdbuf(input_before);
  std::cout.rdbuf(output_before);
  std::cerr.rdbuf(errors_before);
  std::cin.clear();
  // A run ends with 0 exactly when both bounds were read.
  if (status != (bounds ? 0 : 1)) {
    std::abort();
  }
  return 0;
}
