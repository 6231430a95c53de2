// Functions of system libraries looked up on first use. The console modes must start as
// fast as a plain console program: importing user32, shell32 or msi.dll statically would
// initialise the windowing system (and under Wine connect to the display) in every run, and
// even advapi32 brings its own dependencies into every start, so the launcher imports only
// kernel32 and the C runtime. Every other library is loaded when a function of it is first
// needed, from the system folder alone (system_library.h).
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

// The function of a system library as an expression, looked up once per call site. For the
// libraries every Windows has (user32, gdi32, advapi32) and functions they always export.
#define SETUP_CALL(library, function)                                                                       \
  ([]() {                                                                                                    \
    static const auto pointer = ::setup::platform::win32::SystemFunction<decltype(&::function)>(library, #function); \
    return pointer;                                                                                          \
  }())
#define ADVAPI32(function) SETUP_CALL(L"advapi32.dll", function)
