// The package folder: created with its parents before a package is unpacked into it.
#pragma once

#include <string_view>

#include "platform/platform.h"
#include "run/setup_log.h"

namespace setup {

// Creates the folder and its missing parents. The folder itself is created with an access
// list of its own, not inherited from the base folder (which every user may write to): full
// access for SYSTEM and Administrators, read and execute for Users, since it holds what the
// launcher installs with administrator rights and the launcher copy that Add/Remove Programs
// starts with them. The list is given to the creation, so the folder never exists without it.
// Where no list can be given the folder is made without one, and that is logged. True when
// the folder exists afterwards; false also when it appeared, made by someone else, between
// the look and the creation.
bool CreatePackageFolder(platform::Platform& platform, SetupLog& log, std::wstring_view folder);

}  // namespace setup
