// Whether a package's product is installed, and by which build of the installer.
#pragma once

#include "packages/detection_context.h"
#include "packages/setup_package.h"

namespace setup {

// Sets `registered` (the product is installed now) and `installedFromOtherInstaller` (it is,
// but under another package code) of a package being built.
void DetermineInstallationState(const DetectionContext& context, SetupPackage& package);

// The product is installed by this very build of the installer: asked of the system on every
// call, and false whenever the installation came from another build.
bool IsPackageInstalled(const DetectionContext& context, const SetupPackage& package);

}  // namespace setup
