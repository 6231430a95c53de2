// The exit sequence's clean-up of package folders: the folders of packages that the run did
// not leave installed, and the self-deleting batch file that removes the main package's
// folder after the uninstall of a multi-package setup.
#pragma once

#include "packages/package_cache.h"
#include "run/run_context.h"

namespace setup {

// Applies the removal rules one after the other, so that a folder may be visited more than
// once; with an empty package list none applies. Only folders right below the base folder of
// `cacheRoot` are ever deleted, however their paths are spelt.
void RemoveUnneededPackageFolders(const RunContext& run, PackageCacheRoot& cacheRoot);

// After a successful uninstall of a setup with at least two packages: writes "SelfDelete.bat"
// as a new file that only administrators may change into a folder of its own below
// `cacheRoot` that only they may change, and starts it. Nothing is written or started when
// the base folder cannot be had, when the main package's folder is not right below it, or in
// any other case; when no such folder or file can be had, that is logged.
void StartSelfDeletingCleanup(const RunContext& run, PackageCacheRoot& cacheRoot);

}  // namespace setup
