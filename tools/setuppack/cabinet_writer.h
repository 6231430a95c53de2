// Writes a single-folder cabinet with MSZIP compression. Input files are streamed block by block
// through the block compressors; the cabinet goes straight into the output file, whose header
// fields are patched at the end.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "binary_file.h"
#include "cabinet_data_blocks.h"

namespace setup::pack {

struct CabinetEntry {
  std::filesystem::path source;
  // Name stored in the cabinet (may contain "\" for subfolders); UTF-8.
  std::string stored_name;
};

// Appends the cabinet at the output's current position, compressing on `threads` threads (the
// bytes are the same for any number); returns its size in bytes.
std::uint32_t WriteCabinet(OutputFile& output, const std::vector<CabinetEntry>& entries,
                           unsigned threads = DefaultCompressionThreads());

}  // namespace setup::pack
