// Port: the console of the process that started the launcher (a GUI program has none of
// its own).
#pragma once

#include <string_view>

namespace setup::platform {

class Console {
 public:
  virtual ~Console() = default;

  // Attaches to the console of the parent process; false when there is none. Output still
  // reaches a redirected standard output without a console.
  virtual bool AttachToParent() = 0;
  // Writes to standard output: to the console when it is one, else to the file or pipe.
  virtual void Write(std::wstring_view text) = 0;
  // Posts a carriage-return keystroke to the console window, when one exists, so that the
  // command prompt shows its prompt again after the launcher's output.
  virtual void PostEnterToConsoleWindow() = 0;
  // Detaches from the console.
  virtual void Free() = 0;
};

}  // namespace setup::platform
