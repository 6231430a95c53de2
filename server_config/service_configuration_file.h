// Reading a component's web-server settings and certificate files from the configuration
// file its product keeps: an INI file, or the processing servers' XML file.
#pragma once

#include <string_view>

#include "platform/platform.h"
#include "server_config/service_entry.h"

namespace setup {

// Takes every setting the file holds into the entry; a missing or unreadable file, and every
// setting the file lacks, leave the entry as it was.
void ReadConfigurationFile(platform::Platform& platform, std::wstring_view path, ServiceEntry& entry);

}  // namespace setup
