#include "packages/conflict_analysis.h"

#include <algorithm>

#include "packages/conflict_messages.h"
#include "packages/package_installation_state.h"
#include "packages/package_queries.h"
#include "packages/product_installations.h"
#include "packages/product_record_comparison.h"

namespace setup {
namespace {

// The taxonomies are installed by the launcher itself, not by Windows Installer, so an
// installation of them can be neither replaced nor removed from the installer cache; their
// entry counts as a server by family, but no conflict rule applies to them.
bool IsTaxonomyProduct(const ProductRecord& product) {
  return product.HasEntry() && product.Entry()->code == L"TAX_XBRL";
}

class ConflictFinder {
 public:
  ConflictFinder(const AnalysisContext& context, const SetupPackage& package)
      : context_(context), package_(package), messages_(context.texts) {}

  ConflictAnalysis Run() {
    if (package_.products.empty()) return {};
    const ProductRecord& product = package_.products.front();
    if (IsSuitePackage(package_)) {
      CheckSuite(product);
    } else if (IsTaxonomyProduct(product)) {
      return {};
    } else if (product.IsServerProduct()) {
      CheckServer(product);
    } else if (product.IsDesktopProduct()) {
      CheckDesktopProduct(product);
    } else if (product.IsIntegrationPackage()) {
      CheckIntegrationPackage(product);
    } else if (product.IsSpreadsheetAddIn()) {
      CheckSpreadsheetAddIn(product);
    }
    // Trandel add-ons and the other products (VN, GM, the taxonomies) never conflict.
    return std::move(result_);
  }

 private:
  void Add(std::wstring message, bool replaceable, std::optional<ProductRecord> installed) {
    result_.items.push_back({std::move(message), replaceable, std::move(installed)});
    if (!replaceable) result_.blocking = true;
  }

  // Empties the list and leaves this one finding in it.
  void Replace(std::wstring message, bool replaceable, std::optional<ProductRecord> installed) {
    result_.items.clear();
    Add(std::move(message), replaceable, std::move(installed));
  }

  std::vector<ProductRecord> Installations(const ProductRecord& product) const {
    return FindInstallations(context_.detection, product);
  }

  void CheckServer(const ProductRecord& product) {
    for (ProductRecord& installed : Installations(product)) {
      if (product.IsWendrakFamily() && installed.IsWendrakFamily() && Compare(product, installed) < 0) {
        Add(messages_.WendrakDowngrade(installed), false, std::move(installed));
      } else {
        Add(messages_.ReplacesParts(), true, std::move(installed));
      }
    }
  }

  // Installations of another major version live side by side with the package.
  void CheckDesktopProduct(const ProductRecord& product) {
    for (ProductRecord& installed : Installations(product)) {
      if (!HaveSameMajor(product, installed)) continue;
      if (installed.Is64Bit() == product.Is64Bit()) {
        if (installed.FromSuite()) {
          Add(messages_.AlreadyInstalled(installed, true), false, std::move(installed));
        } else {
          Add(messages_.ReplacesParts(), true, std::move(installed));
        }
      } else if (installed.Edition() == product.Edition()) {
        // The other bitness of the same edition may stay, except for the designer, whose
        // other bitness is replaced unless it is the very same version.
        const bool sameVersion = installed.MajorAndRelease() == product.MajorAndRelease() &&
                                 installed.ServicePack() == product.ServicePack();
        if (product.IsDesignerFamily() && !sameVersion) {
          Add(messages_.OtherBitnessReplaced(installed), true, std::move(installed));
        }
      } else {
        Add(messages_.BitnessEditionsDiffer(installed, installed.FromSuite()), false, std::move(installed));
      }
    }
  }

  void CheckIntegrationPackage(const ProductRecord& product) {
    const std::vector<std::wstring> allowed = AllowedBaseEditions(product);
    const std::vector<ProductRecord> bases = BaseProductInstallations(context_.detection, product);
    const bool baseInstalled = std::any_of(bases.begin(), bases.end(), [&](const ProductRecord& base) {
      return base.VersionDisplay() == product.VersionDisplay() && base.Is64Bit() == product.Is64Bit() &&
             std::find(allowed.begin(), allowed.end(), base.Edition()) != allowed.end();
    });
    if (!baseInstalled) {
      Add(messages_.IntegrationPackageNeedsBase(product), false, std::nullopt);
      return;
    }
    for (ProductRecord& installed : Installations(product)) {
      if (HaveSameMajor(product, installed) && installed.Is64Bit() == product.Is64Bit()) {
        Add(messages_.ReplacesParts(), true, std::move(installed));
      }
    }
  }

  void CheckSpreadsheetAddIn(const ProductRecord& product) {
    for (ProductRecord& installed : Installations(product)) Add(messages_.ReplacesParts(), true, std::move(installed));
  }

  bool IsPackageProductId(const std::wstring& productId) const {
    return std::any_of(package_.products.begin(), package_.products.end(),
                       [&](const ProductRecord& product) { return product.ProductId() == productId; });
  }

  bool MainPackageInstalled() const {
    const SetupPackage* main = context_.packages.Main();
    return main && IsPackageInstalled(context_.detection, *main);
  }

  // The suite installation that an installed member stands for.
  static ProductRecord InstalledSuite(const ProductRecord& member, std::wstring edition) {
    return ProductRecord(L"FD::" + edition, member.FullVersionString(), member.Is64Bit(), member.Language(), true);
  }

  void CheckSuite(const ProductRecord& first) {
    const ProductRecord suite(package_.productId, first.FullVersionString(), first.Is64Bit(), first.Language(), true);
    const bool maintenance = MainPackageInstalled();
    for (const ProductRecord& member : package_.products) {
      for (ProductRecord& installed : Installations(member)) {
        const bool ownInstallation = maintenance && installed.FromSuite() && IsPackageProductId(installed.ProductId()) &&
                                     Compare(installed, suite) == 0 && installed.Is64Bit() == suite.Is64Bit();
        if (ownInstallation || !HaveSameMajor(installed, member)) continue;
        if (installed.Is64Bit() == member.Is64Bit()) {
          if (!installed.FromSuite()) {
            Add(messages_.ReplacesParts(), true, std::move(installed));
            continue;
          }
          // The schema client belongs only to the Enterprise suite.
          const ProductRecord installedSuite =
              InstalledSuite(installed, installed.ProductId().starts_with(L"MB::") ? L"E" : installed.Edition());
          const bool listed = std::any_of(result_.items.begin(), result_.items.end(), [&](const ConflictItem& item) {
            return item.installedProduct && AreEqual(*item.installedProduct, installedSuite);
          });
          if (!listed) Replace(messages_.AlreadyInstalled(installedSuite, false), true, installedSuite);
        } else if (installed.Edition() != member.Edition()) {
          if (installed.FromSuite()) {
            Replace(messages_.BitnessEditionsDiffer(InstalledSuite(installed, installed.Edition()), false), false,
                    std::nullopt);
            return;
          }
          Add(messages_.BitnessEditionsDiffer(installed, false), false, std::move(installed));
        }
      }
    }
  }

  const AnalysisContext& context_;
  const SetupPackage& package_;
  ConflictMessages messages_;
  ConflictAnalysis result_;
};

}  // namespace

ConflictAnalysis AnalyzeConflicts(const AnalysisContext& context, const SetupPackage& package) {
  return ConflictFinder(context, package).Run();
}

}  // namespace setup
