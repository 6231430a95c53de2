// A cheap test for data that deflate cannot shrink (already compressed or encrypted payload, as
// large packages often embed), so that such a block is stored instead of being searched for
// matches that are not there. It errs towards "compressible": a block it passes would have
// deflated by about 1 % at the very most. Integer arithmetic only, so that every build of the
// tool decides alike.
#pragma once

#include <cstddef>
#include <cstdint>

namespace setup::pack {

constexpr std::size_t kLargestTestedSize = 65535;

// True when the bytes are near-uniformly distributed (collision entropy of at least 7.95 bits a
// byte, so no coding of single bytes saves more than 0.7 %) and hardly repeat themselves (4-byte
// repeats cover under 0.5 % of the data). Data longer than kLargestTestedSize is never reported.
bool LooksIncompressible(const std::uint8_t* data, std::size_t size);

}  // namespace setup::pack
