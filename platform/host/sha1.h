// SHA-1 message digest.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace setup::platform::host {

std::array<std::uint8_t, 20> Sha1(std::string_view data);

}  // namespace setup::platform::host
