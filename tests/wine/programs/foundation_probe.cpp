// Runs the Wait utility against the real platform (children that inherit the environment
// overrides and start in a working folder) and prints one "name=value" line per observation.
//   foundation-probe wait
// (No <windows.h> here: its CopyFile macro would rename the utilities' CopyFile.)
#include <chrono>
#include <cstdio>
#include <string>

#include "foundation/file_utilities.h"
#include "foundation/text.h"
#include "platform/win32/win32_ports.h"

namespace setup {
namespace {

void Print(const char* name, std::wstring_view value) { std::printf("%s=%s\n", name, ToUtf8(value).c_str()); }
void Print(const char* name, long long value) { std::printf("%s=%lld\n", name, value); }

int Wait(platform::Platform& platform) {
  ICBSFileUtilities files(platform);
  const auto started = std::chrono::steady_clock::now();
  Print("timeout_exit", files.Wait(L"cmd /c ping -n 30 127.0.0.1 >NUL", true, L"", {}, 0, false));
  Print("timeout_fast", std::chrono::steady_clock::now() - started < std::chrono::seconds(10));
  Print("exit_code", files.Wait(L"cmd /c exit 7", true, L"", {}, platform::kWaitForever, false));

  platform.processes->SetEnvironment(L"PROBE_CODE", L"9");
  Print("environment_exit",
        files.Wait(L"cmd /c exit %PROBE_CODE%", true, L"", {{L"PROBE_CODE", L"5"}, {L"PROBE_NEW", L"kept"}},
                   platform::kWaitForever, false));
  Print("environment_restored", platform.processes->GetEnvironment(L"PROBE_CODE").value_or(L"<unset>"));
  Print("environment_kept", platform.processes->GetEnvironment(L"PROBE_NEW").value_or(L"<unset>"));
  Print("working_folder", files.Wait(L"cmd /c if exist probe-marker.txt (exit 3) else (exit 4)", true, L"C:\\windows",
                                     {}, platform::kWaitForever, false));
  Print("no_wait", files.Wait(L"cmd /c exit 7", false, L"", {}, platform::kWaitForever, false));
  Print("start_failure", files.Wait(L"C:\\missing-program.exe", true, L"", {}, platform::kWaitForever, false));
  return 0;
}

}  // namespace
}  // namespace setup

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  auto platform = setup::platform::win32::CreatePlatform();
  if (command == L"wait") return setup::Wait(*platform);
  std::fprintf(stderr, "usage: foundation-probe wait\n");
  return 2;
}
