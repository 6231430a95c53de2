// RC4 stream cipher.
#pragma once

#include <cstdint>
#include <span>

namespace setup::platform::host {

// Encrypts (or decrypts) the bytes in place with the key stream of a freshly keyed RC4.
void Rc4Apply(std::span<const std::uint8_t> key, std::span<std::uint8_t> bytes);

}  // namespace setup::platform::host
