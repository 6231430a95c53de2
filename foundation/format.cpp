#include "foundation/format.h"

#include <algorithm>

namespace setup::format_detail {

namespace {

struct Spec {
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
std::size_t ParseSpec(std::wstring_view fmt, std::size_t i, Spec& spec) {
  for (; i < fmt.size(); ++i) {
    const wchar_t c = fmt[i];
    if (c == L'-') spec.leftAlign = true;
    else if (c == L'0') spec.zeroPad = true;
    else if (c == L'+') spec.plus = true;
    else if (c == L' ') spec.space = true;
    else if (c == L'#') spec.alternate = true;
    else break;
  }
  for (; i < fmt.size() && fmt[i] >= L'0' && fmt[i] <= L'9'; ++i) spec.width = spec.width * 10 + (fmt[i] - L'0');
  if (i < fmt.size() && fmt[i] == L'.') {
    spec.precision = 0;
    for (++i; i < fmt.size() && fmt[i] >= L'0' && fmt[i] <= L'9'; ++i) spec.precision = spec.precision * 10 + (fmt[i] - L'0');
  }
  while (i < fmt.size()) {
    if (fmt.substr(i, 3) == L"I64") { spec.wide64 = true; i += 3; }
    else if (fmt.substr(i, 2) == L"ll") { spec.wide64 = true; i += 2; }
    else if (fmt[i] == L'l' || fmt[i] == L'h') ++i;
    else break;
  }
  if (i < fmt.size()) spec.conversion = fmt[i++];
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

void Pad(std::wstring& out, const std::wstring& body, const Spec& spec) {
  const std::size_t width = static_cast<std::size_t>(spec.width);
  if (body.size() >= width) {
    out += body;
  } else if (spec.leftAlign) {
    out += body;
    out.append(width - body.size(), L' ');
  } else {
    out.append(width - body.size(), L' ');
    out += body;
  }
}

void AppendInteger(std::wstring& out, const Spec& spec, const Arg& arg) {
  std::wstring sign;
  std::wstring digits;
  const wchar_t c = spec.conversion;
  if (c == L'd' || c == L'i') {
    const std::int64_t value = spec.wide64 ? arg.signedValue : static_cast<std::int32_t>(arg.unsignedValue);
    const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    if (value < 0) sign = L"-";
    else if (spec.plus) sign = L"+";
    else if (spec.space) sign = L" ";
    digits = Digits(magnitude, 10, false);
  } else {
    const std::uint64_t value = spec.wide64 ? arg.unsignedValue : static_cast<std::uint32_t>(arg.unsignedValue);
    const bool hex = c == L'x' || c == L'X';
    digits = Digits(value, hex ? 16 : 10, c == L'X');
    if (hex && spec.alternate && value != 0) sign = c == L'X' ? L"0X" : L"0x";
  }
  if (spec.precision >= 0) {
    // An explicit precision is the minimum digit count; a zero value with precision 0 prints nothing.
    if (spec.precision == 0 && digits == L"0") digits.clear();
    if (digits.size() < static_cast<std::size_t>(spec.precision)) digits.insert(0, spec.precision - digits.size(), L'0');
  } else if (spec.zeroPad && !spec.leftAlign && static_cast<std::size_t>(spec.width) > sign.size() + digits.size()) {
    digits.insert(0, spec.width - sign.size() - digits.size(), L'0');
  }
  Pad(out, sign + digits, spec);
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
    Spec spec;
    i = ParseSpec(fmt, i + 1, spec);
    if (spec.conversion == 0 || next >= args.size()) continue;
    const Arg& arg = args[next++];
    switch (spec.conversion) {
      case L's': {
        std::wstring text(arg.kind == ArgKind::String ? arg.text : std::wstring_view());
        if (spec.precision >= 0 && text.size() > static_cast<std::size_t>(spec.precision)) text.resize(spec.precision);
        Pad(out, text, spec);
        break;
      }
      case L'c':
        Pad(out, std::wstring(1, static_cast<wchar_t>(arg.unsignedValue)), spec);
        break;
      case L'd':
      case L'i':
      case L'u':
      case L'x':
      case L'X':
        if (arg.kind != ArgKind::String) AppendInteger(out, spec, arg);
        break;
      default:
        break;
    }
  }
  return out;
}

}  // namespace setup::format_detail
