// Message boxes and the main thread's message queue.
#include <windows.h>

#include "platform/win32/system_function.h"
#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

class Win32UserInterface : public UserInterface {
 public:
  Win32UserInterface() : mainThread_(GetCurrentThreadId()) {}

  void ShowMessageBox(std::wstring_view text, std::wstring_view caption, MessageBoxIcon icon) override {
    const std::wstring body(text);
    const std::wstring title(caption);
    SETUP_SYSTEM_FUNCTION(L"user32.dll", MessageBoxW);
    if (MessageBoxWPtr) MessageBoxWPtr(nullptr, body.c_str(), title.c_str(), MB_OK | static_cast<UINT>(icon));
  }

  int AskMessageBox(std::wstring_view text, std::wstring_view caption, std::uint32_t style) override {
    const std::wstring body(text);
    const std::wstring title(caption);
    SETUP_SYSTEM_FUNCTION(L"user32.dll", MessageBoxW);
    return MessageBoxWPtr ? MessageBoxWPtr(nullptr, body.c_str(), title.c_str(), style) : 0;
  }

  // Nothing but the quit message can be queued before the first window exists; without
  // user32 loaded there is no queue, and the quit is remembered instead of posted.
  void PostQuit(int exitCode) override {
    if (!GetModuleHandleW(L"user32.dll")) {
      quitPending_ = true;
      return;
    }
    SETUP_SYSTEM_FUNCTION(L"user32.dll", PostThreadMessageW);
    PostThreadMessageWPtr(mainThread_, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
  }

  void PumpUntilQuit() override {
    if (quitPending_) {
      quitPending_ = false;
      return;
    }
    SETUP_SYSTEM_FUNCTION(L"user32.dll", GetMessageW);
    SETUP_SYSTEM_FUNCTION(L"user32.dll", TranslateMessage);
    SETUP_SYSTEM_FUNCTION(L"user32.dll", DispatchMessageW);
    MSG message;
    while (GetMessageWPtr(&message, nullptr, 0, 0) > 0) {
      TranslateMessagePtr(&message);
      DispatchMessageWPtr(&message);
    }
  }

  bool LoadRichEdit() override { return LoadSystemLibrary(L"Msftedit.dll") != nullptr; }

 private:
  DWORD mainThread_;
  bool quitPending_ = false;
};

}  // namespace

std::unique_ptr<UserInterface> CreateUserInterface() { return std::make_unique<Win32UserInterface>(); }

}  // namespace setup::platform::win32
