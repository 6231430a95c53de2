// Whole-file text I/O the way the C runtime's text mode does it for the configuration files:
// carriage return and line feed on disk become a line feed in memory and back, and characters
// pass through the "C" locale's narrow conversion, which maps each byte to the character of
// the same number (characters above U+00FF cannot be written and become '?'). A file read and
// written back unchanged therefore keeps its bytes, whatever its real encoding.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/path.h"
#include "platform/platform.h"

namespace setup {

// The lines of the file without their line ends; empty optional when it cannot be read.
std::optional<std::vector<std::wstring>> ReadTextModeLines(const platform::FileSystem& files,
                                                           const ICBSFilePath& path);

// Creates the file's missing folders, then creates or truncates the file and writes the text.
bool WriteTextModeFile(platform::Platform& platform, const ICBSFilePath& path, std::wstring_view text);

}  // namespace setup
