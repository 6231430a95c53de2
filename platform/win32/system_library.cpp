#include "platform/win32/system_library.h"

#include <string>

namespace setup::platform::win32 {

namespace {

// Values of the search flags, for headers that declare them only for Windows 8.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

// Windows 7 knows the search flags only with its library-search update; without it the
// flags are refused as an invalid parameter, and the library is loaded by its full path in
// the system folder instead.
HMODULE LoadByFullSystemPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void RestrictLibrarySearchToSystemFolder() {
  // Looked up rather than imported: a Windows 7 without the update lacks the function.
  using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
  const auto setDefault = reinterpret_cast<SetDefaultDirectories>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault) setDefault(kSearchSystem32);
  SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  if (HMODULE module = LoadLibraryExW(name, nullptr, kSearchSystem32)) return module;
  return GetLastError() == ERROR_INVALID_PARAMETER ? LoadByFullSystemPath(name) : nullptr;
}

}  // namespace setup::platform::win32
