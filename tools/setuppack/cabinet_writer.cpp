#include "cabinet_writer.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <limits>
#include <memory>

#include "pack_error.h"

namespace setup::pack {
namespace {

constexpr std::size_t kHeaderSize = 36;
constexpr std::size_t kFolderSize = 8;
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

}  // namespace

std::uint32_t WriteCabinet(OutputFile& output, const std::vector<CabinetEntry>& entries, unsigned threads) {
  const std::uint64_t start = output.Position();
  std::vector<std::unique_ptr<InputFile>> inputs;
  std::uint64_t total = 0;
  for (const auto& entry : entries) {
    inputs.push_back(std::make_unique<InputFile>(entry.source));
    total += inputs.back()->Size();
  }
  const std::uint64_t block_count = (total + kCabinetBlockSize - 1) / kCabinetBlockSize;
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

  // Each file gives exactly the bytes its entry announces; one that shrinks meanwhile fails the
  // cabinet instead of shifting the files behind it.
  std::size_t input_index = 0;
  std::uint64_t left_in_file = inputs.empty() ? 0 : inputs.front()->Size();
  CompressCabinetBlocks(
      block_count, threads,
      [&](std::uint8_t* block) {
        // A block may span the end of one file and the start of the next.
        std::size_t filled = 0;
        while (filled < kCabinetBlockSize && input_index < inputs.size()) {
          if (left_in_file == 0) {
            if (++input_index < inputs.size()) left_in_file = inputs[input_index]->Size();
            continue;
          }
          const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(left_in_file, kCabinetBlockSize - filled));
          if (inputs[input_index]->Read(block + filled, wanted) != wanted) {
            throw PackError("file '" + Utf8Path(inputs[input_index]->Path()) + "' changed while packing");
          }
          filled += wanted;
          left_in_file -= wanted;
        }
        return filled;
      },
      [&output](const std::uint8_t* block, std::size_t size) { output.Write(block, size); });

  const std::uint64_t size = output.Position() - start;
  if (size > std::numeric_limits<std::uint32_t>::max()) throw PackError("the cabinet exceeds 4 GB");
  output.PatchU32(start + 8, static_cast<std::uint32_t>(size));
  return static_cast<std::uint32_t>(size);
}

}  // namespace setup::pack
