// Functions of system libraries looked up on first use. The console modes must start as
// fast as a plain console program: importing user32, shell32 or msi.dll statically would
// initialise the windowing system (and under Wine connect to the display) in every run, so
// those libraries are loaded only when a function of theirs is first needed, from the
// system folder alone (system_library.h).
#pragma once

#include <windows.h>

#include "platform/win32/system_library.h"

namespace setup::platform::win32 {

// The function, or nullptr when the library or the function is missing.
template <class Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = LoadSystemLibrary(library);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Declares a function-local pointer to `function` of `library`, looked up once.
#define SETUP_SYSTEM_FUNCTION(library, function) \
  static const auto function##Ptr = ::setup::platform::win32::SystemFunction<decltype(&::function)>(library, #function)

}  // namespace setup::platform::win32
