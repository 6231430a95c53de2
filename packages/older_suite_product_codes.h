// The Windows Installer product codes under which older suite versions were installed, when
// the suite was one single installer package. The upgrade analysis looks them up when the
// registry shows no suite installation.
#pragma once

#include <span>
#include <string_view>

namespace setup {

struct OlderSuiteInstallation {
  std::wstring_view version;      // "2019.03.01"
  std::wstring_view edition;      // "E" or "P"
  bool is64Bit = false;
  std::wstring_view productCode;  // GUID in braces
};

// Newest version first; per version the rows (E, 32-bit), (E, 64-bit), (P, 32-bit), (P, 64-bit).
std::span<const OlderSuiteInstallation> OlderSuiteInstallations();

}  // namespace setup
