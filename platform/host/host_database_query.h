// The SQL the host installer-database stand-in understands: the SELECT queries the launcher
// runs, "SELECT * | column[, column]... FROM table [WHERE column = ? | 'text' | number]".
// Keywords ignore case; names may be quoted with backquotes; string comparison is exact.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/host_database_files.h"

namespace setup::platform::host {

struct HostQuery {
  std::vector<std::wstring> columns;  // empty: every column
  std::wstring table;
  std::optional<std::wstring> whereColumn;
  HostField whereValue;  // the literal, when the condition has no "?"
  bool whereParameter = false;
};

// Empty when the text is not a query of that form.
std::optional<HostQuery> ParseHostQuery(std::wstring_view sql);

// The rows the query selects from the table, with the parameter's value for a "?"; empty
// optional when a named column does not exist.
std::optional<std::vector<HostRow>> RunHostQuery(const HostQuery& query, const HostTable& table,
                                                 const HostField& parameter);

}  // namespace setup::platform::host
