#include "cabinet_data_blocks.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "byte_order.h"
#include "incompressible_data.h"
#include "pack_error.h"

namespace setup::pack {
namespace {

constexpr std::size_t kDataHeaderSize = 8;
constexpr unsigned kBlocksPerThread = 4;

class BlockCompressor {
 public:
  BlockCompressor() {
    if (deflateInit2(&stream_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
      throw PackError("cannot initialise the deflate compressor");
    }
  }
  ~BlockCompressor() { deflateEnd(&stream_); }
  BlockCompressor(const BlockCompressor&) = delete;
  BlockCompressor& operator=(const BlockCompressor&) = delete;

  // Room for the largest data block: header, "CK" and the deflated input.
  std::size_t BlockCapacity() { return kDataHeaderSize + 2 + deflateBound(&stream_, kCabinetBlockSize); }

  // Writes the whole data block for `size` input bytes into `out`; returns its length.
  std::size_t Compress(const std::uint8_t* data, std::size_t size, std::uint8_t* out, std::size_t capacity) {
    std::uint8_t* body = out + kDataHeaderSize;
    body[0] = 'C';
    body[1] = 'K';
    // Data that would not shrink is stored as it is: searching it for matches costs the most time.
    const std::size_t body_size = 2 + (LooksIncompressible(data, size)
                                           ? Store(data, size, body + 2)
                                           : Deflate(data, size, body + 2, capacity - kDataHeaderSize - 2));
    WriteU16(out + 4, static_cast<std::uint16_t>(body_size));
    WriteU16(out + 6, static_cast<std::uint16_t>(size));
    WriteU32(out, CabinetChecksum(out + 4, 4, CabinetChecksum(body, body_size, 0)));
    return kDataHeaderSize + body_size;
  }

 private:
  std::size_t Deflate(const std::uint8_t* data, std::size_t size, std::uint8_t* out, std::size_t capacity) {
    deflateReset(&stream_);
    stream_.next_in = const_cast<Bytef*>(data);
    stream_.avail_in = static_cast<uInt>(size);
    stream_.next_out = out;
    stream_.avail_out = static_cast<uInt>(capacity);
    if (deflate(&stream_, Z_FINISH) != Z_STREAM_END) throw PackError("deflate failed on a cabinet block");
    return capacity - stream_.avail_out;
  }

  // One final stored deflate block: header bits, then length and its complement, then the bytes.
  static std::size_t Store(const std::uint8_t* data, std::size_t size, std::uint8_t* out) {
    out[0] = 0x01;
    WriteU16(out + 1, static_cast<std::uint16_t>(size));
    WriteU16(out + 3, static_cast<std::uint16_t>(~size));
    std::copy(data, data + size, out + 5);
    return 5 + size;
  }

  z_stream stream_{};
};

// A ring of block slots. The calling thread fills slots in input order and takes them back in
// the same order; workers compress whichever filled slot comes next. A slot belongs to the
// calling thread until it is published, then to the worker that claims it until it is done.
class BlockPipeline {
 public:
  explicit BlockPipeline(unsigned threads) {
    for (unsigned i = 0; i < threads; ++i) compressors_.push_back(std::make_unique<BlockCompressor>());
    const std::size_t capacity = compressors_.front()->BlockCapacity();
    slots_.resize(static_cast<std::size_t>(threads) * kBlocksPerThread);
    for (Slot& slot : slots_) {
      slot.input.resize(kCabinetBlockSize);
      slot.output.resize(capacity);
    }
    try {
      for (auto& compressor : compressors_) workers_.emplace_back([this, c = compressor.get()] { Work(*c); });
    } catch (...) {
      StopWorkers();
      throw;
    }
  }

  ~BlockPipeline() { StopWorkers(); }

  BlockPipeline(const BlockPipeline&) = delete;
  BlockPipeline& operator=(const BlockPipeline&) = delete;

  void Run(std::uint64_t block_count, const BlockSource& source, const BlockSink& sink) {
    std::uint64_t published = 0;
    for (std::uint64_t taken = 0; taken < block_count; ++taken) {
      while (published < block_count && published - taken < slots_.size()) {
        Slot& slot = SlotOf(published);
        slot.input_size = source(slot.input.data());
        {
          std::lock_guard lock(mutex_);
          slot.done = false;
          ++published_;
        }
        work_ready_.notify_one();
        ++published;
      }
      Slot& slot = SlotOf(taken);
      {
        std::unique_lock lock(mutex_);
        block_done_.wait(lock, [&slot] { return slot.done; });
      }
      if (slot.error) std::rethrow_exception(slot.error);
      sink(slot.output.data(), slot.output_size);
    }
  }

 private:
  struct Slot {
    Bytes input;
    std::size_t input_size = 0;
    Bytes output;
    std::size_t output_size = 0;
    std::exception_ptr error;
    bool done = false;  // guarded by the mutex
  };

  Slot& SlotOf(std::uint64_t block) { return slots_[static_cast<std::size_t>(block % slots_.size())]; }

  void StopWorkers() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    work_ready_.notify_all();
    for (std::thread& worker : workers_) worker.join();
  }

  void Work(BlockCompressor& compressor) {
    for (;;) {
      std::uint64_t block = 0;
      {
        std::unique_lock lock(mutex_);
        work_ready_.wait(lock, [this] { return stopping_ || claimed_ < published_; });
        if (stopping_) return;
        block = claimed_++;
      }
      Slot& slot = SlotOf(block);
      try {
        slot.output_size = compressor.Compress(slot.input.data(), slot.input_size, slot.output.data(), slot.output.size());
      } catch (...) {
        slot.error = std::current_exception();
      }
      {
        std::lock_guard lock(mutex_);
        slot.done = true;
      }
      block_done_.notify_one();
    }
  }

  std::vector<std::unique_ptr<BlockCompressor>> compressors_;
  std::vector<Slot> slots_;
  std::mutex mutex_;
  std::condition_variable work_ready_;
  std::condition_variable block_done_;
  std::uint64_t published_ = 0;  // blocks handed to the workers; guarded by the mutex
  std::uint64_t claimed_ = 0;    // blocks a worker has taken; guarded by the mutex
  bool stopping_ = false;        // guarded by the mutex
  std::vector<std::thread> workers_;
};

}  // namespace

std::uint32_t CabinetChecksum(const std::uint8_t* data, std::size_t size, std::uint32_t seed) {
  std::uint32_t sum = seed;
  std::size_t words = size / 4;
  for (std::size_t i = 0; i < words; ++i, data += 4) sum ^= ReadU32(data);
  std::uint32_t tail = 0;
  switch (size % 4) {
    case 3: tail |= static_cast<std::uint32_t>(*data++) << 16; [[fallthrough]];
    case 2: tail |= static_cast<std::uint32_t>(*data++) << 8; [[fallthrough]];
    case 1: tail |= *data; break;
    default: break;
  }
  return sum ^ tail;
}

unsigned DefaultCompressionThreads() { return std::max(1u, std::thread::hardware_concurrency()); }

void CompressCabinetBlocks(std::uint64_t block_count, unsigned threads, const BlockSource& source, const BlockSink& sink) {
  if (block_count == 0) return;
  BlockPipeline pipeline(static_cast<unsigned>(std::min<std::uint64_t>(block_count, std::max(threads, 1u))));
  pipeline.Run(block_count, source, sink);
}

}  // namespace setup::pack
