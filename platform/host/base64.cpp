#include "platform/host/base64.h"

#include <algorithm>

#include "foundation/base64_lines.h"

namespace setup::platform::host {

std::wstring Base64Lines(std::span<const std::uint8_t> bytes) {
  static constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

  std::wstring encoded;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t group = std::uint32_t{bytes[i]} << 16;
    if (count > 1) group |= std::uint32_t{bytes[i + 1]} << 8;
    if (count > 2) group |= bytes[i + 2];
    for (std::size_t k = 0; k < 4; ++k) {
      encoded += k <= count ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : L'=';
    }
  }
  return LayOutBase64Lines(encoded);
}

}  // namespace setup::platform::host
