// The packages of a workload file: a JSON document whose top-level "packages" array
// describes them, the first one being the main package.
#pragma once

#include <string>

#include "launcher/setup_log.h"
#include "packages/setup_package_builder.h"

namespace setup {

// Appends the packages of the file to the list, logging each one. False, with its log line,
// when the file is missing, is not such a document or holds no package; also false when a
// package lacks its package code or its package file.
bool ReadWorkloadPackages(PackageList& list, const std::wstring& path, const PackageBuildContext& context,
                          SetupLog& log);

}  // namespace setup
