// The install sequence that the wizard's install page runs: it checks the platform, chooses
// between Extract, Repair, Remove, Modify and Install, runs that over the packages, has the
// main product's Add/Remove Programs entry rewritten, and records the outcome.
#pragma once

#include "install/install_request.h"
#include "run/run_context.h"

namespace setup {

// Leaves the outcome in the run's result record.
void RunInstallSequence(const RunContext& run, const InstallRequest& request);

}  // namespace setup
