// How a package that Windows Installer does not install is known to be installed: its own
// registration key in the current user's Add/Remove Programs list.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry.h"

namespace setup {

// "Software\Microsoft\Windows\CurrentVersion\Uninstall\<packed product code>" below
// HKEY_CURRENT_USER; empty when the product code is not a GUID.
std::wstring NonMsiRegistrationKeyPath(std::wstring_view productCode);

// The registration key exists (in the 64-bit view for a 64-bit package).
bool IsNonMsiPackageRegistered(platform::Registry& registry, std::wstring_view productCode, bool is64Bit);

// The registration key exists and names another package code in "PackageGUID" (ignoring case).
bool IsNonMsiPackageFromOtherInstaller(platform::Registry& registry, std::wstring_view productCode,
                                       std::wstring_view packageCode, bool is64Bit);

}  // namespace setup
