// The console of the process that started the launcher, for as long as one console mode
// writes to it: attached on construction; on destruction the command prompt gets a carriage
// return (so that it shows its prompt again after the output) and the console is let go.
#pragma once

#include <string_view>

#include "platform/console.h"

namespace setup {

class ParentConsole {
 public:
  explicit ParentConsole(platform::Console& console) : console_(console) { console_.AttachToParent(); }
  ~ParentConsole() {
    console_.PostEnterToConsoleWindow();
    console_.Free();
  }
  ParentConsole(const ParentConsole&) = delete;
  ParentConsole& operator=(const ParentConsole&) = delete;

  void Write(std::wstring_view text) { console_.Write(text); }
  platform::Console& Port() { return console_; }

 private:
  platform::Console& console_;
};

}  // namespace setup
