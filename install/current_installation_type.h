// "CurrentInstallationType" under HKEY_LOCAL_MACHINE "Software\Tarquel", in the launcher's own
// (32-bit) view: the main package writes "Custom" there when its user chose a custom
// installation. The launcher only reads and deletes it, so it never outlives a run.
#pragma once

#include "platform/registry.h"

namespace setup {

void DeleteCurrentInstallationType(platform::Registry& registry);

// The value reads exactly "Custom" now.
bool IsCustomInstallation(platform::Registry& registry);

}  // namespace setup
