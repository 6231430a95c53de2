// The earlier installation that this setup upgrades, if there is one.
#pragma once

#include <string>
#include <vector>

#include "packages/analysis_context.h"
#include "packages/product_record.h"

namespace setup {

struct PreviousInstallation {
  bool found = false;
  // The installation occupies the product slot that the package will take.
  bool sameSlot = false;
  bool sameMajor = false;
  bool hasActiveXControl = false;
  std::wstring displayName;
  // The installed products found: one, or the installed members of the suite.
  std::vector<ProductRecord> installations;
};

// Nothing is found for an installed package (that is a maintenance run, not an upgrade). A
// single product finds its newest installation that is not newer than the package; a suite
// finds its members installed from the suite, or else an older suite that was one single
// installer package.
PreviousInstallation FindPreviousInstallation(const AnalysisContext& context, const SetupPackage& package);

}  // namespace setup
