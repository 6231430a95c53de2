// Removing an installed product with the MSI file that Windows Installer kept of it.
#pragma once

#include "packages/product_record.h"
#include "platform/platform.h"
#include "run/setup_result.h"
#include "run/ui_level.h"

namespace setup {

class SetupLog;

// Removes the installed product from its install source, which must hold exactly one MSI
// file, at the installer user-interface level `uiLevel`. The product's Add/Remove Programs
// entry is first made Windows Installer's own again. Success is (0, 0, reported); a missing
// source or MSI file gives kind 9, an installer failure kind 2 with the installer's code.
SetupResult UninstallFromCache(platform::Platform& platform, SetupLog& log, ProductRecord& installed,
                               UiLevel uiLevel);

}  // namespace setup
