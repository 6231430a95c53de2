#include "packages/package_information.h"

#include "foundation/text.h"
#include "packages/workload_packages.h"

namespace setup {

namespace {

bool ReadResourcePackages(PackageList& list, const PackageInformationSources& sources, int count,
                          const PackageBuildContext& context, SetupLog& log) {
  log.WriteLog(L"TSL (c): Installer contains %d packages.\r\n", kLogInfo, count);
  const auto text = [&](FormatText<int> name, int n) { return sources.resources.ReadText(Format(name, n)); };
  for (int n = 0; n < count; ++n) {
    PackageDescription description;
    description.productName = text(L"PRODUCT_NAME_%d", n);
    description.productCode = text(L"PRODUCT_CODE_%d", n);
    description.packageCode = text(L"PACKAGE_CODE_%d", n);
    description.productId = text(L"PRODUCT_ID_%d", n);
    description.is64Bit = text(L"PRODUCT_PLATFORM_%d", n) == L"x64";
    description.version = text(L"PRODUCT_VERSION_%d", n);
    description.installerType = text(L"INSTALLER_TYPE_%d", n);
    description.dataName = Format(L"PACKAGE_%d", n);
    description.transformPattern = Format(L"PACKAGE_%d_%%s", n);
    description.main = n == 0;
    SetupPackage package = BuildSetupPackage(context, std::move(description));
    log.WriteLog(L"TSL (c): Initialized state for package %s.\r\n", kLogInfo,
                 EscapeControlCharacters(package.productName));
    const bool hasPackageCode = !package.packageCode.empty();
    list.packages.push_back(std::move(package));
    // Reading already failed; a damaged count must not make the launcher build packages
    // from nothing until memory runs out.
    if (!hasPackageCode) return false;
  }
  return true;
}

}  // namespace

bool ReadPackageInformation(PackageList& list, const PackageInformationSources& sources,
                            const PackageBuildContext& context, SetupLog& log) {
  list.packages.clear();
  log.WriteLog(L"TSL (c): Reading package information.\r\n", kLogInfo);
  const int count = sources.resources.PackageCount();
  if (count >= 1) return ReadResourcePackages(list, sources, count, context, log);
  if (sources.workloadPath.empty()) return true;
  return ReadWorkloadPackages(list, sources.workloadPath, context, log);
}

}  // namespace setup
