// One number of a version text, read the same way wherever versions are compared.
#pragma once

#include <cstdint>
#include <string_view>

namespace setup {

// The component's leading number, saturated to the 32-bit range as the C runtime does.
std::int32_t VersionComponentNumber(std::wstring_view text);

}  // namespace setup
