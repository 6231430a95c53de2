// Whether a file name stored in a cabinet stays inside the folder it is expanded into.
#pragma once

#include <string_view>

namespace setup {

// True for a relative name of plain components ("a.msi", "sub\b.txt"). False for an empty
// name, an absolute or UNC path, a drive letter or any other colon, an empty component, a
// component of dots and blanks alone ("..", ". "), which the system would strip to a parent
// or the folder itself, and a reserved device name ("NUL", "com1.txt").
bool IsContainedCabinetEntryName(std::string_view name);

}  // namespace setup
