#include "run/secret_properties.h"

#include <optional>

#include "foundation/text.h"

namespace setup {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// One argument of the command line: where it ends, and where its first "=" stands and
// whether a quoted part was open there.
struct Argument {
  std::size_t end = 0;
  std::optional<std::size_t> equals;
  bool quotedAtEquals = false;
};

// Reads one argument from `start` the way the system's argument splitting does: blanks end it
// outside double quotes; a quote after an odd number of backslashes is a plain character; a
// doubled quote inside quotes is taken as a plain quote that keeps the quotes open, so that a
// secret is never cut short whichever of the system's readings applies.
Argument ReadArgument(std::wstring_view text, std::size_t start) {
  Argument argument;
  bool quoted = false;
  std::size_t backslashes = 0;
  std::size_t i = start;
  while (i < text.size() && (quoted || !IsBlank(text[i]))) {
    const wchar_t c = text[i];
    if (c == L'"' && backslashes % 2 == 0) {
      if (quoted && i + 1 < text.size() && text[i + 1] == L'"') {
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (c == L'=' && !argument.equals) {
      argument.equals = i;
      argument.quotedAtEquals = quoted;
    }
    backslashes = c == L'\\' ? backslashes + 1 : 0;
    ++i;
  }
  argument.end = i;
  return argument;
}

std::wstring WithoutQuotes(std::wstring_view text) {
  std::wstring result;
  for (const wchar_t c : text) {
    if (c != L'"') result += c;
  }
  return result;
}

}  // namespace

bool IsSecretPropertyName(std::wstring_view name) {
  constexpr std::size_t kSuffixLength = kServicePasswordKey.size() + 1;
  if (name.size() <= kSuffixLength) return false;
  const std::wstring_view suffix = name.substr(name.size() - kSuffixLength);
  return suffix.front() == L'_' && EqualsIgnoreCase(suffix.substr(1), kServicePasswordKey);
}

std::wstring MaskSecretProperties(std::wstring_view commandLine) {
  std::wstring masked;
  std::size_t i = 0;
  while (i < commandLine.size()) {
    if (IsBlank(commandLine[i])) {
      masked += commandLine[i++];
      continue;
    }
    const Argument argument = ReadArgument(commandLine, i);
    const std::wstring_view text = commandLine.substr(i, argument.end - i);
    const std::wstring name = argument.equals ? WithoutQuotes(commandLine.substr(i, *argument.equals - i)) : L"";
    if (argument.equals && IsSecretPropertyName(Trim(name, kBlanksAndTabs))) {
      masked += commandLine.substr(i, *argument.equals + 1 - i);
      masked += kMaskedValue;
      if (argument.quotedAtEquals) masked += L'"';
    } else {
      masked += text;
    }
    i = argument.end;
  }
  return masked;
}

}  // namespace setup
