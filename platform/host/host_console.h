// Host stand-in of the console port: keeps what was written and the attach/free calls.
#pragma once

#include <string>

#include "platform/console.h"

namespace setup::platform::host {

class HostConsole : public Console {
 public:
  bool AttachToParent() override {
    ++attachCount;
    attached = true;
    return true;
  }
  void Write(std::wstring_view text) override { output += text; }
  void PostEnterToConsoleWindow() override {
    if (attached) ++enterCount;
  }
  void Free() override { attached = false; }

  std::wstring output;
  bool attached = false;
  int attachCount = 0;
  int enterCount = 0;
};

}  // namespace setup::platform::host
