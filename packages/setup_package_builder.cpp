#include "packages/setup_package_builder.h"

#include "packages/package_folder_trust.h"
#include "packages/package_installation_state.h"
#include "packages/package_product_records.h"

namespace setup {

SetupPackage BuildSetupPackage(const PackageBuildContext& context, PackageDescription description) {
  SetupPackage package;
  package.main = description.main;
  package.productName = std::move(description.productName);
  package.productCode = std::move(description.productCode);
  package.packageCode = std::move(description.packageCode);
  package.dataName = std::move(description.dataName);
  package.transformPattern = std::move(description.transformPattern);
  package.productId = std::move(description.productId);
  package.is64Bit = description.is64Bit;
  if (!description.installerType.empty()) package.installerType = std::move(description.installerType);
  package.products = BuildPackageProductRecords(package.productId, description.version, package.is64Bit).records;
  if (context.detectInstallations) DetermineInstallationState(context.detection, package);
  package.packageFolder = PackageFolderPath(context.cacheRoot.Path(), package.packageCode);
  if (context.log) {
    package.packageFile = TrustedUnpackedMsi(context.detection.platform, *context.log, package.packageFolder,
                                             package.packageCode);
  }
  return package;
}

}  // namespace setup
