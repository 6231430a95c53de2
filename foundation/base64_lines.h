// The line layout of Base64 text as the Windows byte-to-text conversion writes it
// (CRYPT_STRING_BASE64): lines of 64 characters, every line (the last one too) ending with
// "\r\n"; no text gives no lines.
#pragma once

#include <string>
#include <string_view>

namespace setup {

// Lays out Base64 characters in that form; line ends already in the text are dropped first.
std::wstring LayOutBase64Lines(std::wstring_view base64);

}  // namespace setup
