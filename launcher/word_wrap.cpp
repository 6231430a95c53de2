#include "launcher/word_wrap.h"

namespace setup {

namespace {

constexpr std::wstring_view kFileNameMarker = L"%s";

// The end of the plain piece that starts at `start`: the next blank after its first
// character, a line feed, "%s", a double quote, or the end of the text.
std::size_t PlainPieceEnd(std::wstring_view text, std::size_t start) {
  for (std::size_t i = start + 1; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L' ' || c == L'\n' || c == L'"' || text.substr(i).starts_with(kFileNameMarker)) return i;
  }
  return text.size();
}

}  // namespace

std::wstring WrapText(std::wstring_view text, std::size_t indent, std::optional<std::wstring_view> fileName) {
  if (text.empty()) return {};
  const std::wstring margin(indent, L' ');
  std::wstring out = margin;
  std::size_t column = indent;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == L'\n') {
      out += L'\n';
      out += margin;
      column = indent;
      ++i;
      if (i < text.size() && text[i] == L'\t') {
        out += L"    ";
        column += 4;
        ++i;
      }
      continue;
    }
    std::wstring_view piece;
    if (text.substr(i).starts_with(kFileNameMarker)) {
      piece = fileName ? *fileName : kFileNameMarker;
      i += kFileNameMarker.size();
    } else if (text[i] == L'"') {
      const std::size_t closing = text.find(L'"', i + 1);
      const std::size_t end = closing == std::wstring_view::npos ? text.size() : closing + 1;
      piece = text.substr(i, end - i);
      i = end;
    } else {
      const std::size_t end = PlainPieceEnd(text, i);
      piece = text.substr(i, end - i);
      i = end;
    }
    if (column + piece.size() > kHelpLineWidth) {
      out += L'\n';
      out += margin;
      column = indent;
    }
    out += (column == indent && piece.starts_with(L' ')) ? piece.substr(1) : piece;
    column += piece.size();
  }
  return out;
}

}  // namespace setup
