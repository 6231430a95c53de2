// The server components whose service and web servers the launcher configures: one kind per
// component, with its names, default ports, property prefix, restrictions and the place of
// its configuration file.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace setup {

// Start types of a service, with the service control manager's values; "auto-delayed" is the
// automatic start with the delayed-start flag.
enum class ServiceStartType : std::uint32_t { Auto = 2, Demand = 3, Disabled = 4, AutoDelayed = 5 };

// The account a service logs on with.
enum class LogonAccount { LocalSystem = 0, LocalService = 1, NetworkService = 2, OtherUser = 3 };

// Where a component keeps its configuration file.
enum class ConfigurationPlace {
  CommonData,                // the common data folder + the suffix
  CommonDataVersioned,       // the common data folder + the base + a version + the suffix
  ProgramFilesVersioned,     // the program files folder + "\Tarquel\" + the base + a version + the suffix
};

// Which settings of an INI configuration file hold the web servers.
enum class ConfigurationLayout {
  Listen,       // "Listen::..." and "ListenSSL::..."
  ListenAdmin,  // "ListenAdmin::..." and "ListenAdminSSL::..."
  Comparison,   // "SorvikServer::port" and "SorvikServer::address", no SSL
  Xml,          // the processing servers' XML file: "http.*" and "https.*"
};

struct ServiceKind {
  std::wstring_view label;        // also the tab title
  std::wstring_view serviceName;  // empty: the component has no service of its own
  std::wstring_view displayName;  // empty: none of its own
  bool displayNameHasVersion;     // the package's major version follows the display name
  std::int32_t httpPort;
  std::int32_t sslPort;           // 0 without SSL
  std::wstring_view prefix;       // of its web-server properties
  std::wstring_view servicePrefix;  // of its service and certificate properties
  ServiceStartType startType;
  bool restrictedAccounts;        // only LocalSystem or another user may run the service
  bool webServerAlwaysOn;         // the HTTP web server cannot be switched off
  bool sslSupported;
  ConfigurationPlace place;
  std::wstring_view configurationBase;    // versioned places: the folder name before the version
  std::wstring_view configurationSuffix;  // the rest of the path
  ConfigurationLayout layout;

  bool HasService() const { return !serviceName.empty(); }
};

extern const ServiceKind kWendrakKind;
extern const ServiceKind kBrammelKind;
extern const ServiceKind kBrammelWebKind;
extern const ServiceKind kPellomarAdminKind;
extern const ServiceKind kPellomarClientKind;
extern const ServiceKind kYarrickKind;
extern const ServiceKind kYarrickXbrlKind;
extern const ServiceKind kSorvikKind;

// The kinds a package brings, in creation order, chosen by its product name; none for a
// package without a configurable server component.
std::span<const ServiceKind* const> ServiceKindsOfProduct(std::wstring_view productName);

}  // namespace setup
