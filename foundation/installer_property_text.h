// Installer property strings: NAME=VALUE items, each followed by exactly one blank.
#pragma once

#include <string>
#include <string_view>

namespace setup {

// "VALUE" in double quotation marks, a quotation mark inside it doubled: the way Windows
// Installer's command line reads a quoted value, so that no value can end the quoted text
// early and add properties of its own. Every value from the machine or the user that is
// written in quotes goes through here.
std::wstring QuotedPropertyValue(std::wstring_view value);

// Appends NAME="VALUE" and one blank: the quoted form for values that the packages' own
// dialogs read, quoted as above.
void AppendQuotedProperty(std::wstring& text, std::wstring_view name, std::wstring_view value);

// Appends NAME=VALUE and one blank for a value given on the command line: as it was given,
// but quoted as above when it holds a blank and is not quoted already, and as "" when empty,
// so that the installer reads it as one value.
void AppendGivenProperty(std::wstring& text, std::wstring_view name, std::wstring_view value);

}  // namespace setup
