#include "incompressible_data.h"

#include <array>

#include "byte_order.h"

namespace setup::pack {
namespace {

// Sum of squared byte counts against n^2 / 256: random bytes give a factor near 1 + 256 / n;
// 2^0.05 (1.0353) is collision entropy 7.95 bits.
bool NearlyUniform(const std::uint8_t* data, std::size_t size) {
  std::array<std::uint32_t, 256> counts{};
  for (std::size_t i = 0; i < size; ++i) ++counts[data[i]];
  std::uint64_t squares = 0;
  for (std::uint32_t count : counts) squares += static_cast<std::uint64_t>(count) * count;
  const std::uint64_t n = size;
  return squares * 256 * 10000 <= n * n * 10353;
}

// Bytes covered by 4-byte-or-longer repeats that a one-entry-per-hash table finds.
std::size_t RepeatedBytes(const std::uint8_t* data, std::size_t size) {
  constexpr unsigned kHashBits = 14;
  std::array<std::uint16_t, std::size_t{1} << kHashBits> last{};  // position + 1, 0 for none
  std::size_t repeated = 0;
  for (std::size_t i = 0; i + 4 <= size;) {
    const std::uint32_t word = ReadU32(data + i);
    const std::uint32_t hash = (word * 2654435761u) >> (32 - kHashBits);
    const std::uint32_t candidate = last[hash];
    last[hash] = static_cast<std::uint16_t>(i + 1);
    if (candidate == 0 || ReadU32(data + candidate - 1) != word) {
      ++i;
      continue;
    }
    std::size_t length = 4;
    while (i + length < size && data[candidate - 1 + length] == data[i + length]) ++length;
    repeated += length;
    i += length;
  }
  return repeated;
}

}  // namespace

bool LooksIncompressible(const std::uint8_t* data, std::size_t size) {
  if (size > kLargestTestedSize) return false;
  return NearlyUniform(data, size) && RepeatedBytes(data, size) * 200 < size;
}

}  // namespace setup::pack
