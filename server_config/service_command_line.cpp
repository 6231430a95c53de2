#include "server_config/service_command_line.h"

#include <algorithm>

#include "foundation/text.h"
#include "packages/package_queries.h"
#include "server_config/service_logon.h"
#include "server_config/service_property_names.h"

namespace setup {

namespace {

std::int32_t PortOf(std::wstring_view text) { return static_cast<std::int32_t>(ParseLeadingInteger(text)); }

void TakeCertificate(CertificateFile& file, const std::wstring& path) {
  file.path = path;
  file.given = true;
}

// The service, display name and certificate settings, under the service prefix.
void ApplyServiceSetting(ServiceEntry& entry, const ServicePropertyText& property) {
  const std::wstring_view key = property.key;
  if (EqualsIgnoreCase(key, kServiceDisplayName)) {
    entry.displayName = property.value;
  } else if (EqualsIgnoreCase(key, kServiceStartType)) {
    if (const auto startType = StartTypeOfText(property.value)) entry.startType = *startType;
  } else if (EqualsIgnoreCase(key, kServiceUsername)) {
    SetLogonAccount(entry, property.value);
  } else if (key == kServicePassword) {
    entry.password = property.value;
  } else if (EqualsIgnoreCase(key, kSslCertificate)) {
    TakeCertificate(entry.certificate, property.value);
  } else if (EqualsIgnoreCase(key, kSslPrivateKey)) {
    TakeCertificate(entry.privateKey, property.value);
  } else if (EqualsIgnoreCase(key, kSslCertificateChain)) {
    TakeCertificate(entry.certificateChain, property.value);
  }
}

// The web-server settings, under the entry's own prefix.
void ApplyWebServerSetting(ServiceEntry& entry, const ServicePropertyText& property) {
  const std::wstring_view key = property.key;
  if (EqualsIgnoreCase(key, kWebServerPort)) {
    entry.httpPort = PortOf(property.value);
  } else if (EqualsIgnoreCase(key, kWebServerHost)) {
    entry.httpHost = property.value;
  } else if (EqualsIgnoreCase(key, kWebServerEnabled)) {
    entry.httpEnabled = ParseLeadingInteger(property.value) != 0;
  } else if (EqualsIgnoreCase(key, kSslWebServerPort)) {
    entry.sslPort = PortOf(property.value);
  } else if (EqualsIgnoreCase(key, kSslWebServerHost)) {
    entry.sslHost = property.value;
  } else if (EqualsIgnoreCase(key, kSslWebServerEnabled)) {
    entry.sslEnabled = ParseLeadingInteger(property.value) != 0;
  }
}

void Apply(std::vector<ServiceEntry>& entries, std::wstring_view name, std::wstring_view value) {
  const auto property = SplitServiceProperty(name, value);
  if (!property) return;
  for (ServiceEntry& entry : entries) {
    if (EqualsIgnoreCase(property->prefix, entry.ServicePrefix())) ApplyServiceSetting(entry, *property);
    if (EqualsIgnoreCase(property->prefix, entry.Prefix())) ApplyWebServerSetting(entry, *property);
  }
}

}  // namespace

std::optional<ServicePropertyText> SplitServiceProperty(std::wstring_view name, std::wstring_view value) {
  const std::size_t underscore = name.find(L'_');
  if (underscore == std::wstring_view::npos) return std::nullopt;
  value = Trim(value, kBlanksAndTabs);
  if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') value = value.substr(1, value.size() - 2);
  return ServicePropertyText{std::wstring(name.substr(0, underscore)), std::wstring(name.substr(underscore + 1)),
                             std::wstring(value)};
}

void ApplyCommandLine(std::vector<ServiceEntry>& entries, const PackageList& packages,
                      std::span<const CommandLineProperty> properties) {
  for (const CommandLineProperty& property : properties) Apply(entries, property.name, property.value);
  // The offline Wendrak server starts delayed unless told otherwise. The start type given on
  // the command line is found whatever its case, as the entries read it.
  const bool wendrak = std::ranges::any_of(packages.packages, IsWendrakOfflinePackage);
  const std::wstring startTypeName = ServicePropertyName(kWendrakKind.servicePrefix, kServiceStartType);
  const bool startTypeGiven = std::ranges::any_of(
      properties, [&](const CommandLineProperty& property) { return EqualsIgnoreCase(property.name, startTypeName); });
  if (wendrak && !startTypeGiven) Apply(entries, startTypeName, StartTypeText(ServiceStartType::AutoDelayed));
  for (ServiceEntry& entry : entries) entry.initial = entry.CurrentValues();
}

}  // namespace setup
