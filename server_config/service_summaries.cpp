#include "server_config/service_summaries.h"

#include <string>

#include "resources/resource_ids.h"

namespace setup {

namespace {

// "port number: <port>" or "disabled"; the port in bold when it changed, all of it when the
// switch changed.
std::vector<platform::TextRun> ConnectionSummary(const LanguageCatalog& languages, std::int32_t port,
                                                 std::int32_t initialPort, bool enabled, bool initialEnabled) {
  const bool switched = enabled != initialEnabled;
  if (!enabled) return {{languages.Text(IDS_SUMMARY_DISABLED), switched}};
  return {{languages.Text(IDS_SUMMARY_PORT) + L": ", switched},
          {std::to_wstring(port), switched || port != initialPort}};
}

std::uint32_t StartTypeTextId(ServiceStartType startType) {
  switch (startType) {
    case ServiceStartType::Auto: return IDS_START_AUTOMATIC;
    case ServiceStartType::Demand: return IDS_START_ON_DEMAND;
    case ServiceStartType::Disabled: return IDS_START_DISABLED;
    case ServiceStartType::AutoDelayed: return IDS_START_AUTOMATIC_DELAYED;
  }
  return IDS_START_AUTOMATIC;
}

std::wstring AccountText(const LanguageCatalog& languages, const ServiceEntry& entry) {
  switch (entry.account) {
    case LogonAccount::LocalSystem: return languages.Text(IDS_ACCOUNT_LOCAL_SYSTEM);
    case LogonAccount::LocalService: return languages.Text(IDS_ACCOUNT_LOCAL_SERVICE);
    case LogonAccount::NetworkService: return languages.Text(IDS_ACCOUNT_NETWORK_SERVICE);
    case LogonAccount::OtherUser: break;
  }
  return L"\"" + entry.userName + L"\"";
}

}  // namespace

std::vector<platform::TextRun> HttpSummary(const LanguageCatalog& languages, const ServiceEntry& entry) {
  return ConnectionSummary(languages, entry.httpPort, entry.initial.httpPort, entry.httpEnabled,
                           entry.initial.httpEnabled);
}

std::vector<platform::TextRun> SslSummary(const LanguageCatalog& languages, const ServiceEntry& entry) {
  return ConnectionSummary(languages, entry.sslPort, entry.initial.sslPort, entry.sslEnabled, entry.initial.sslEnabled);
}

std::vector<platform::TextRun> ServiceSummary(const LanguageCatalog& languages, const ServiceEntry& entry) {
  const bool accountChanged = entry.account != entry.initial.account || entry.userName != entry.initial.userName;
  return {{languages.Text(IDS_SUMMARY_START_TYPE) + L": ", false},
          {languages.Text(StartTypeTextId(entry.startType)), entry.startType != entry.initial.startType},
          {L", " + languages.Text(IDS_SUMMARY_LOGON_ACCOUNT) + L": ", false},
          {AccountText(languages, entry), accountChanged}};
}

}  // namespace setup
