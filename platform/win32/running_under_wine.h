// Whether the process runs under Wine rather than Windows. The adapters ask it only where they
// work around a difference of Wine's that would change what Windows does.
#pragma once

#include <windows.h>

namespace setup::platform::win32 {

inline bool RunningUnderWine() {
  static const bool wine = [] {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

}  // namespace setup::platform::win32
