#include "cabinet_writer.h"

#include <zlib.h>

#include <chrono>
#include <ctime>
#include <limits>
#include <memory>

#include "pack_error.h"

namespace setup::pack {
namespace {

constexpr std::size_t kBlockSize = 32768;
constexpr std::size_t kHeaderSize = 36;
constexpr std::size_t kFolderSize = 8;
constexpr std::size_t kDataHeaderSize = 8;
constexpr std::uint16_t kCompressionMszip = 1;
constexpr std::uint16_t kAttributeArchive = 0x20;
constexpr std::uint16_t kAttributeNameIsUtf8 = 0x80;

struct DosTimestamp {
  std::uint16_t date = 0x21;  // 1980-01-01
  std::uint16_t time = 0;
};

DosTimestamp ModificationTime(const std::filesystem::path& path) {
  std::error_code error;
  auto written = std::filesystem::last_write_time(path, error);
  if (error) return {};
  auto system = std::chrono::file_clock::to_sys(written);
  std::time_t seconds = std::chrono::system_clock::to_time_t(system);
  std::tm local{};
#ifdef _WIN32
  if (localtime_s(&local, &seconds) != 0) return {};
#else
  if (localtime_r(&seconds, &local) == nullptr) return {};
#endif
  if (local.tm_year < 80) return {};
  DosTimestamp stamp;
  stamp.date = static_cast<std::uint16_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  stamp.time = static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  return stamp;
}

bool IsAscii(const std::string& text) {
  for (unsigned char c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

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

  // Compresses one block into `out` ("CK" + raw deflate); returns the compressed size.
  std::size_t Compress(const std::uint8_t* data, std::size_t size, std::uint8_t* out, std::size_t capacity) {
    out[0] = 'C';
    out[1] = 'K';
    deflateReset(&stream_);
    stream_.next_in = const_cast<Bytef*>(data);
    stream_.avail_in = static_cast<uInt>(size);
    stream_.next_out = out + 2;
    stream_.avail_out = static_cast<uInt>(capacity - 2);
    if (deflate(&stream_, Z_FINISH) != Z_STREAM_END) throw PackError("deflate failed on a cabinet block");
    return capacity - stream_.avail_out;
  }

  std::size_t Bound(std::size_t size) { return 2 + deflateBound(&stream_, static_cast<uLong>(size)); }

 private:
  z_stream stream_{};
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

std::uint32_t WriteCabinet(OutputFile& output, const std::vector<CabinetEntry>& entries) {
  const std::uint64_t start = output.Position();
  std::vector<std::unique_ptr<InputFile>> inputs;
  std::uint64_t total = 0;
  for (const auto& entry : entries) {
    inputs.push_back(std::make_unique<InputFile>(entry.source));
    total += inputs.back()->Size();
  }
  const std::uint64_t block_count = (total + kBlockSize - 1) / kBlockSize;
  if (total > std::numeric_limits<std::uint32_t>::max() || block_count > 0xFFFF || entries.size() > 0xFFFF) {
    throw PackError("the files are too large for one cabinet folder");
  }

  Bytes header;
  header.insert(header.end(), {'M', 'S', 'C', 'F'});
  AppendU32(header, 0);  // reserved
  AppendU32(header, 0);  // cabinet size, patched at the end
  AppendU32(header, 0);  // reserved
  AppendU32(header, static_cast<std::uint32_t>(kHeaderSize + kFolderSize));  // first file entry
  AppendU32(header, 0);  // reserved
  header.push_back(3);   // format version 1.3
  header.push_back(1);
  AppendU16(header, 1);  // folders
  AppendU16(header, static_cast<std::uint16_t>(entries.size()));
  AppendU16(header, 0);  // flags: no reserve, no previous or next cabinet
  AppendU16(header, 0);  // set id
  AppendU16(header, 0);  // index in set
  const std::size_t folder_offset = header.size();
  AppendU32(header, 0);  // first data block, patched below
  AppendU16(header, static_cast<std::uint16_t>(block_count));
  AppendU16(header, kCompressionMszip);
  std::uint32_t folder_position = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    DosTimestamp stamp = ModificationTime(entries[i].source);
    const std::string& name = entries[i].stored_name;
    AppendU32(header, static_cast<std::uint32_t>(inputs[i]->Size()));
    AppendU32(header, folder_position);
    AppendU16(header, 0);  // folder index
    AppendU16(header, stamp.date);
    AppendU16(header, stamp.time);
    AppendU16(header, static_cast<std::uint16_t>(kAttributeArchive | (IsAscii(name) ? 0 : kAttributeNameIsUtf8)));
    header.insert(header.end(), name.begin(), name.end());
    header.push_back(0);
    folder_position += static_cast<std::uint32_t>(inputs[i]->Size());
  }
  WriteU32(header.data() + folder_offset, static_cast<std::uint32_t>(header.size()));
  output.Write(header);

  BlockCompressor compressor;
  Bytes block(kBlockSize);
  Bytes packed(kDataHeaderSize + compressor.Bound(kBlockSize));
  std::size_t input_index = 0;
  for (std::uint64_t b = 0; b < block_count; ++b) {
    // A block may span the end of one file and the start of the next.
    std::size_t filled = 0;
    while (filled < kBlockSize && input_index < inputs.size()) {
      std::size_t got = inputs[input_index]->Read(block.data() + filled, kBlockSize - filled);
      filled += got;
      if (filled < kBlockSize) ++input_index;
    }
    std::uint8_t* body = packed.data() + kDataHeaderSize;
    std::size_t size = compressor.Compress(block.data(), filled, body, packed.size() - kDataHeaderSize);
    WriteU16(packed.data() + 4, static_cast<std::uint16_t>(size));
    WriteU16(packed.data() + 6, static_cast<std::uint16_t>(filled));
    WriteU32(packed.data(), CabinetChecksum(packed.data() + 4, 4, CabinetChecksum(body, size, 0)));
    output.Write(packed.data(), kDataHeaderSize + size);
  }

  const std::uint64_t size = output.Position() - start;
  if (size > std::numeric_limits<std::uint32_t>::max()) throw PackError("the cabinet exceeds 4 GB");
  output.PatchU32(start + 8, static_cast<std::uint32_t>(size));
  return static_cast<std::uint32_t>(size);
}

}  // namespace setup::pack
