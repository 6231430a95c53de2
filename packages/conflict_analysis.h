// The system-integrity check of a package: which installed products stand in its way, and
// whether the launcher may remove each of them by itself.
#pragma once

#include "packages/analysis_context.h"
#include "packages/conflict_item.h"

namespace setup {

// The rule depends on the kind of the package's product; a suite package checks every member
// against every installation of it. Reads the machine afresh on every call.
ConflictAnalysis AnalyzeConflicts(const AnalysisContext& context, const SetupPackage& package);

}  // namespace setup
