// Removing an installed product that stands in the way of the packages, as the
// system-integrity page and the install sequence do it.
#pragma once

#include "packages/product_record.h"
#include "run/run_context.h"

namespace setup {

// Logs the removal and removes the product from its install source, silently when the
// launcher runs silently (with basic user interface otherwise). On failure it tells the user
// about a missing MSI file, records the failure as the run's pending error and logs it.
// True when the product was removed.
bool RemoveConflictingInstallation(const RunContext& run, ProductRecord& installed);

}  // namespace setup
