#include "foundation/path.h"

namespace setup {

namespace {

constexpr std::wstring_view kSeparators = L"\\/";

std::size_t LastSeparator(std::wstring_view text) { return text.find_last_of(kSeparators); }

}  // namespace

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
