#include "server_config/service_entries.h"

#include <optional>

#include "foundation/file_utilities.h"
#include "foundation/format.h"
#include "packages/package_cache.h"
#include "server_config/service_configuration_file.h"
#include "server_config/service_logon.h"

namespace setup {

namespace {

constexpr std::wstring_view kX86Suffix = L" (x86)";

int MajorVersionOf(const SetupPackage& package) {
  return package.products.empty() ? 0 : package.products.front().MajorVersion();
}

ServiceEntry DefaultEntry(const ServiceKind& kind, const SetupPackage& package, std::size_t index) {
  ServiceEntry entry;
  entry.kind = &kind;
  entry.package = &package;
  entry.settingsOwner = index;
  entry.serviceName = kind.serviceName;
  const std::wstring version = Format(L"%d", MajorVersionOf(package));
  if (kind.displayName.empty()) {
    entry.displayName = std::wstring(kind.label) + L" " + version;
  } else {
    entry.displayName = kind.displayName;
    if (kind.displayNameHasVersion) entry.displayName += L" " + version;
  }
  entry.startType = kind.startType;
  entry.httpPort = kind.httpPort;
  entry.sslPort = kind.sslPort;
  return entry;
}

// The start type and logon account of the installed service; the password is never known.
void TakeInstalledService(ServiceEntry& entry, const platform::ServiceControl& services) {
  if (entry.serviceName.empty()) return;
  const std::optional<platform::InstalledService> installed = services.ReadInstalledService(entry.serviceName);
  if (!installed || !installed->configuration) return;
  const platform::ServiceConfiguration& configuration = *installed->configuration;
  // Boot and system start types belong to drivers; a server keeps its default then.
  switch (configuration.startType) {
    case platform::kServiceAutoStart:
      entry.startType = installed->delayedAutoStart ? ServiceStartType::AutoDelayed : ServiceStartType::Auto;
      break;
    case platform::kServiceDemandStart: entry.startType = ServiceStartType::Demand; break;
    case platform::kServiceDisabled: entry.startType = ServiceStartType::Disabled; break;
    default: break;
  }
  std::wstring_view account = configuration.logonAccount;
  if (account.starts_with(L".\\")) account.remove_prefix(2);
  SetLogonAccount(entry, account);
  entry.password.clear();
}

std::wstring ConfigurationPath(platform::Platform& platform, const ServiceEntry& entry) {
  const ServiceKind& kind = *entry.kind;
  const int version = MajorVersionOf(*entry.package);
  switch (kind.place) {
    case ConfigurationPlace::CommonData:
    case ConfigurationPlace::CommonDataVersioned: {
      const std::wstring commonData = PackageCacheRoot(platform).Path();
      if (commonData.empty()) return {};
      if (kind.place == ConfigurationPlace::CommonData) return commonData + std::wstring(kind.configurationSuffix);
      return VersionedConfigurationPath(platform, commonData + std::wstring(kind.configurationBase), version,
                                        kind.configurationSuffix);
    }
    case ConfigurationPlace::ProgramFilesVersioned: {
      std::wstring programFiles = platform.files->KnownFolderPath(platform::KnownFolder::ProgramFiles);
      if (programFiles.empty()) return {};
      // A 32-bit launcher is shown the 32-bit folder; a 64-bit package lives in the other one.
      if (entry.package->is64Bit && programFiles.ends_with(kX86Suffix)) {
        programFiles.resize(programFiles.size() - kX86Suffix.size());
      }
      return VersionedConfigurationPath(platform, programFiles + L"\\Tarquel\\" + std::wstring(kind.configurationBase),
                                        version, kind.configurationSuffix);
    }
  }
  return {};
}

}  // namespace

std::wstring VersionedConfigurationPath(platform::Platform& platform, std::wstring_view base, int version,
                                        std::wstring_view suffix) {
  const ICBSFileUtilities files(platform);
  for (int candidate = version; candidate >= version - 2; --candidate) {
    std::wstring path = std::wstring(base) + Format(L"%d", candidate) + std::wstring(suffix);
    if (files.FileExists(path)) return path;
  }
  return std::wstring(base) + Format(L"%d", version) + std::wstring(suffix);
}

std::vector<ServiceEntry> BuildServiceEntries(platform::Platform& platform, const PackageList& packages) {
  std::vector<ServiceEntry> entries;
  for (const SetupPackage& package : packages.packages) {
    for (const ServiceKind* kind : ServiceKindsOfProduct(package.productName)) {
      ServiceEntry& entry = entries.emplace_back(DefaultEntry(*kind, package, entries.size()));
      TakeInstalledService(entry, *platform.services);
      if (const std::wstring path = ConfigurationPath(platform, entry); !path.empty()) {
        ReadConfigurationFile(platform, path, entry);
      }
      entry.initial = entry.CurrentValues();
    }
  }
  return entries;
}

void PairServiceEntries(std::vector<ServiceEntry>& entries) {
  std::optional<std::size_t> workflowServer;
  std::optional<std::size_t> adminInterface;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].serviceName == kBrammelKind.serviceName) workflowServer = i;
    if (entries[i].Prefix() == kPellomarAdminKind.prefix) adminInterface = i;
  }
  for (ServiceEntry& entry : entries) {
    if (workflowServer && entry.serviceName == kBrammelWebKind.serviceName) entry.settingsOwner = *workflowServer;
    if (adminInterface && entry.Prefix() == kPellomarClientKind.prefix) entry.settingsOwner = *adminInterface;
  }
}

}  // namespace setup
