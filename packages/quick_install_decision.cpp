#include "packages/quick_install_decision.h"

#include <algorithm>

#include "packages/conflict_analysis.h"
#include "packages/custom_install_folder.h"
#include "packages/package_queries.h"
#include "packages/previous_installation.h"
#include "packages/quick_install_adjustment.h"
#include "run/log_lines.h"
#include "run/setup_log.h"

namespace setup {
namespace {

// Conflicts that the user would have to resolve rule out a quick install. Wendrak
// sub-packages are left out: the install sequence removes their conflicts itself.
bool AnyPackageBlocked(const AnalysisContext& context, const PackageList& packages) {
  for (const SetupPackage& package : packages.packages) {
    if (!package.main && IsWendrakPackage(package)) continue;
    if (AnalyzeConflicts(context, package).blocking) return true;
  }
  return false;
}

bool OffersUpgradeOf(const AnalysisContext& context, const SetupPackage& main, const PreviousInstallation& previous) {
  if (!FirstProductIsDesktopProduct(main) && !FirstProductIsServerProduct(main)) return false;
  if (FirstProductIsDesktopProduct(main) && previous.hasActiveXControl && previous.sameMajor) return false;
  if (previous.sameMajor || main.productId.starts_with(L"PS::")) return true;
  // A new major version goes into a new default folder; an installation that the user put
  // elsewhere needs the full wizard to choose the new folder.
  return std::none_of(previous.installations.begin(), previous.installations.end(),
                      [&](const ProductRecord& installed) {
                        return !CustomInstallFolder(context.detection, installed).empty();
                      });
}

}  // namespace

QuickInstallDecision DecideQuickInstall(const DetectionContext& detection, const LanguageCatalog& texts,
                                        PackageList& packages, std::wstring_view subPackages, SetupLog& log) {
  QuickInstallDecision decision;
  const SetupPackage* main = packages.Main();
  if (!main) return decision;
  const AnalysisContext context{detection, packages, texts};
  if (AnyPackageBlocked(context, packages)) return decision;

  log.WriteLog(log_lines::kDetectingUpgrade);
  PreviousInstallation previous = FindPreviousInstallation(context, *main);
  if (!previous.found) return decision;

  decision.offer = OffersUpgradeOf(context, *main, previous);
  log.WriteLog(log_lines::kUpgradeOf, previous.displayName);
  if (previous.sameSlot) log.WriteLog(log_lines::kInstallationReplaced);

  if (!previous.installations.empty() && packages.packages.size() >= 2) {
    AdjustSubPackagesForQuickInstall(context.detection, packages, previous.installations, subPackages);
  }
  if (decision.offer) {
    decision.installedDisplayName = std::move(previous.displayName);
    decision.newMajorVersion = !previous.sameMajor;
    decision.installations = std::move(previous.installations);
  }
  return decision;
}

}  // namespace setup
