// Reading what a product's installer left in its "Setup" key below
// "SOFTWARE\Tarquel\<registry name>\Installation_v...".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "foundation/registry_key.h"
#include "packages/product_record.h"
#include "platform/file_system.h"

namespace setup {

// Values of the "Setup" key.
inline constexpr wchar_t kSetupValueVersion[] = L"Version";
inline constexpr wchar_t kSetupValueFromSuite[] = L"InstalledFromFendral";
inline constexpr wchar_t kSetupValueProductId[] = L"ProductId";
inline constexpr wchar_t kSetupValueLanguage[] = L"Language";
inline constexpr wchar_t kSetupValueApplicationPath[] = L"ApplicationPath";

// The id an installation counts under: the schema server registers itself as "MB::Z", which
// the search for "MB::S" accepts as its own.
std::wstring AttributedProductId(std::wstring_view storedId, std::wstring_view searchedId);

// An ActiveX control ships beside the application: a file at its path with the extension
// "ocx" exists.
bool HasActiveXControlBeside(const platform::FileSystem& files, std::wstring_view applicationPath);

// The installation recorded in an opened "Setup" key, or none when its "Version" is empty. A
// missing "ProductId" attributes the installation to the searched product; the bitness is
// read from the key's path ("_x64").
std::optional<ProductRecord> ReadInstallation(const ICBSRegistryKey& setupKey, std::wstring_view searchedId,
                                              const platform::FileSystem& files);

}  // namespace setup
