// The package folder: created with its parents before a package is unpacked into it.
#pragma once

#include <string_view>

#include "platform/platform.h"
#include "run/setup_log.h"

namespace setup {

// Creates the folder and its missing parents. A folder this call creates gets an access list
// of its own, not inherited from the base folder (which is open to EVERYONE): full access for
// SYSTEM and Administrators, read and execute for Users, since it holds the launcher copy that
// Add/Remove Programs later starts with administrator rights. A failure to set that list is
// logged and the folder is used all the same. True when the folder exists afterwards.
bool CreatePackageFolder(platform::Platform& platform, SetupLog& log, std::wstring_view folder);

}  // namespace setup
