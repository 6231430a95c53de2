#include "foundation/installer_property_text.h"

namespace setup {

std::wstring QuotedPropertyValue(std::wstring_view value) {
  std::wstring quoted = L"\"";
  for (const wchar_t c : value) {
    if (c == L'"') quoted += L'"';
    quoted += c;
  }
  quoted += L'"';
  return quoted;
}

void AppendQuotedProperty(std::wstring& text, std::wstring_view name, std::wstring_view value) {
  text += name;
  text += L"=";
  text += QuotedPropertyValue(value);
  text += L" ";
}

void AppendGivenProperty(std::wstring& text, std::wstring_view name, std::wstring_view value) {
  text += name;
  text += L"=";
  if (value.empty()) {
    text += L"\"\"";
  } else if (value.find(L' ') != std::wstring_view::npos && value[0] != L'"') {
    text += QuotedPropertyValue(value);
  } else {
    text += value;
  }
  text += L" ";
}

}  // namespace setup
