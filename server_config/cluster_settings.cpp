#include "server_config/cluster_settings.h"

#include "foundation/file_utilities.h"
#include "foundation/format.h"
#include "foundation/ini_file.h"
#include "foundation/text.h"
#include "packages/package_cache.h"
#include "server_config/service_command_line.h"

namespace setup {

namespace {

constexpr std::wstring_view kServerName = L"Brammel Server";
constexpr std::wstring_view kPropertyPrefix = L"BR";

// "<common data>\BrammelServer<major version>" of the first workflow server package; empty
// without one or without the common data folder.
std::wstring InstallationDataFolder(platform::Platform& platform, const PackageList& packages) {
  for (const SetupPackage& package : packages.packages) {
    if (package.productName.find(kServerName) == std::wstring::npos) continue;
    const std::wstring root = PackageCacheRoot(platform).Path();
    if (root.empty()) return {};
    const int version = package.products.empty() ? 0 : package.products.front().MajorVersion();
    return root + Format(L"\\BrammelServer%d", version);
  }
  return {};
}

}  // namespace

ClusterSettings ReadClusterSettings(platform::Platform& platform, const PackageList& packages) {
  ClusterSettings settings;
  const std::wstring folder = InstallationDataFolder(platform, packages);
  if (folder.empty()) return settings;

  const ICBSIniFile server(platform, ICBSFilePath(folder + L"\\data\\brammel.ini"));
  if (server.IsLoaded()) {
    if (const std::wstring port = server.GetValue(L"Master::port"); !port.empty() && port != L"0") {
      settings.port = port;
    }
    if (server.HasValue(L"Master::host")) settings.host = server.GetValue(L"Master::host");
    if (server.GetValue(L"Master::active") == L"1") {
      settings.masterActive = true;
      settings.role = ClusterRole::Master;
    }
  }
  const ICBSIniFile web(platform, ICBSFilePath(folder + L"\\data\\brammelweb.ini"));
  if (ICBSFileUtilities(platform).FileExists(folder + L"\\data\\master.cfg") ||
      (web.IsLoaded() && web.GetValue(L"Worker::configure") == L"1")) {
    settings.role = ClusterRole::Worker;
  }
  return settings;
}

void ApplyClusterCommandLine(ClusterSettings& settings, std::span<const CommandLineProperty> properties) {
  for (const CommandLineProperty& property : properties) {
    const auto split = SplitServiceProperty(property.name, property.value);
    if (!split || !EqualsIgnoreCase(split->prefix, kPropertyPrefix)) continue;
    if (split->key == L"Master.Host") {
      settings.role = ClusterRole::Master;
      settings.host = split->value;
    } else if (EqualsIgnoreCase(split->key, L"Master_Port")) {
      settings.role = ClusterRole::Master;
      settings.port = split->value;
    } else if (EqualsIgnoreCase(split->key, L"Cluster_Role")) {
      if (EqualsIgnoreCase(split->value, L"Standalone")) settings.role = ClusterRole::StandAlone;
      else if (EqualsIgnoreCase(split->value, L"Master")) settings.role = ClusterRole::Master;
      else if (EqualsIgnoreCase(split->value, L"Worker")) settings.role = ClusterRole::Worker;
    }
  }
}

std::wstring ClusterProperties(const ClusterSettings& settings, const std::wstring& editPort, ClusterRole startRole) {
  std::wstring port = settings.port;
  bool active = false;
  const wchar_t* roleName = L"Standalone";
  switch (settings.role) {
    case ClusterRole::StandAlone: break;
    case ClusterRole::Master:
      port = editPort;
      active = true;
      roleName = L"Master";
      break;
    case ClusterRole::Worker:
      port = L"0";
      roleName = L"Worker";
      break;
  }
  std::wstring properties = L"BR_Master_Port=\"" + port + L"\" ";
  properties += L"BR_Master_Host=\"" + settings.host + L"\" ";
  properties += active ? L"BR_Master_Active=1 " : L"BR_Master_Active=0 ";
  if (settings.role == ClusterRole::Worker && startRole != ClusterRole::Worker) properties += L"BR_Worker_Configure=1 ";
  properties += L"BR_Cluster_Role=\"" + std::wstring(roleName) + L"\" ";
  return properties;
}

}  // namespace setup
