// What the wizard hands the install sequence besides the run itself.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "options/setup_options.h"
#include "packages/product_record.h"

namespace setup {

struct InstallRequest {
  // The installations a quick install upgrades (empty without a quick install), and the setup
  // options bound to them.
  std::span<const ProductRecord> quickInstallList;
  const SetupOptions* options = nullptr;
  // The property strings of the server pages ("NAME=VALUE " items), each when it is to be used.
  std::optional<std::wstring> backupProperties;
  std::optional<std::wstring> serviceProperties;
  std::optional<std::wstring> clusterProperties;
};

}  // namespace setup
