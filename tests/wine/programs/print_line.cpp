// The smallest Windows program that prints one line: the yardstick for the launcher's
// start-up time in its console modes.
#include <windows.h>

int wmain() {
  static const char kLine[] = "one line\r\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), kLine, sizeof(kLine) - 1, &written, nullptr);
  return 0;
}
