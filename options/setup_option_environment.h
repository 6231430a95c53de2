// What the setup options read the machine through, and the state they share in one run.
#pragma once

#include <string>

#include "platform/platform.h"

namespace setup {

struct SetupOptionEnvironment {
  platform::Platform& platform;
  bool systemIs64Bit = false;
  // "Yes" once any installation's desktop shortcut was found; never emptied again in a run,
  // so every bound desktop-shortcut option writes the same value.
  std::wstring desktopShortcutValue;
};

}  // namespace setup
