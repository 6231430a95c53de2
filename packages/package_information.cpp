#include "packages/package_information.h"

#include "foundation/text.h"
#include "packages/package_cache.h"
#include "packages/package_resource_names.h"
#include "packages/workload_packages.h"
#include "run/log_lines.h"

namespace setup {

namespace {

bool ReadResourcePackages(PackageList& list, const PackageInformationSources& sources, int count,
                          const PackageBuildContext& context, SetupLog& log) {
  log.WriteLog(log_lines::kPackageCount, count);
  namespace names = package_resource_names;
  for (int n = 0; n < count; ++n) {
    const auto text = [&](std::string_view name) { return sources.resources.ReadText(names::PackageName(name, n)); };
    PackageDescription description;
    description.productName = text(names::kProductName);
    description.productCode = text(names::kProductCode);
    description.packageCode = text(names::kPackageCode);
    description.productId = text(names::kProductId);
    description.is64Bit = text(names::kProductPlatform) == L"x64";
    description.version = text(names::kProductVersion);
    description.installerType = text(names::kInstallerType);
    description.dataName = names::PackageName(names::kPackageData, n);
    description.transformPattern = names::TransformName(n, L"%s");
    description.main = n == 0;
    SetupPackage package = BuildSetupPackage(context, std::move(description));
    log.WriteLog(log_lines::kPackageInitialized, EscapeControlCharacters(package.productName));
    const bool hasPackageCode = !package.packageCode.empty();
    list.packages.push_back(std::move(package));
    // Reading already failed; a damaged count must not make the launcher build packages
    // from nothing until memory runs out.
    if (!hasPackageCode) return false;
  }
  return true;
}

// A product code names registry keys (the Add/Remove Programs entry, the registration of a
// package that Windows Installer does not install): one that is not a braced GUID could name
// the uninstall key itself or another product's.
bool ProductCodesAreGuids(const PackageList& list, SetupLog& log) {
  for (const SetupPackage& package : list.packages) {
    if (IsBracedGuid(package.productCode)) continue;
    log.WriteLog(log_lines::kProductCodeNotAGuid, EscapeControlCharacters(package.productCode),
                 EscapeControlCharacters(package.productName));
    return false;
  }
  return true;
}

}  // namespace

bool ReadPackageInformation(PackageList& list, const PackageInformationSources& sources,
                            const PackageBuildContext& context, SetupLog& log) {
  list.packages.clear();
  log.WriteLog(log_lines::kReadingPackageInformation);
  const int count = sources.resources.PackageCount();
  if (count >= 1) return ReadResourcePackages(list, sources, count, context, log) && ProductCodesAreGuids(list, log);
  if (sources.workloadPath.empty()) return true;
  return ReadWorkloadPackages(list, sources.workloadPath, context, log) && ProductCodesAreGuids(list, log);
}

}  // namespace setup
