// Writes a single-folder cabinet with MSZIP compression: every 32 KB block of input is
// deflated on its own (raw deflate after the "CK" signature), so any cabinet reader can expand
// it without carrying history from block to block. Input files are streamed block by block;
// the cabinet goes straight into the output file, whose header fields are patched at the end.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "binary_file.h"

namespace setup::pack {

struct CabinetEntry {
  std::filesystem::path source;
  // Name stored in the cabinet (may contain "\" for subfolders); UTF-8.
  std::string stored_name;
};

// Appends the cabinet at the output's current position; returns its size in bytes.
std::uint32_t WriteCabinet(OutputFile& output, const std::vector<CabinetEntry>& entries);

// The checksum of one data block as the cabinet format defines it (seeded XOR of 32-bit words).
std::uint32_t CabinetChecksum(const std::uint8_t* data, std::size_t size, std::uint32_t seed);

}  // namespace setup::pack
