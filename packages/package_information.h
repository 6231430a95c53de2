// Reading the package information: the packages the launcher's resources carry, or, when it
// carries none, the packages a workload file names.
#pragma once

#include <string>

#include "packages/package_resources.h"
#include "packages/setup_package_builder.h"
#include "run/setup_log.h"

namespace setup {

struct PackageInformationSources {
  const PackageResources& resources;
  std::wstring workloadPath;  // the "workload=" value of the command line
};

// Empties the list and fills it from the sources, logging each package. False when a package
// lacks its package code (reading stops after it), or the workload file is missing, unreadable
// or incomplete; the packages read up to then stay in the list.
bool ReadPackageInformation(PackageList& list, const PackageInformationSources& sources,
                            const PackageBuildContext& context, SetupLog& log);

}  // namespace setup
