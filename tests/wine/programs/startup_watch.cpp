// Start-up yardstick for window programs: starts a program, waits until it shows its first
// visible top-level window, prints the milliseconds that took and ends the program.
//   startup-watch.exe <program> [arguments...]
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
  DWORD processId;
  bool found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window)) {
    search->found = true;
    return FALSE;
  }
  return TRUE;
}

std::wstring Quoted(const wchar_t* argument) { return L"\"" + std::wstring(argument) + L"\""; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: startup-watch.exe <program> [arguments...]\n", stderr);
    return 2;
  }
  std::wstring commandLine = Quoted(argv[1]);
  for (int i = 2; i < argc; ++i) commandLine += L" " + Quoted(argv[i]);

  LARGE_INTEGER frequency;
  LARGE_INTEGER start;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "cannot start the program: error %lu\n", GetLastError());
    return 1;
  }
  Search search{process.dwProcessId, false};
  const DWORD deadline = GetTickCount() + 60000;
  while (!search.found && GetTickCount() < deadline) {
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found && WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  LARGE_INTEGER end;
  QueryPerformanceCounter(&end);
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!search.found) {
    std::fputs("the program showed no window\n", stderr);
    return 1;
  }
  std::printf("%lld\n", (end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
  return 0;
}
