// Installer property strings: NAME=VALUE items, each followed by exactly one blank.
#pragma once

#include <string>
#include <string_view>

namespace setup {

// Appends NAME="VALUE" and one blank: the quoted form for values that the packages' own
// dialogs read. A double quotation mark inside the value is doubled, as Windows Installer's
// command line expects, so that no value can end the quoted text early and add properties of
// its own.
void AppendQuotedProperty(std::wstring& text, std::wstring_view name, std::wstring_view value);

}  // namespace setup
