// What the upgrade and conflict analysis reads: the machine, the launcher's packages (the
// main package's state decides between a maintenance run and an upgrade) and the texts of
// the current user-interface language.
#pragma once

#include "packages/detection_context.h"
#include "packages/setup_package.h"

namespace setup {

class LanguageCatalog;

struct AnalysisContext {
  DetectionContext detection;
  const PackageList& packages;
  const LanguageCatalog& texts;
};

}  // namespace setup
