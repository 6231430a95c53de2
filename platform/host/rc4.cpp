#include "platform/host/rc4.h"

#include <array>
#include <utility>

namespace setup::platform::host {

void Rc4Apply(std::span<const std::uint8_t> key, std::span<std::uint8_t> bytes) {
  std::array<std::uint8_t, 256> s{};
  for (int i = 0; i < 256; ++i) s[i] = static_cast<std::uint8_t>(i);
  if (!key.empty()) {
    std::uint8_t j = 0;
    for (int i = 0; i < 256; ++i) {
      j = static_cast<std::uint8_t>(j + s[i] + key[static_cast<std::size_t>(i) % key.size()]);
      std::swap(s[i], s[j]);
    }
  }
  std::uint8_t i = 0, j = 0;
  for (std::uint8_t& byte : bytes) {
    i = static_cast<std::uint8_t>(i + 1);
    j = static_cast<std::uint8_t>(j + s[i]);
    std::swap(s[i], s[j]);
    byte ^= s[static_cast<std::uint8_t>(s[i] + s[j])];
  }
}

}  // namespace setup::platform::host
