// Loads a library the plain way, with the standard search order that looks beside the program
// first, and prints "loaded=<1|0>".
//   load-library <name>
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  std::printf("loaded=%d\n", LoadLibraryW(argv[1]) != nullptr ? 1 : 0);
  return 0;
}
