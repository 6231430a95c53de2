// Whether a package folder that exists may be used with what it holds, and whether a program
// below the shared folder may be started. The package folders lie below a folder that every
// user may write to, and the launcher installs what they hold and starts programs with
// administrator rights: a user could have made a package folder before the launcher did and
// put a package of their own in it, or left it open to everyone.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "run/setup_log.h"

namespace setup {

// The folder is no link and its owner is Administrators, SYSTEM or the user running the
// launcher (an administrator; Wine makes every folder that user's).
bool IsOwnedByAdministrators(platform::Platform& platform, std::wstring_view folder);

// The MSI file's package code (its summary information) is `packageCode`, ignoring case.
bool CarriesPackageCode(platform::Platform& platform, std::wstring_view msi, std::wstring_view packageCode);

// Why the existing folder may not be used as it stands (the end of a log line); empty when it
// may: it is owned by administrators (above) and no entry of its list lets any other account
// change the folder or what it holds.
std::wstring PackageFolderDistrust(platform::Platform& platform, std::wstring_view folder);

// Why the program file may not be started with administrator rights (the end of a log line);
// empty when it may: it is a file and no link, owned by administrators, no entry of its list
// lets any other account change it, and its folder passes PackageFolderDistrust. A program
// that lies where another user may change it or swap it would run with the launcher's rights.
std::wstring ProgramFileDistrust(platform::Platform& platform, std::wstring_view path);

// The MSI an earlier run unpacked into the package folder: the folder's only "*.msi", when the
// folder may be used and that MSI carries the package's code. Otherwise an existing folder is
// removed (links in it are removed, not followed) with a log line saying why, so that the
// package is unpacked afresh into a folder this run makes; empty then.
std::wstring TrustedUnpackedMsi(platform::Platform& platform, SetupLog& log, std::wstring_view folder,
                                std::wstring_view packageCode);

// Before a package is unpacked into its folder: an existing folder that may not be used is
// removed, with a log line saying why. False when it is still there.
bool RemoveUntrustedPackageFolder(platform::Platform& platform, SetupLog& log, std::wstring_view folder);

}  // namespace setup
