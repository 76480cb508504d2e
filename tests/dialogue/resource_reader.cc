// Prints what Windows shows of the program named on its command line under Properties,
// Details, one "name=value" line each, the sizes of its first icon as "Icons=16,32,...", then
// a blank line and the program's manifest. Exits with 1 when the program has no version
// information, no icon or no manifest.
#include <windows.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    return 2;
  }
  DWORD unused = 0;
  std::vector<char> info(GetFileVersionInfoSizeA(argv[1], &unused));
  WORD* translation = nullptr;
  UINT length = 0;
  if (info.empty() ||
      !GetFileVersionInfoA(argv[1], 0, static_cast<DWORD>(info.size()), info.data()) ||
      !VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < 2 * sizeof(WORD)) {
    return 1;
  }
  // Language and code page of the first translation, e.g. 0407 (German) and 04b0 (Unicode).
  std::printf("Translation=%04x%04x\n", translation[0], translation[1]);
  for (const char* name : {"FileDescription", "FileVersion", "InternalName", "LegalCopyright",
                           "OriginalFilename", "ProductName", "ProductVersion"}) {
    char path[128];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation[0],
                  translation[1], name);
    char* value = nullptr;
    if (VerQueryValueA(info.data(), path, reinterpret_cast<void**>(&value), &length)) {
      std::printf("%s=%s\n", name, value);
    }
  }
  const HMODULE program = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
  // An icon group: a 6-byte header whose last word counts the entries, then 14 bytes an
  // entry, the first byte its width (0 for 256).
  const HRSRC icons = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14));
  if (icons == nullptr) {
    return 1;
  }
  const auto* group = static_cast<const unsigned char*>(LockResource(LoadResource(program, icons)));
  std::printf("Icons=");
  for (int entry = 0; entry < (group[4] | group[5] << 8); ++entry) {
    const int width = group[6 + 14 * entry];
    std::printf(entry == 0 ? "%d" : ",%d", width == 0 ? 256 : width);
  }
  std::printf("\n");
  const HRSRC manifest = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  if (manifest == nullptr) {
    return 1;
  }
  std::printf("\n");
  std::fwrite(LockResource(LoadResource(program, manifest)), 1, SizeofResource(program, manifest),
              stdout);
  return 0;
}
