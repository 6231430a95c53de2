// One row of the log-line table (run/log_lines.h): the level, the format and whether the line
// is one of the launcher's own steps, which begin with the launcher's mark. The format is
// checked against the row's argument types when the table is compiled.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "foundation/format.h"

namespace setup {

// Log levels: an entry is written when its level does not exceed the log level.
inline constexpr int kLogErrors = 1;
inline constexpr int kLogWarnings = 2;
inline constexpr int kLogInfo = 3;
inline constexpr int kLogVerbose = 4;

// Launcher steps begin with this mark; the other lines (start and stop, conflict analysis,
// upgrade analysis, validation, workload files) carry their own beginning in the format.
inline constexpr std::wstring_view kLauncherStepMark = L"TSL (c): ";

enum class LogLineKind : std::uint8_t { Plain, LauncherStep };

template <class... Args>
struct LogLine {
  LogLineKind kind;
  int level;
  FormatText<Args...> format;
};

// The exact text of a line, as the log receives it.
template <class... Args>
std::wstring LogLineText(const LogLine<Args...>& line, const std::type_identity_t<Args>&... args) {
  std::wstring text = setup::Format<Args...>(line.format, args...);
  if (line.kind == LogLineKind::LauncherStep) text.insert(0, kLauncherStepMark);
  return text;
}

}  // namespace setup
