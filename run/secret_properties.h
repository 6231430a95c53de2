// Installer properties whose values are secrets: the logon passwords of the server products'
// services ("<prefix>_Service_Password"). Their values never reach the setup log, the console
// or a file; wherever the command line is echoed they are masked.
#pragma once

#include <string>
#include <string_view>

namespace setup {

inline constexpr std::wstring_view kServicePasswordKey = L"Service_Password";
// What stands in a masked value's place.
inline constexpr std::wstring_view kMaskedValue = L"********";

// The property name ends with "_Service_Password", compared ignoring case.
bool IsSecretPropertyName(std::wstring_view name);

// The command-line text with the value of every secret property replaced by the mask; the
// arguments are read as the system splits them (blanks end an argument outside double quotes).
std::wstring MaskSecretProperties(std::wstring_view commandLine);

}  // namespace setup
