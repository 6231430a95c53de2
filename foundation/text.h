// Small text helpers shared by every subsystem: case-insensitive comparison the way the
// launcher compares switch, property and language names, trimming, number parsing, and the
// UTF-16 conversion used where text meets the outside (log file, resources, registry).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

// Lower-cases ASCII and Latin-1 letters; other characters are returned unchanged.
wchar_t FoldCase(wchar_t c);
bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b);
bool StartsWithIgnoreCase(std::wstring_view text, std::wstring_view prefix);

// Removes the given characters from both ends.
std::wstring_view Trim(std::wstring_view text, std::wstring_view characters);
// What the command line and the configuration files trim from names and values.
inline constexpr std::wstring_view kBlanksAndTabs = L" \t";

// Splits at every occurrence of the separator; an empty text gives one empty piece.
std::vector<std::wstring_view> Split(std::wstring_view text, wchar_t separator);

// The leading decimal number of the text after optional blanks and an optional sign, as the
// C runtime's wcstol reads it; 0 when there is none. `consumed` receives the characters read.
std::int64_t ParseLeadingInteger(std::wstring_view text, std::size_t* consumed = nullptr);

// UTF-16 code units of a wide string (on Windows the same units, elsewhere surrogate pairs).
std::u16string ToUtf16(std::wstring_view text);
// Replaces every surrogate that is not part of a pair with U+FFFD, so that the units are
// well-formed UTF-16 that every reader decodes the same way.
void ReplaceLoneSurrogates(std::u16string& units);
// Text from outside (command line, resources, files) made safe to stand inside one line of
// the launcher's own: carriage return, line feed and tab become \r, \n and \t, the other
// control characters and the line and paragraph separators \xHH or \uHHHH.
std::wstring EscapeControlCharacters(std::wstring_view text);
std::wstring FromUtf16(std::u16string_view units);
// Little-endian bytes of UTF-16 text without a terminator, and back.
std::string ToLittleEndianBytes(std::u16string_view units);
std::string ToUtf16LeBytes(std::wstring_view text);
std::wstring FromUtf16LeBytes(std::string_view bytes);
// UTF-8 (used for console text that goes to a file or pipe, and for tool output).
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view bytes);

}  // namespace setup
