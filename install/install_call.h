// One Windows Installer call for one package, as every install sequence makes it: the
// launcher's user-interface level, the command-line transforms merged into the package, the
// log handed over, the launcher's message handler in place, and the property string built
// in its fixed order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "packages/setup_package.h"
#include "run/run_context.h"

namespace setup {

// The property string of an install call: "/m <file> " for an SMS status file, "ACTION=ADMIN "
// or "REMOVE=ALL ", "INSTALLEDFROMLAUNCHER=Yes ", the "PROPERTIES" resource, the command-line
// properties in order, then `extra` unchanged. Every item ends with one blank.
std::wstring InstallCallProperties(const RunContext& run, std::wstring_view extra);

// Installs (or, with the remove switch, removes) the package; 0 or the installer's result,
// with success that asks for a restart counted as success.
std::uint32_t InstallCall(const RunContext& run, const SetupPackage& package, std::wstring_view extra);

// Results that report success with a restart (1641, 3010, 3011) are logged as a remark and
// become 0; every other result is returned as it is.
std::uint32_t IgnoreRestartSuccess(const RunContext& run, std::uint32_t result);

}  // namespace setup
