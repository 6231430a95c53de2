#include "foundation/text.h"

namespace setup {

wchar_t FoldCase(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 32);
  // Latin-1 capitals U+00C0..U+00DE, except the multiplication sign U+00D7.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<wchar_t>(c + 32);
  return c;
}

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

bool StartsWithIgnoreCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::wstring_view Trim(std::wstring_view text, std::wstring_view characters) {
  const std::size_t first = text.find_first_not_of(characters);
  if (first == std::wstring_view::npos) return {};
  const std::size_t last = text.find_last_not_of(characters);
  return text.substr(first, last - first + 1);
}

std::vector<std::wstring_view> Split(std::wstring_view text, wchar_t separator) {
  std::vector<std::wstring_view> pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = text.find(separator, start);
    if (at == std::wstring_view::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, at - start));
    start = at + 1;
  }
}

std::int64_t ParseLeadingInteger(std::wstring_view text, std::size_t* consumed) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  const std::size_t digitsStart = i;
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    if (value < (INT64_MAX - 9) / 10) value = value * 10 + (text[i] - L'0');
  }
  if (i == digitsStart) {
    if (consumed) *consumed = 0;
    return 0;
  }
  if (consumed) *consumed = i;
  return negative ? -value : value;
}

std::u16string ToUtf16(std::wstring_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const wchar_t wc : text) {
    const auto c = static_cast<std::uint32_t>(wc);
    if (c >= 0x10000 && c <= 0x10FFFF) {
      const std::uint32_t v = c - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

void ReplaceLoneSurrogates(std::u16string& units) {
  const auto isHigh = [](char16_t u) { return u >= 0xD800 && u <= 0xDBFF; };
  const auto isLow = [](char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (isHigh(units[i]) && i + 1 < units.size() && isLow(units[i + 1])) {
      ++i;  // a pair stays
    } else if (isHigh(units[i]) || isLow(units[i])) {
      units[i] = u'\uFFFD';
    }
  }
}

std::wstring EscapeControlCharacters(std::wstring_view text) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out;
  out.reserve(text.size());
  for (const wchar_t c : text) {
    const auto code = static_cast<std::uint32_t>(c);
    if (c == L'\r') {
      out += L"\\r";
    } else if (c == L'\n') {
      out += L"\\n";
    } else if (c == L'\t') {
      out += L"\\t";
    } else if (code < 0x20 || code == 0x7F) {
      out += {L'\\', L'x', kHex[code >> 4], kHex[code & 0xF]};
    } else if ((code >= 0x80 && code < 0xA0) || code == 0x2028 || code == 0x2029) {
      out += {L'\\', L'u', kHex[(code >> 12) & 0xF], kHex[(code >> 8) & 0xF], kHex[(code >> 4) & 0xF], kHex[code & 0xF]};
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::wstring FromUtf16(std::u16string_view units) {
  std::wstring out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if constexpr (sizeof(wchar_t) == 4) {
      if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
        out.push_back(static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00)));
        ++i;
        continue;
      }
    }
    out.push_back(static_cast<wchar_t>(u));
  }
  return out;
}

std::string ToUtf16LeBytes(std::wstring_view text) { return ToLittleEndianBytes(ToUtf16(text)); }

std::string ToLittleEndianBytes(std::u16string_view units) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (const char16_t u : units) {
    bytes.push_back(static_cast<char>(u & 0xFF));
    bytes.push_back(static_cast<char>(u >> 8));
  }
  return bytes;
}

std::wstring FromUtf16LeBytes(std::string_view bytes) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return FromUtf16(units);
}

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  const std::wstring full = FromUtf16(ToUtf16(text));  // joins surrogate pairs on 16-bit wchar_t
  for (std::size_t i = 0; i < full.size(); ++i) {
    std::uint32_t c = static_cast<std::uint32_t>(full[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < full.size()) {
        const std::uint32_t low = static_cast<std::uint32_t>(full[i + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::wstring FromUtf8(std::string_view bytes) {
  std::u16string units;
  units.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    std::uint32_t c = 0xFFFD;
    std::size_t length = 1;
    if (b < 0x80) {
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      length = 2;
    } else if ((b & 0xF0) == 0xE0) {
      length = 3;
    } else if ((b & 0xF8) == 0xF0) {
      length = 4;
    }
    if (length > 1) {
      if (i + length <= bytes.size()) {
        c = b & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
          const auto cont = static_cast<unsigned char>(bytes[i + k]);
          if ((cont & 0xC0) != 0x80) {
            c = 0xFFFD;
            length = k;
            break;
          }
          c = (c << 6) | (cont & 0x3F);
        }
      } else {
        length = bytes.size() - i;
      }
    }
    i += length;
    if (c >= 0x10000 && c <= 0x10FFFF) {
      units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(c));
    }
  }
  return FromUtf16(units);
}

}  // namespace setup
