// A Windows reader such as a spreadsheet program: it opens the file named on its command line
// for reading and lets nobody else write it meanwhile. Exits with 0 when it could, or with
// the Windows error code.
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    return ERROR_BAD_ARGUMENTS;
  }
  const HANDLE file = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return static_cast<int>(GetLastError());
  }
  CloseHandle(file);
  return 0;
}
