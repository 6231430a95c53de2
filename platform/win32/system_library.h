// System libraries are loaded from the system folder alone. The launcher runs with
// administrator rights from a folder its user can write to (a Downloads folder): a library
// looked up beside the program, in the current folder or along PATH could be anyone's.
#pragma once

#include <windows.h>

namespace setup::platform::win32 {

// Restricts the search of every later load, also the dependencies that system libraries
// load themselves, to the system folder, and drops the current folder from the search.
// The process's first act: nothing may be loaded before it.
void RestrictLibrarySearchToSystemFolder();

// Loads a library of the system folder by its bare name. Side-by-side redirection still
// applies, so comctl32.dll is version 6 as the manifest asks. Null when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

}  // namespace setup::platform::win32
