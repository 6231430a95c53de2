// Where a package keeps its copy of the launcher, which its Add/Remove Programs entry starts
// for later maintenance: the package folder and the running launcher's file name.
#pragma once

#include <string>
#include <string_view>

#include "packages/setup_package.h"

namespace setup {

std::wstring LauncherCopyPath(const SetupPackage& package, std::wstring_view launcherPath);

}  // namespace setup
