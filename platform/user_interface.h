// Port: the parts of the GUI the launcher core needs outside the wizard: message boxes and
// the main thread's message queue.
#pragma once

#include <cstdint>
#include <string_view>

namespace setup::platform {

enum class MessageBoxIcon : std::uint32_t { None = 0, Error = 0x10, Exclamation = 0x30 };

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual void ShowMessageBox(std::wstring_view text, std::wstring_view caption, MessageBoxIcon icon) = 0;
  // Posts the quit message with the exit code to the main thread's queue.
  virtual void PostQuit(int exitCode) = 0;
  // Retrieves and dispatches messages until the quit message is taken from the queue.
  virtual void PumpUntilQuit() = 0;
  // Loads the rich-edit control library the wizard pages use.
  virtual bool LoadRichEdit() = 0;
};

}  // namespace setup::platform
