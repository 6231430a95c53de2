// Base64 text in the line-broken form of the Windows byte-to-text conversion.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace setup::platform::host {

// Lines of 64 characters, each (the last one too) followed by "\r\n"; no bytes give "".
std::wstring Base64Lines(std::span<const std::uint8_t> bytes);

}  // namespace setup::platform::host
