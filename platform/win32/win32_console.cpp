// The console of the starting process. A GUI program has none of its own: it attaches to
// its parent's. When standard output is redirected to a file or a pipe, there is no console
// to write to, and the text goes to the handle with WriteFile, encoded as UTF-8 so that no
// language loses characters. (Wine behaves the same: AttachConsole and WriteConsoleW fail
// for redirected output, WriteFile delivers.)
#include <windows.h>

#include "foundation/text.h"
#include "platform/win32/system_function.h"
#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

class Win32Console : public Console {
 public:
  bool AttachToParent() override { return AttachConsole(ATTACH_PARENT_PROCESS) != FALSE; }

  void Write(std::wstring_view text) override {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE || text.empty()) return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(output, &mode)) {
      WriteConsoleW(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
      return;
    }
    const std::string bytes = ToUtf8(text);
    WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }

  void PostEnterToConsoleWindow() override {
    HWND window = GetConsoleWindow();
    if (!window) return;
    SETUP_SYSTEM_FUNCTION(L"user32.dll", PostMessageW);
    if (PostMessageWPtr) PostMessageWPtr(window, WM_CHAR, VK_RETURN, 0);
  }

  void Free() override { FreeConsole(); }
};

}  // namespace

std::unique_ptr<Console> CreateConsole() { return std::make_unique<Win32Console>(); }

}  // namespace setup::platform::win32
