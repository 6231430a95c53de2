// Holds a named mutex, as a running launcher does, until it is killed or the given number of
// seconds has passed: hold-mutex.exe <name> <seconds>. Prints "held" once the mutex exists.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: hold-mutex <name> <seconds>\n", stderr);
    return 2;
  }
  HANDLE mutex = CreateMutexW(nullptr, FALSE, argv[1]);
  if (!mutex) return 1;
  std::puts("held");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) * 1000);
  CloseHandle(mutex);
  return 0;
}
