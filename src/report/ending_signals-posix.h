// The signals that end the program from outside on POSIX systems, which the report file holds
// back while it writes a line and the console's key wait catches to put the terminal back.
#ifndef SPHENISCHEZAHLEN_REPORT_ENDING_SIGNALS_POSIX_H_
#define SPHENISCHEZAHLEN_REPORT_ENDING_SIGNALS_POSIX_H_

#include <array>
#include <csignal>

// Ctrl-C, kill's default, a terminal that goes away, and Ctrl-\.
constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

#endif  // SPHENISCHEZAHLEN_REPORT_ENDING_SIGNALS_POSIX_H_
