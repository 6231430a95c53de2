// printf-style formatting with the Windows wide-character rules that every log line and
// STRINGTABLE text of the launcher assumes: "%s" takes a wide string, "%d"/"%i" a 32-bit
// signed integer, "%u" unsigned, "%x"/"%X" hexadecimal, "%c" a character, "%%" a percent
// sign; flags "-", "0", "+", " ", "#", a width and a precision ("%0.2d", "%04d") apply.
//
// Format() checks a literal format against its arguments at compile time. FormatDynamic()
// takes formats only known at run time (STRINGTABLE texts) and never reads past its
// arguments: a conversion without an argument writes nothing.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace setup {

namespace format_detail {

enum class ArgKind : std::uint8_t { Signed, Unsigned, String };

struct Arg {
  ArgKind kind = ArgKind::String;
  std::int64_t signedValue = 0;
  std::uint64_t unsignedValue = 0;
  std::wstring_view text;
};

template <class T>
using Bare = std::remove_cvref_t<T>;

template <class T>
inline constexpr bool kIsString = std::is_convertible_v<const T&, std::wstring_view>;

template <class T>
inline constexpr bool kIsInteger = std::is_integral_v<Bare<T>> || std::is_enum_v<Bare<T>>;

template <class T>
consteval ArgKind KindOf() {
  static_assert(kIsString<T> || kIsInteger<T>, "format arguments are wide strings or integers");
  if constexpr (kIsString<T>) {
    return ArgKind::String;
  } else if constexpr (std::is_enum_v<Bare<T>>) {
    return std::is_signed_v<std::underlying_type_t<Bare<T>>> ? ArgKind::Signed : ArgKind::Unsigned;
  } else {
    return std::is_signed_v<Bare<T>> ? ArgKind::Signed : ArgKind::Unsigned;
  }
}

template <class T>
Arg MakeArg(const T& value) {
  if constexpr (kIsString<T>) {
    return Arg{ArgKind::String, 0, 0, std::wstring_view(value)};
  } else if constexpr (std::is_enum_v<T>) {
    return MakeArg(static_cast<std::underlying_type_t<T>>(value));
  } else if constexpr (std::is_signed_v<T>) {
    return Arg{ArgKind::Signed, static_cast<std::int64_t>(value), static_cast<std::uint64_t>(value), {}};
  } else {
    return Arg{ArgKind::Unsigned, static_cast<std::int64_t>(value), static_cast<std::uint64_t>(value), {}};
  }
}

// Reached only when a literal format and its arguments disagree; being non-constexpr, a
// call from the checking code below turns the disagreement into a compile error.
void FormatArgumentsDoNotMatchFormat();

// Compile-time walk over a literal format: every conversion must find an argument of a
// fitting kind, and no argument may be left over.
consteval void CheckFormat(std::wstring_view fmt, std::span<const ArgKind> kinds) {
  std::size_t next = 0;
  for (std::size_t i = 0; i < fmt.size(); ++i) {
    if (fmt[i] != L'%') continue;
    ++i;
    if (i < fmt.size() && fmt[i] == L'%') continue;
    while (i < fmt.size() && std::wstring_view(L"-+ #0123456789.lhI").find(fmt[i]) != std::wstring_view::npos) ++i;
    if (i >= fmt.size()) FormatArgumentsDoNotMatchFormat();
    const wchar_t conversion = fmt[i];
    if (next >= kinds.size()) FormatArgumentsDoNotMatchFormat();
    const ArgKind kind = kinds[next++];
    const bool wantsString = conversion == L's';
    const bool wantsInteger = std::wstring_view(L"diuxXc").find(conversion) != std::wstring_view::npos;
    if (!wantsString && !wantsInteger) FormatArgumentsDoNotMatchFormat();
    if (wantsString != (kind == ArgKind::String)) FormatArgumentsDoNotMatchFormat();
  }
  if (next != kinds.size()) FormatArgumentsDoNotMatchFormat();
}

std::wstring FormatWithArgs(std::wstring_view fmt, std::span<const Arg> args);

}  // namespace format_detail

// A literal format whose conversions are checked against Args at compile time.
template <class... Args>
class FormatText {
 public:
  template <class Text>
    requires std::is_convertible_v<const Text&, std::wstring_view>
  consteval FormatText(const Text& text) : text_(text) {  // NOLINT(google-explicit-constructor)
    constexpr format_detail::ArgKind kinds[] = {format_detail::KindOf<Args>()..., format_detail::ArgKind::String};
    format_detail::CheckFormat(text_, std::span<const format_detail::ArgKind>(kinds, sizeof...(Args)));
  }
  constexpr std::wstring_view View() const { return text_; }

 private:
  std::wstring_view text_;
};

template <class... Args>
std::wstring Format(FormatText<std::type_identity_t<Args>...> fmt, const Args&... args) {
  const format_detail::Arg packed[] = {format_detail::MakeArg(args)..., format_detail::Arg{}};
  return format_detail::FormatWithArgs(fmt.View(), std::span<const format_detail::Arg>(packed, sizeof...(Args)));
}

// For formats read at run time (STRINGTABLE texts).
template <class... Args>
std::wstring FormatDynamic(std::wstring_view fmt, const Args&... args) {
  const format_detail::Arg packed[] = {format_detail::MakeArg(args)..., format_detail::Arg{}};
  return format_detail::FormatWithArgs(fmt, std::span<const format_detail::Arg>(packed, sizeof...(Args)));
}

}  // namespace setup
