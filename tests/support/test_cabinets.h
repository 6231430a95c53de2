// Cabinets for the extraction tests, made by the packaging tool's writer and by gcab, and
// read back entry by entry from their file table.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "cabinet_writer.h"

namespace setup::testing {

struct CabinetFile {
  std::string storedName;  // with "\" for subfolders
  std::string content;
};

inline std::string ReadHostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteHostFile(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A cabinet of the packaging tool, its files staged below `work`.
inline std::string PackedCabinet(const std::filesystem::path& work, const std::vector<CabinetFile>& files) {
  std::vector<pack::CabinetEntry> entries;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const auto source = work / ("source" + std::to_string(i));
    WriteHostFile(source, files[i].content);
    entries.push_back({source, files[i].storedName});
  }
  const auto cabinet = work / "packed.cab";
  {
    pack::OutputFile output(cabinet);
    pack::WriteCabinet(output, entries);
    output.Close();
  }
  return ReadHostFile(cabinet);
}

// A cabinet of gcab (MSZIP), made in `work` from files named by their relative paths.
inline std::string GcabCabinet(const std::filesystem::path& work, const std::vector<CabinetFile>& files) {
  std::string command = "cd '" + work.string() + "' && gcab -c -z gcab.cab";
  for (const CabinetFile& file : files) {
    std::string relative = file.storedName;
    for (char& c : relative) c = c == '\\' ? '/' : c;
    WriteHostFile(work / relative, file.content);
    command += " '" + relative + "'";
  }
  if (std::system(command.c_str()) != 0) return {};
  return ReadHostFile(work / "gcab.cab");
}

// A package resource: the cabinet's length (32-bit little endian), then the cabinet.
inline std::string PackageResource(std::string_view cabinet, std::uint32_t announcedLength) {
  std::string resource(4, '\0');
  for (int i = 0; i < 4; ++i) resource[i] = static_cast<char>(announcedLength >> (8 * i));
  return resource.append(cabinet);
}

// The cabinet with the compressed-block signature ("CK") of its data block `index` broken.
inline std::string WithBrokenDataBlock(std::string cabinet, int index) {
  const auto u16 = [&](std::size_t at) {
    return static_cast<std::size_t>(static_cast<unsigned char>(cabinet[at]) | static_cast<unsigned char>(cabinet[at + 1]) << 8);
  };
  std::size_t block = u16(36) | u16(38) << 16;  // the first folder's first data block
  for (int i = 0; i < index; ++i) block += 8 + u16(block + 4);
  cabinet[block + 8] = 'X';
  return cabinet;
}

struct CabinetEntryStamp {
  std::string name;
  std::uint16_t date = 0;
  std::uint16_t time = 0;
};

// The names and MS-DOS dates and times of the cabinet's file table.
inline std::vector<CabinetEntryStamp> CabinetEntryStamps(std::string_view cabinet) {
  const auto u16 = [&](std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(cabinet[at]) | static_cast<unsigned char>(cabinet[at + 1]) << 8);
  };
  const auto u32 = [&](std::size_t at) { return static_cast<std::uint32_t>(u16(at) | u16(at + 2) << 16); };
  std::vector<CabinetEntryStamp> stamps;
  std::size_t at = u32(16);  // first file entry
  for (std::uint16_t i = 0, count = u16(28); i < count; ++i) {
    const std::size_t name = at + 16;
    const std::size_t end = cabinet.find('\0', name);
    stamps.push_back({std::string(cabinet.substr(name, end - name)), u16(at + 10), u16(at + 12)});
    at = end + 1;
  }
  return stamps;
}

}  // namespace setup::testing
