// Message boxes and the main thread's message queue.
#include <windows.h>

#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

class Win32UserInterface : public UserInterface {
 public:
  Win32UserInterface() : mainThread_(GetCurrentThreadId()) {}

  void ShowMessageBox(std::wstring_view text, std::wstring_view caption, MessageBoxIcon icon) override {
    const std::wstring body(text);
    const std::wstring title(caption);
    MessageBoxW(nullptr, body.c_str(), title.c_str(), MB_OK | static_cast<UINT>(icon));
  }

  void PostQuit(int exitCode) override { PostThreadMessageW(mainThread_, WM_QUIT, static_cast<WPARAM>(exitCode), 0); }

  void PumpUntilQuit() override {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  bool LoadRichEdit() override { return LoadLibraryW(L"Msftedit.dll") != nullptr; }

 private:
  DWORD mainThread_;
};

}  // namespace

std::unique_ptr<UserInterface> CreateUserInterface() { return std::make_unique<Win32UserInterface>(); }

}  // namespace setup::platform::win32
