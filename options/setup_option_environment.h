// What the setup options read the machine through, and the state they share in one run.
#pragma once

#include <functional>
#include <string>

#include "packages/product_record.h"
#include "platform/platform.h"

namespace setup {

// The folder an installed product lives in, read from its installation key; empty when
// unknown.
using InstalledFolderLookup = std::function<std::wstring(const ProductRecord& installed)>;

struct SetupOptionEnvironment {
  platform::Platform& platform;
  bool systemIs64Bit = false;
  InstalledFolderLookup installedFolder;
  // "Yes" once any installation's desktop shortcut was found; never emptied again in a run,
  // so every bound desktop-shortcut option writes the same value.
  std::wstring desktopShortcutValue;
};

}  // namespace setup
