// Removing an installed product with the MSI file that Windows Installer kept of it.
#pragma once

#include <cstdint>

#include "launcher/setup_result.h"
#include "packages/product_record.h"
#include "platform/platform.h"

namespace setup {

class CSetupApp;
class SetupLog;

// Removes the installed product from its install source, which must hold exactly one MSI
// file, at the installer user-interface level `uiLevel`. The product's Add/Remove Programs
// entry is first made Windows Installer's own again. Success is (0, 0, reported); a missing
// source or MSI file gives kind 9, an installer failure kind 2 with the installer's code.
SetupResult UninstallFromCache(platform::Platform& platform, SetupLog& log, ProductRecord& installed,
                               std::int32_t uiLevel);

// Removes a conflicting installation as every caller does: logs the removal, calls
// UninstallFromCache at no user interface when the launcher runs silently (basic otherwise),
// and on failure tells the user about a missing MSI file, records the failure as the
// launcher's pending error and logs it. True when the product was removed.
bool RemoveConflictingInstallation(CSetupApp& app, ProductRecord& installed);

}  // namespace setup
