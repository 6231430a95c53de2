// The data blocks of an MSZIP cabinet folder: each holds up to 32 KB of input, deflated on its
// own ("CK" + raw deflate, starting with an empty history; input that looks incompressible goes
// into one stored deflate block), behind an 8-byte header with its checksum and sizes. Because no block depends on another, blocks are compressed on several
// threads at once; each is compressed the same way on any thread, so the cabinet's bytes do not
// depend on the number of threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace setup::pack {

constexpr std::size_t kCabinetBlockSize = 32768;

// The checksum of one data block as the cabinet format defines it (seeded XOR of 32-bit words).
std::uint32_t CabinetChecksum(const std::uint8_t* data, std::size_t size, std::uint32_t seed);

// Fills `buffer` (kCabinetBlockSize bytes) with the input of the next block; returns its length.
using BlockSource = std::function<std::size_t(std::uint8_t* buffer)>;
// Takes one finished data block, header included.
using BlockSink = std::function<void(const std::uint8_t* block, std::size_t size)>;

// One compressing thread per processor.
unsigned DefaultCompressionThreads();

// Reads `block_count` blocks from `source`, compresses them on `threads` worker threads and hands
// them to `sink` in input order. `source` and `sink` run on the calling thread. At most four
// blocks per thread are held at once, so memory does not grow with the input. An exception from
// `source`, `sink` or a compressor stops the workers and reaches the caller.
void CompressCabinetBlocks(std::uint64_t block_count, unsigned threads, const BlockSource& source, const BlockSink& sink);

}  // namespace setup::pack
