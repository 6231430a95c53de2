// A host platform whose drives lie in a fresh temporary folder, removed with it.
#pragma once

#include "platform/host/host_platform.h"
#include "support/temp_folder.h"

namespace setup {

struct TempHostPlatform {
  testing::TempFolder folder;
  platform::host::HostPlatform host{folder.Path()};
};

}  // namespace setup
