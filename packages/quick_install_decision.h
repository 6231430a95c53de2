// Whether the Welcome page offers a quick install: an upgrade of the previous installation
// that runs by itself with the options chosen last time.
#pragma once

#include <string>
#include <vector>

#include "packages/detection_context.h"
#include "packages/product_record.h"
#include "packages/setup_package.h"

namespace setup {

class LanguageCatalog;
class SetupLog;

struct QuickInstallDecision {
  bool offer = false;
  std::wstring installedDisplayName;
  // The upgrade moves to a new major version.
  bool newMajorVersion = false;
  // The installations the quick install upgrades: the main product's (first), then the
  // sub-packages installed with its version. Empty without an offer.
  std::vector<ProductRecord> installations;
};

// Runs the conflict and previous-installation analysis over the launcher's packages, writes
// the upgrade lines to the log and, when a previous installation was found in a multi-package
// setup, adjusts the sub-packages' handle flags (keeping those that `subPackages`, the
// command line's value, selects). With an offer, the caller binds the setup options to
// `installations`.
QuickInstallDecision DecideQuickInstall(const DetectionContext& detection, const LanguageCatalog& texts,
                                        PackageList& packages, std::wstring_view subPackages, SetupLog& log);

}  // namespace setup
