// The rewrite of the main product's Add/Remove Programs entry in a setup of several packages:
// its Change and Remove commands start the copy of the launcher kept in the main package's
// folder, so that later maintenance goes through the launcher and all its packages; before a
// removal the entry is made Windows Installer's own again.
#pragma once

#include "packages/setup_package.h"
#include "run/run_context.h"

namespace setup {

enum class UninstallEntryRewrite {
  Perform = 0,                // after a successful installation: copies the launcher, then as RedoAfterModify
  RedoAfterModify = 1,        // after a repair or modification
  PrepareRemove = 2,          // before the product is removed
  RollBackPrepareRemove = 3,  // after a removal failed
};

// Rewrites the package's entries in the uninstall key (in the package's registry view) and, on
// Windows older than 7, its product name in the installer's products key. Missing keys and
// failing writes are passed over.
void RewriteUninstallEntries(const RunContext& run, UninstallEntryRewrite mode, const SetupPackage& package);

}  // namespace setup
