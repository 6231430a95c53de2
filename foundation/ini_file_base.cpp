#include "foundation/ini_file_base.h"

namespace setup {

std::pair<std::wstring_view, std::wstring_view> ICBSIniFileBase::SplitPath(std::wstring_view path) const {
  const std::wstring_view separator = PathSeparator();
  const std::size_t at = path.find(separator);
  if (at == std::wstring_view::npos) return {std::wstring_view(), path};
  return {path.substr(0, at), path.substr(at + separator.size())};
}

bool ICBSIniFileBase::HasValue(std::wstring_view path) const {
  const auto [section, key] = SplitPath(path);
  return HasValue(section, key);
}

std::wstring ICBSIniFileBase::GetValue(std::wstring_view path) const {
  const auto [section, key] = SplitPath(path);
  return GetValue(section, key);
}

bool ICBSIniFileBase::SetValue(std::wstring_view path, std::optional<std::wstring_view> value) {
  const auto [section, key] = SplitPath(path);
  return SetValue(section, key, value);
}

}  // namespace setup
