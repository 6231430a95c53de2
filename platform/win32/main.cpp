// Entry point of the launcher: the application object runs its run sequence and, when that
// asks for it, the message loop, then its exit sequence, whose result is the exit code.
#include <windows.h>

#include <cstdlib>

#include "launcher/setup_app.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_ports.h"

namespace {

setup::ProcessInvocation CurrentInvocation() {
  setup::ProcessInvocation invocation;
  // The C runtime has split the command line by the platform's standard rules.
  for (int i = 1; i < __argc; ++i) invocation.arguments.emplace_back(__wargv[i]);

  // The raw text after the program name (quoted or not) and the blanks that follow it.
  const wchar_t* text = GetCommandLineW();
  if (*text == L'"') {
    for (++text; *text && *text != L'"'; ++text) {
    }
    if (*text == L'"') ++text;
  } else {
    while (*text && *text != L' ' && *text != L'\t') ++text;
  }
  while (*text == L' ' || *text == L'\t') ++text;
  invocation.rawArguments = text;
  return invocation;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  setup::platform::win32::RestrictLibrarySearchToSystemFolder();
  setup::CSetupApp app(setup::platform::win32::CreatePlatform(), CurrentInvocation());
  if (app.InitInstance()) {
    // Without a main window the framework's loop ends at once.
    app.Context().platform.ui->PostQuit(0);
    app.Context().platform.ui->PumpUntilQuit();
  }
  return app.ExitInstance();
}
