#include "packages/packed_product_code.h"

#include <algorithm>
#include <array>

namespace setup {

std::wstring PackedProductCode(std::wstring_view productCode) {
  constexpr std::array<std::size_t, 5> kGroupLengths = {8, 4, 4, 4, 12};
  if (productCode.size() != 38 || productCode.front() != L'{' || productCode.back() != L'}') return {};
  std::wstring packed;
  std::size_t at = 1;
  for (std::size_t group = 0; group < kGroupLengths.size(); ++group) {
    std::wstring part(productCode.substr(at, kGroupLengths[group]));
    at += kGroupLengths[group];
    if (group + 1 < kGroupLengths.size() && productCode[at++] != L'-') return {};
    if (group < 3) {
      std::reverse(part.begin(), part.end());
    } else {
      for (std::size_t i = 0; i + 1 < part.size(); i += 2) std::swap(part[i], part[i + 1]);
    }
    packed += part;
  }
  return packed;
}

}  // namespace setup
