// Console set-up and key wait for Windows, where the runtime library has the key wait.
#include <conio.h>
#include <windows.h>

#include <iostream>

#include "dialogue/console.h"
#include "dialogue/console_output.h"

namespace {

// Writes every byte of data to standard output with WriteFile, past the C runtime's buffer:
// Ctrl-C ends the process from another thread, and a buffer that the process flushes as it
// ends would show its last line a second time. False when the console is gone.
bool write_to_standard_output(const char* data, std::size_t size) {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  for (std::size_t written = 0; written < size;) {
    DWORD count = 0;
    if (!WriteFile(output, data + written, static_cast<DWORD>(size - written), &count, nullptr) ||
        count == 0) {
      return false;
    }
    written += count;
  }
  return true;
}

}  // namespace

void prepare_console() {
  // Windows raises no signal when a console or pipe goes away; the write just fails.
  // Never destroyed: std::cout is flushed as the process ends, after every static object
  // made later than it is gone.
  static auto* const console_output = new ConsoleOutput(write_to_standard_output);
  std::cout.rdbuf(console_output);
}

int wait_for_key() { return _getch(); }
