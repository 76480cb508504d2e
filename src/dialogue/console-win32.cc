// Console set-up, ending signals and key wait for Windows, where the runtime library has the
// key wait.
#include <conio.h>
#include <windows.h>

#include <iostream>
#include <string>

#include "dialogue/console.h"
#include "dialogue/console_output.h"

bool write_to_console(int stream, const char* data, std::size_t size) {
  // Past the C runtime's buffer: Ctrl-C ends the process from another thread, and a buffer
  // that the process flushes as it ends would show its last line a second time. The console
  // and its pipes are text streams, whose lines end in CR LF on Windows.
  std::string text;
  text.reserve(size + size / 8);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      text.push_back('\r');
    }
    text.push_back(data[i]);
  }
  const HANDLE output = GetStdHandle(stream == 2 ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  for (std::size_t written = 0; written < text.size();) {
    DWORD count = 0;
    if (!WriteFile(output, text.data() + written, static_cast<DWORD>(text.size() - written), &count,
                   nullptr) ||
        count == 0) {
      return false;
    }
    written += count;
  }
  return true;
}

void prepare_console() {
  // Windows raises no signal when a console or pipe goes away; the write just fails.
  // Never destroyed: std::cout is flushed as the process ends, after every static object
  // made later than it is gone.
  static auto* const console_output = new ConsoleOutput(1);
  static auto* const console_errors = new ConsoleOutput(2);
  std::cout.rdbuf(console_output);
  std::cerr.rdbuf(console_errors);
}

void with_ending_signals_held(bool /*hold*/, const std::function<void()>& work) { work(); }

int wait_for_key() { return _getch(); }
