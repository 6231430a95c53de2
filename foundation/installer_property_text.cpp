#include "foundation/installer_property_text.h"

namespace setup {

void AppendQuotedProperty(std::wstring& text, std::wstring_view name, std::wstring_view value) {
  text += name;
  text += L"=\"";
  for (const wchar_t c : value) {
    if (c == L'"') text += L'"';
    text += c;
  }
  text += L"\" ";
}

}  // namespace setup
