// Which blocks are stored without deflating: only those that deflate could hardly shrink.
#include "incompressible_data.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "byte_order.h"
#include "test_files.h"

namespace setup::pack {
namespace {

Bytes RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  Bytes data(size);
  for (auto& byte : data) byte = static_cast<std::uint8_t>(random());
  return data;
}

std::size_t DeflatedSize(const Bytes& data) {
  Bytes out(compressBound(static_cast<uLong>(data.size())));
  uLongf size = static_cast<uLongf>(out.size());
  EXPECT_EQ(compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), Z_BEST_COMPRESSION), Z_OK);
  return size;
}

TEST(IncompressibleData, RandomBlocksAreStoredAndDeflateCouldNotHaveShrunkThem) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    Bytes data = RandomBytes(32768, seed);
    EXPECT_TRUE(LooksIncompressible(data.data(), data.size())) << "seed " << seed;
    EXPECT_GE(DeflatedSize(data), data.size()) << "seed " << seed;
  }
}

TEST(IncompressibleData, BlocksThatDeflateShrinksAreNot) {
  auto expect_compressible = [](const Bytes& data, const char* what) {
    EXPECT_FALSE(LooksIncompressible(data.data(), data.size())) << what;
    EXPECT_LT(DeflatedSize(data) * 100, data.size() * 99) << what << ": deflate should save over 1 %";
  };
  expect_compressible(testing::MixedData(32768, 1), "text runs between random runs");

  // Every byte value equally often, but in a repeating order: only the repeat check sees it.
  Bytes cycle(32768);
  for (std::size_t i = 0; i < cycle.size(); ++i) cycle[i] = static_cast<std::uint8_t>(i * 7);
  expect_compressible(cycle, "a repeating cycle of all byte values");

  // Random bytes with one 600-byte stretch copied further on (2 % of the block).
  Bytes copied = RandomBytes(32768, 3);
  std::copy(copied.begin() + 1000, copied.begin() + 1600, copied.begin() + 20000);
  EXPECT_FALSE(LooksIncompressible(copied.data(), copied.size())) << "a copied stretch";

  // Random bytes drawn from 200 of the 256 values.
  Bytes narrow = RandomBytes(32768, 4);
  for (auto& byte : narrow) byte = static_cast<std::uint8_t>(byte % 200);
  expect_compressible(narrow, "bytes from 200 values");
}

TEST(IncompressibleData, ShortAndOverlongDataIsDeflated) {
  Bytes small = RandomBytes(600, 5);
  EXPECT_FALSE(LooksIncompressible(small.data(), small.size()));
  Bytes large = RandomBytes(kLargestTestedSize + 1, 6);
  EXPECT_FALSE(LooksIncompressible(large.data(), large.size()));
  EXPECT_TRUE(LooksIncompressible(large.data(), kLargestTestedSize));
}

}  // namespace
}  // namespace setup::pack
