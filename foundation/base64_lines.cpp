#include "foundation/base64_lines.h"

namespace setup {

std::wstring LayOutBase64Lines(std::wstring_view base64) {
  constexpr std::size_t kLineLength = 64;
  std::wstring characters;
  characters.reserve(base64.size());
  for (const wchar_t c : base64) {
    if (c != L'\r' && c != L'\n') characters += c;
  }
  std::wstring text;
  text.reserve(characters.size() + (characters.size() / kLineLength + 1) * 2);
  for (std::size_t start = 0; start < characters.size(); start += kLineLength) {
    text.append(characters, start, kLineLength);
    text += L"\r\n";
  }
  return text;
}

}  // namespace setup
