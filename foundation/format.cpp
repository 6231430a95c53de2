#include "foundation/format.h"

#include <algorithm>

namespace setup::format_detail {

namespace {

struct Conversion {
  bool leftAlign = false;
  bool zeroPad = false;
  bool plus = false;
  bool space = false;
  bool alternate = false;
  int width = 0;
  int precision = -1;
  bool wide64 = false;  // "ll" or "I64": a 64-bit integer
  wchar_t conversion = 0;
};

// Parses the conversion that starts after a '%'; returns the index after it.
std::size_t ParseConversion(std::wstring_view fmt, std::size_t i, Conversion& conv) {
  for (; i < fmt.size(); ++i) {
    const wchar_t c = fmt[i];
    if (c == L'-') conv.leftAlign = true;
    else if (c == L'0') conv.zeroPad = true;
    else if (c == L'+') conv.plus = true;
    else if (c == L' ') conv.space = true;
    else if (c == L'#') conv.alternate = true;
    else break;
  }
  for (; i < fmt.size() && fmt[i] >= L'0' && fmt[i] <= L'9'; ++i) conv.width = conv.width * 10 + (fmt[i] - L'0');
  if (i < fmt.size() && fmt[i] == L'.') {
    conv.precision = 0;
    for (++i; i < fmt.size() && fmt[i] >= L'0' && fmt[i] <= L'9'; ++i) conv.precision = conv.precision * 10 + (fmt[i] - L'0');
  }
  while (i < fmt.size()) {
    if (fmt.substr(i, 3) == L"I64") { conv.wide64 = true; i += 3; }
    else if (fmt.substr(i, 2) == L"ll") { conv.wide64 = true; i += 2; }
    else if (fmt[i] == L'l' || fmt[i] == L'h') ++i;
    else break;
  }
  if (i < fmt.size()) conv.conversion = fmt[i++];
  return i;
}

std::wstring Digits(std::uint64_t value, unsigned base, bool upper) {
  const wchar_t* digits = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
  std::wstring out;
  do {
    out.push_back(digits[value % base]);
    value /= base;
  } while (value != 0);
  std::reverse(out.begin(), out.end());
  return out;
}

void Pad(std::wstring& out, const std::wstring& body, const Conversion& conv) {
  const std::size_t width = static_cast<std::size_t>(conv.width);
  if (body.size() >= width) {
    out += body;
  } else if (conv.leftAlign) {
    out += body;
    out.append(width - body.size(), L' ');
  } else {
    out.append(width - body.size(), L' ');
    out += body;
  }
}

void AppendInteger(std::wstring& out, const Conversion& conv, const Arg& arg) {
  std::wstring sign;
  std::wstring digits;
  const wchar_t c = conv.conversion;
  if (c == L'd' || c == L'i') {
    const std::int64_t value = conv.wide64 ? arg.signedValue : static_cast<std::int32_t>(arg.unsignedValue);
    const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    if (value < 0) sign = L"-";
    else if (conv.plus) sign = L"+";
    else if (conv.space) sign = L" ";
    digits = Digits(magnitude, 10, false);
  } else {
    const std::uint64_t value = conv.wide64 ? arg.unsignedValue : static_cast<std::uint32_t>(arg.unsignedValue);
    const bool hex = c == L'x' || c == L'X';
    digits = Digits(value, hex ? 16 : 10, c == L'X');
    if (hex && conv.alternate && value != 0) sign = c == L'X' ? L"0X" : L"0x";
  }
  if (conv.precision >= 0) {
    // An explicit precision is the minimum digit count; a zero value with precision 0 prints nothing.
    if (conv.precision == 0 && digits == L"0") digits.clear();
    if (digits.size() < static_cast<std::size_t>(conv.precision)) digits.insert(0, conv.precision - digits.size(), L'0');
  } else if (conv.zeroPad && !conv.leftAlign && static_cast<std::size_t>(conv.width) > sign.size() + digits.size()) {
    digits.insert(0, conv.width - sign.size() - digits.size(), L'0');
  }
  Pad(out, sign + digits, conv);
}

}  // namespace

std::wstring FormatWithArgs(std::wstring_view fmt, std::span<const Arg> args) {
  std::wstring out;
  out.reserve(fmt.size() + 32);
  std::size_t next = 0;
  for (std::size_t i = 0; i < fmt.size();) {
    const wchar_t c = fmt[i];
    if (c != L'%') {
      out.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 < fmt.size() && fmt[i + 1] == L'%') {
      out.push_back(L'%');
      i += 2;
      continue;
    }
    Conversion conv;
    i = ParseConversion(fmt, i + 1, conv);
    if (conv.conversion == 0 || next >= args.size()) continue;
    const Arg& arg = args[next++];
    switch (conv.conversion) {
      case L's': {
        std::wstring text(arg.kind == ArgKind::String ? arg.text : std::wstring_view());
        if (conv.precision >= 0 && text.size() > static_cast<std::size_t>(conv.precision)) text.resize(conv.precision);
        Pad(out, text, conv);
        break;
      }
      case L'c':
        Pad(out, std::wstring(1, static_cast<wchar_t>(arg.unsignedValue)), conv);
        break;
      case L'd':
      case L'i':
      case L'u':
      case L'x':
      case L'X':
        if (arg.kind != ArgKind::String) AppendInteger(out, conv, arg);
        break;
      default:
        break;
    }
  }
  return out;
}

}  // namespace setup::format_detail
