// Runs a command line, waits for it at most a given time and prints its full exit code.
// Wine hands only the low 8 bits of an exit code to a Linux parent (1639 arrives as 103), so
// tests that must tell such codes apart read them here, on the Windows side.
//   exit-code <time limit in ms> <program> [arguments...]
// Prints "exit=<code>" or, when the limit passed and the program was ended, "timeout"; the
// command line after the time limit is handed on exactly as this program received it.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

// The rest of a command line after its first argument (quoted or not) and the blanks after it.
const wchar_t* SkipArgument(const wchar_t* text) {
  bool quoted = false;
  for (; *text && (quoted || (*text != L' ' && *text != L'\t')); ++text) {
    if (*text == L'"') quoted = !quoted;
  }
  while (*text == L' ' || *text == L'\t') ++text;
  return text;
}

}  // namespace

int wmain() {
  const wchar_t* limitText = SkipArgument(GetCommandLineW());
  const DWORD limit = static_cast<DWORD>(wcstoul(limitText, nullptr, 10));
  wchar_t* commandLine = _wcsdup(SkipArgument(limitText));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    std::printf("start-failed=%lu\n", GetLastError());
    return 2;
  }
  if (WaitForSingleObject(process.hProcess, limit) == WAIT_TIMEOUT) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
    std::printf("timeout\n");
  } else {
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("exit=%lu\n", code);
  }
  std::fflush(stdout);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}
