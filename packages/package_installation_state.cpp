#include "packages/package_installation_state.h"

#include "foundation/text.h"
#include "packages/msi_products.h"
#include "packages/non_msi_registration.h"

namespace setup {

namespace {

bool IsMsiPackage(const SetupPackage& package) { return EqualsIgnoreCase(package.installerType, kInstallerTypeMsi); }

bool IsProductPresent(const DetectionContext& context, const SetupPackage& package) {
  if (package.productCode.empty()) return false;
  if (IsMsiPackage(package)) return IsMsiProductInstalled(*context.platform.installer, package.productCode);
  return IsNonMsiPackageRegistered(*context.platform.registry, package.productCode, package.is64Bit);
}

bool CameFromOtherInstaller(const DetectionContext& context, const SetupPackage& package) {
  if (!IsMsiPackage(package)) {
    return IsNonMsiPackageFromOtherInstaller(*context.platform.registry, package.productCode, package.packageCode,
                                             package.is64Bit);
  }
  const auto installedPackageCode =
      ReadMsiProductProperty(*context.platform.installer, package.productCode, kMsiPackageCode);
  return installedPackageCode && !EqualsIgnoreCase(*installedPackageCode, package.packageCode);
}

}  // namespace

void DetermineInstallationState(const DetectionContext& context, SetupPackage& package) {
  package.installedFromOtherInstaller = false;
  package.registered = IsProductPresent(context, package);
  if (package.registered) package.installedFromOtherInstaller = CameFromOtherInstaller(context, package);
}

bool IsPackageInstalled(const DetectionContext& context, const SetupPackage& package) {
  return !package.installedFromOtherInstaller && IsProductPresent(context, package);
}

}  // namespace setup
