#include "foundation/path.h"

#include <array>

#include "foundation/text.h"

namespace setup {

namespace {

constexpr std::wstring_view kSeparators = L"\\/";

std::size_t LastSeparator(std::wstring_view text) { return text.find_last_of(kSeparators); }

constexpr std::wstring_view kDeviceNamespace = L"\\\\.\\";

// The system drops trailing dots and blanks from a name: "x." and "x " name "x", "..." none.
std::wstring_view WithoutTrailingDotsAndBlanks(std::wstring_view name) {
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.remove_suffix(1);
  return name;
}

bool IsDeviceBaseName(std::wstring_view name) {
  static constexpr std::array<std::wstring_view, 7> kPlain = {L"con", L"prn", L"aux", L"nul",
                                                              L"conin$", L"conout$", L"clock$"};
  std::wstring lower(name);
  for (wchar_t& c : lower) c = FoldCase(c);
  for (const std::wstring_view device : kPlain) {
    if (lower == device) return true;
  }
  // COM and LPT with one digit, also the superscript digits 1, 2 and 3 that the system accepts.
  if (lower.size() != 4 || (!lower.starts_with(L"com") && !lower.starts_with(L"lpt"))) return false;
  const wchar_t digit = lower[3];
  return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
}

}  // namespace

std::wstring NormalisedPath(std::wstring_view path) {
  std::wstring prefix;
  if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
    prefix = L"\\\\";
    path.remove_prefix(2);
  } else if (path.size() >= 2 && path[1] == L':') {
    prefix = std::wstring(path.substr(0, 2));
    path.remove_prefix(2);
    if (!path.empty() && IsPathSeparator(path.front())) prefix += L'\\';
  }
  std::vector<std::wstring_view> names;
  while (!path.empty()) {
    const std::size_t end = std::min(path.find_first_of(kSeparators), path.size());
    const std::wstring_view name = path.substr(0, end);
    path.remove_prefix(std::min(end + 1, path.size()));
    std::wstring_view trimmed = name;
    while (!trimmed.empty() && trimmed.back() == L' ') trimmed.remove_suffix(1);
    if (trimmed == L"..") {
      if (!names.empty()) names.pop_back();
    } else if (!WithoutTrailingDotsAndBlanks(name).empty()) {
      names.push_back(WithoutTrailingDotsAndBlanks(name));
    }
  }
  std::wstring result = prefix;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) result += L'\\';
    result += names[i];
  }
  for (wchar_t& c : result) c = FoldCase(c);
  return result;
}

bool NamesDevice(std::wstring_view path) {
  if (path.size() >= kDeviceNamespace.size() && IsPathSeparator(path[0]) && IsPathSeparator(path[1]) &&
      (path[2] == L'.' || path[2] == L'?') && IsPathSeparator(path[3])) {
    // "\\.\" always names the device namespace; "\\?\" does unless a drive or UNC path follows.
    const std::wstring_view rest = path.substr(4);
    const bool drivePath = rest.size() >= 2 && rest[1] == L':';
    const bool uncPath = StartsWithIgnoreCase(rest, L"UNC\\");
    if (path[2] == L'.' || (!drivePath && !uncPath)) return true;
  }
  std::wstring_view name = path.substr(std::min(path.find_last_of(kSeparators) + 1, path.size()));
  if (name.size() >= 2 && name[1] == L':') name.remove_prefix(2);  // "C:NUL"
  // The device is named whatever extension or stream follows and whatever blanks precede them.
  name = name.substr(0, std::min(name.find_first_of(L".:"), name.size()));
  while (!name.empty() && name.back() == L' ') name.remove_suffix(1);
  return IsDeviceBaseName(name);
}

bool IsPathSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

ICBSFolderPath::ICBSFolderPath(std::wstring text) : text_(std::move(text)) {
  std::wstring_view rest = text_;
  if (rest.size() >= 2 && rest[1] == L':') {
    root_ = rest.substr(0, 2);
    rest.remove_prefix(2);
  } else if (rest.size() >= 2 && IsPathSeparator(rest[0]) && IsPathSeparator(rest[1])) {
    rest.remove_prefix(2);
    const std::size_t serverEnd = std::min(rest.find_first_of(kSeparators), rest.size());
    root_ = L"\\\\" + std::wstring(rest.substr(0, serverEnd));
    rest.remove_prefix(serverEnd);
  }
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find_first_of(kSeparators), rest.size());
    if (end > 0) components_.emplace_back(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
}

std::wstring ICBSFolderPath::String(bool trailingBackslash) const {
  std::wstring text = text_;
  while (!text.empty() && IsPathSeparator(text.back())) text.pop_back();
  if (trailingBackslash && !text.empty()) text += L'\\';
  return text;
}

ICBSFilePath::ICBSFilePath(std::wstring fullText) : fullText_(std::move(fullText)) {}

ICBSFilePath::ICBSFilePath(const ICBSFolderPath& folder, std::wstring_view fileName, std::wstring_view extension)
    : fullText_(folder.String(false) + L"\\" + std::wstring(fileName)) {
  if (!extension.empty()) {
    if (extension.front() != L'.') fullText_ += L'.';
    fullText_ += extension;
  }
}

std::wstring ICBSFilePath::FileName() const {
  const std::size_t separator = LastSeparator(fullText_);
  return separator == std::wstring::npos ? fullText_ : fullText_.substr(separator + 1);
}

std::wstring ICBSFilePath::BaseName() const {
  const std::wstring name = FileName();
  return name.substr(0, name.rfind(L'.'));
}

std::wstring ICBSFilePath::Extension() const {
  const std::wstring name = FileName();
  const std::size_t dot = name.rfind(L'.');
  return dot == std::wstring::npos ? std::wstring() : name.substr(dot + 1);
}

ICBSFolderPath ICBSFilePath::Folder() const {
  const std::size_t separator = LastSeparator(fullText_);
  return ICBSFolderPath(separator == std::wstring::npos ? std::wstring() : fullText_.substr(0, separator));
}

}  // namespace setup
