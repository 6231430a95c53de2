#include "packages/quick_install_adjustment.h"

#include "packages/installed_version.h"
#include "packages/package_queries.h"
#include "packages/package_selection.h"
#include "packages/product_record_comparison.h"

namespace setup {

void AdjustSubPackagesForQuickInstall(const DetectionContext& context, PackageList& packages,
                                      std::vector<ProductRecord>& installations, std::wstring_view subPackages) {
  if (installations.empty()) return;
  // A copy: appending to the list may move its first record.
  const ProductRecord previous = installations.front();
  for (SetupPackage& package : packages.packages) {
    if (package.main || IsWendrakPackage(package)) continue;
    if (!package.products.empty() && Compare(previous, package.products.front()) == 0) {
      package.handle = false;
      continue;
    }
    ProductRecord installedAlongside(package.productId, previous.FullVersionString(), previous.Is64Bit(),
                                     previous.Language(), false);
    if (HasExactVersionInstalled(context, installedAlongside)) {
      package.handle = true;
      installations.push_back(std::move(installedAlongside));
    } else if (!SelectedByCommandLine(package, subPackages)) {
      package.handle = false;
    }
  }
}

}  // namespace setup
