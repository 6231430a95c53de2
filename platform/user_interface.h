// Port: the parts of the GUI the launcher core needs outside the wizard: message boxes and
// the main thread's message queue.
#pragma once

#include <cstdint>
#include <string_view>

namespace setup::platform {

// A window as the system knows it; 0 is none.
using WindowHandle = std::uintptr_t;

// The first message number free for a program's own messages (WM_USER).
inline constexpr std::uint32_t kUserMessage = 0x0400;

enum class MessageBoxIcon : std::uint32_t { None = 0, Error = 0x10, Exclamation = 0x30 };
// The OK and Cancel buttons of a message box (a style bit; the icon's bits combine with it).
inline constexpr std::uint32_t kMessageBoxOkCancel = 0x1;

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual void ShowMessageBox(std::wstring_view text, std::wstring_view caption, MessageBoxIcon icon) = 0;
  // A message box whose buttons and icon the style bits choose; returns the button pressed.
  virtual int AskMessageBox(std::wstring_view text, std::wstring_view caption, std::uint32_t style) = 0;
  // Posts the quit message with the exit code to the main thread's queue.
  virtual void PostQuit(int exitCode) = 0;
  // Retrieves and dispatches messages until the quit message is taken from the queue.
  virtual void PumpUntilQuit() = 0;
  // Loads the rich-edit control library the wizard pages use.
  virtual bool LoadRichEdit() = 0;
};

}  // namespace setup::platform
