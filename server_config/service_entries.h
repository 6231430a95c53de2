// Building the service entries of the launcher's packages: one per configurable server
// component, set from its kind's defaults, the service already installed on the machine and
// the product's existing configuration file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "packages/setup_package.h"
#include "platform/platform.h"
#include "server_config/service_entry.h"

namespace setup {

// The entries of every package in package order, each initialised. The packages must outlive
// the entries.
std::vector<ServiceEntry> BuildServiceEntries(platform::Platform& platform, const PackageList& packages);

// The web front-end of the workflow server edits the certificate files of the workflow
// server, the client interface those of the admin interface (the last of each when several).
void PairServiceEntries(std::vector<ServiceEntry>& entries);

// base + version + suffix for the first of version, version - 1 and version - 2 whose file
// exists; base + version + suffix when none does.
std::wstring VersionedConfigurationPath(platform::Platform& platform, std::wstring_view base, int version,
                                        std::wstring_view suffix);

}  // namespace setup
