#include "foundation/text_mode_file.h"

#include "foundation/file_utilities.h"

namespace setup {

std::optional<std::vector<std::wstring>> ReadTextModeLines(const platform::FileSystem& files,
                                                           const ICBSFilePath& path) {
  const std::optional<std::string> bytes = files.ReadFile(path.FullText());
  if (!bytes) return std::nullopt;
  std::vector<std::wstring> lines;
  std::wstring line;
  for (std::size_t i = 0; i < bytes->size(); ++i) {
    const auto byte = static_cast<unsigned char>((*bytes)[i]);
    if (byte == '\r' && i + 1 < bytes->size() && (*bytes)[i + 1] == '\n') continue;
    if (byte == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      continue;
    }
    line.push_back(static_cast<wchar_t>(byte));
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

bool WriteTextModeFile(platform::Platform& platform, const ICBSFilePath& path, std::wstring_view text) {
  ICBSFileUtilities utilities(platform);
  const std::wstring folder = path.Folder().String();
  if (!folder.empty() && !utilities.FolderExists(folder)) utilities.CreateFolderTree(folder);
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16);
  for (const wchar_t c : text) {
    if (c == L'\n') bytes.push_back('\r');
    bytes.push_back(static_cast<std::uint32_t>(c) <= 0xFF ? static_cast<char>(c) : '?');
  }
  return platform.files->WriteFile(path.FullText(), bytes);
}

}  // namespace setup
