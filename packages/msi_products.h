// What Windows Installer's product list says about the launcher's products.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "packages/product_record.h"
#include "platform/installer.h"

namespace setup {

// Installer product properties read here and by the analysis, with the buffer each one is
// read through (characters, terminating zero included).
struct MsiProductProperty {
  std::wstring_view name;
  std::size_t bufferChars;
};
inline constexpr MsiProductProperty kMsiProductId{L"ProductID", 512};
inline constexpr MsiProductProperty kMsiVersionString{L"VersionString", 256};
inline constexpr MsiProductProperty kMsiProductName{L"ProductName", 1024};
inline constexpr MsiProductProperty kMsiPackageCode{L"PackageCode", 256};
inline constexpr MsiProductProperty kMsiInstallSource{L"InstallSource", 4096};

std::optional<std::wstring> ReadMsiProductProperty(platform::Installer& installer, std::wstring_view productCode,
                                                   const MsiProductProperty& property);

// The product code is among the installed products (exact comparison of the enumerated codes).
bool IsMsiProductInstalled(platform::Installer& installer, std::wstring_view productCode);

// The version text the product's package gives Windows Installer: "2023.00.01.03" or
// "2023.00.01", and "7.2.1" or "7.2" for products shown with a short version.
std::wstring ExpectedMsiVersionString(const ProductRecord& record);

// The Windows Installer product code of the installed product the record describes: the
// first installed product with the record's id, version text and bitness (any bitness for a
// spreadsheet add-in). Cached in the record once found; empty when none matches.
const std::wstring& FindMsiProductCode(platform::Installer& installer, ProductRecord& record);

}  // namespace setup
