// Pre-filling the service entries from the installer properties of the command line.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "packages/setup_package.h"
#include "run/command_line_info.h"
#include "server_config/service_entry.h"

namespace setup {

// A NAME=VALUE property split for the service entries: the name's prefix before its first
// "_", the key after it, and the value trimmed of blanks and tabs with one pair of enclosing
// double quotes removed.
struct ServicePropertyText {
  std::wstring prefix;
  std::wstring key;
  std::wstring value;
};

// None for a property whose name has no "_".
std::optional<ServicePropertyText> SplitServiceProperty(std::wstring_view name, std::wstring_view value);

// Sets the entries from the command-line properties, then takes every entry's initial values.
// A launcher that carries the offline Wendrak server starts it delayed unless the command
// line gives its start type.
void ApplyCommandLine(std::vector<ServiceEntry>& entries, const PackageList& packages,
                      std::span<const CommandLineProperty> properties);

}  // namespace setup
