// Windows Installer's compressed form of a product code, used as a registry key name.
#pragma once

#include <string>
#include <string_view>

namespace setup {

// "{12345678-9ABC-DEF0-1234-56789ABCDEF0}" becomes "87654321CBA90FED21436587A9CBED0F": braces
// and dashes dropped, the first three groups reversed, and in the last two groups each pair
// of characters swapped. Empty when the text is not a braced GUID of that shape.
std::wstring PackedProductCode(std::wstring_view productCode);

}  // namespace setup
