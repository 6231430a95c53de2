// The block pipeline: order, bounded read-ahead and failures, whatever the number of threads.
#include "cabinet_data_blocks.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <stdexcept>
#include <vector>

#include "byte_order.h"
#include "pack_error.h"
#include "test_files.h"

namespace setup::pack {
namespace {

// Input of block `index`: a tag byte then data that compresses partly, every third block data
// that does not compress and is stored.
std::size_t FillBlock(std::uint64_t index, std::uint8_t* buffer) {
  std::mt19937 random(static_cast<unsigned>(index));
  auto data = testing::MixedData(kCabinetBlockSize, static_cast<unsigned>(index));
  if (index % 3 == 2) {
    for (auto& byte : data) byte = static_cast<std::uint8_t>(random());
  }
  std::copy(data.begin(), data.end(), buffer);
  buffer[0] = static_cast<std::uint8_t>(index);
  return kCabinetBlockSize;
}

// Undoes one data block after checking its header: sizes, checksum, "CK" and a deflate stream
// that needs no earlier history.
Bytes ExpandBlock(const std::uint8_t* block, std::size_t size) {
  EXPECT_GE(size, 10u);
  const std::size_t packed = ReadU16(block + 4);
  EXPECT_EQ(packed + 8, size);
  EXPECT_EQ(ReadU32(block), CabinetChecksum(block + 4, 4, CabinetChecksum(block + 8, packed, 0)));
  EXPECT_EQ(block[8], 'C');
  EXPECT_EQ(block[9], 'K');
  Bytes out(ReadU16(block + 6));
  z_stream stream{};
  inflateInit2(&stream, -MAX_WBITS);
  stream.next_in = const_cast<std::uint8_t*>(block + 10);
  stream.avail_in = static_cast<uInt>(packed - 2);
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
  EXPECT_EQ(stream.avail_out, 0u);
  inflateEnd(&stream);
  return out;
}

TEST(CabinetDataBlocks, BlocksArriveInInputOrderWithBoundedReadAhead) {
  for (unsigned threads : {1u, 2u, 5u}) {
    constexpr std::uint64_t kBlocks = 60;
    std::uint64_t read = 0;
    std::uint64_t written = 0;
    std::uint64_t most_ahead = 0;
    CompressCabinetBlocks(
        kBlocks, threads,
        [&](std::uint8_t* buffer) {
          most_ahead = std::max(most_ahead, read - written + 1);
          return FillBlock(read++, buffer);
        },
        [&](const std::uint8_t* block, std::size_t size) {
          Bytes expected(kCabinetBlockSize);
          FillBlock(written++, expected.data());
          EXPECT_EQ(ExpandBlock(block, size), expected) << "block " << written - 1 << " with " << threads << " threads";
        });
    EXPECT_EQ(read, kBlocks);
    EXPECT_EQ(written, kBlocks);
    EXPECT_LE(most_ahead, 4u * threads) << threads << " threads";
  }
}

TEST(CabinetDataBlocks, ShortLastBlockAndNoBlocks) {
  std::vector<std::size_t> sizes;
  CompressCabinetBlocks(
      2, 2, [first = true](std::uint8_t* buffer) mutable { return first ? (first = false, FillBlock(0, buffer)) : std::size_t{1}; },
      [&](const std::uint8_t* block, std::size_t size) { sizes.push_back(ExpandBlock(block, size).size()); });
  EXPECT_EQ(sizes, (std::vector<std::size_t>{kCabinetBlockSize, 1}));

  bool called = false;
  CompressCabinetBlocks(0, 2, [&](std::uint8_t*) { return called = true, std::size_t{0}; },
                        [&](const std::uint8_t*, std::size_t) { called = true; });
  EXPECT_FALSE(called);
}

TEST(CabinetDataBlocks, FailureOfTheSourceOrTheSinkStopsTheWorkersAndReachesTheCaller) {
  std::uint64_t read = 0;
  EXPECT_THROW(CompressCabinetBlocks(
                   40, 2,
                   [&](std::uint8_t* buffer) {
                     if (read == 17) throw PackError("cannot read");
                     return FillBlock(read++, buffer);
                   },
                   [](const std::uint8_t*, std::size_t) {}),
               PackError);
  EXPECT_EQ(read, 17u);

  std::uint64_t written = 0;
  EXPECT_THROW(CompressCabinetBlocks(
                   40, 3, [n = std::uint64_t{0}](std::uint8_t* buffer) mutable { return FillBlock(n++, buffer); },
                   [&](const std::uint8_t*, std::size_t) {
                     if (++written == 5) throw std::runtime_error("disk full");
                   }),
               std::runtime_error);
  EXPECT_EQ(written, 5u);
}

}  // namespace
}  // namespace setup::pack
