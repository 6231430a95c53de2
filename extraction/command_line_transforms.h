// The transforms an administrator names with TRANSFORMS= are merged into each package's
// unpacked database before the installer is called with it, and the files they add are
// copied beside the database.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "run/setup_log.h"

namespace setup {

// The entries of a TRANSFORMS value in order: split at ";", empty entries (as from a
// trailing ";") left out.
std::vector<std::wstring> SplitTransformList(std::wstring_view transforms);

// Merges the transforms into the database `packageFile`, taking the files they add from
// `currentFolder` into the database's folder, and logs the outcome; the installation goes on
// whatever it is. Does nothing for an empty value.
void ApplyCommandLineTransforms(platform::Platform& platform, SetupLog& log, std::wstring_view packageFile,
                                std::wstring_view transforms, std::wstring_view currentFolder);

}  // namespace setup
