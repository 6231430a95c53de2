#include "packages/previous_installation.h"

#include "packages/msi_products.h"
#include "packages/newest_installation.h"
#include "packages/older_suite_product_codes.h"
#include "packages/package_installation_state.h"
#include "packages/product_record_comparison.h"

namespace setup {
namespace {

PreviousInstallation FindForProduct(const AnalysisContext& context, const ProductRecord& product) {
  PreviousInstallation result;
  std::optional<ProductRecord> installed = FindNewestInstallation(context.detection, product);
  // Another edition of the product never counts as its previous installation.
  if (!installed || !HaveSameEntry(*installed, product)) return result;
  result.found = true;
  result.sameSlot = ShareProductSlot(product, *installed);
  result.sameMajor = HaveSameMajor(product, *installed);
  result.hasActiveXControl = installed->HasActiveXControl();
  result.displayName = installed->DisplayName();
  result.installations.push_back(std::move(*installed));
  return result;
}

PreviousInstallation FindInstalledSuiteMembers(const AnalysisContext& context, const SetupPackage& package) {
  PreviousInstallation result;
  const ProductRecord& first = package.products.front();
  std::optional<ProductRecord> installedSuite;
  bool mixed = false;
  for (const ProductRecord& member : package.products) {
    // Members search only installations made from the suite, as they come from the suite.
    std::optional<ProductRecord> installed = FindNewestInstallation(context.detection, member);
    if (!installed || !HaveSameEntry(*installed, member)) continue;
    result.hasActiveXControl |= installed->HasActiveXControl();
    if (!installedSuite) {
      installedSuite.emplace(package.productId, installed->FullVersionString(), member.Is64Bit(), member.Language(),
                             true);
    } else if (installed->VersionDisplay() != installedSuite->VersionDisplay()) {
      mixed = true;
    }
    result.installations.push_back(std::move(*installed));
  }
  if (!installedSuite) return result;
  result.found = true;
  result.sameSlot = ShareProductSlot(first, *installedSuite);
  // Members of different versions count as the same major, so that no new-major upgrade is offered.
  result.sameMajor = mixed || HaveSameMajor(first, *installedSuite);
  result.displayName = installedSuite->DisplayName();
  return result;
}

// A suite of the years when it was one single installer package shows only in Windows
// Installer's product list, under one of the known product codes.
PreviousInstallation FindOlderSingleSuite(const AnalysisContext& context, const SetupPackage& package) {
  PreviousInstallation result;
  const ProductRecord& first = package.products.front();
  platform::Installer& installer = *context.detection.platform.installer;
  for (const OlderSuiteInstallation& row : OlderSuiteInstallations()) {
    if (row.edition != first.Edition() || row.is64Bit != first.Is64Bit()) continue;
    if (!IsMsiProductInstalled(installer, row.productCode)) continue;
    result.found = true;
    result.displayName =
        ProductRecord(L"FD::" + std::wstring(row.edition), row.version, row.is64Bit, first.Language(), true)
            .DisplayName();
    for (const ProductRecord& member : package.products) {
      result.installations.emplace_back(member.ProductId(), row.version, member.Is64Bit(), first.Language(), true);
    }
    return result;
  }
  return result;
}

}  // namespace

PreviousInstallation FindPreviousInstallation(const AnalysisContext& context, const SetupPackage& package) {
  if (package.products.empty() || IsPackageInstalled(context.detection, package)) return {};
  if (package.products.size() == 1) return FindForProduct(context, package.products.front());
  PreviousInstallation result = FindInstalledSuiteMembers(context, package);
  if (!result.found) result = FindOlderSingleSuite(context, package);
  return result;
}

}  // namespace setup
