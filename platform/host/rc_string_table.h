// Reads the STRINGTABLE blocks of the launcher's resource scripts, so that host tests see
// exactly the texts the Windows build compiles in.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <utility>

namespace setup::platform::host {

using StringTable = std::map<std::pair<std::uint32_t, std::uint16_t>, std::wstring>;

// The numeric ids that resource_ids.h of the folder defines, by name.
std::map<std::string, std::uint32_t> ReadResourceIds(const std::filesystem::path& resourceFolder);

// Parses resource_ids.h for the id names and every strings_*.rc of the folder.
StringTable LoadStringTables(const std::filesystem::path& resourceFolder);

}  // namespace setup::platform::host
