#include "server_config/service_logon.h"

#include <array>
#include <utility>

#include "foundation/text.h"

namespace setup {

namespace {

constexpr std::array<std::pair<ServiceStartType, std::wstring_view>, 4> kStartTypes{{
    {ServiceStartType::Auto, L"auto"},
    {ServiceStartType::Demand, L"demand"},
    {ServiceStartType::Disabled, L"disabled"},
    {ServiceStartType::AutoDelayed, L"auto-delayed"},
}};

constexpr std::array<std::pair<LogonAccount, std::wstring_view>, 3> kBuiltInAccounts{{
    {LogonAccount::LocalSystem, L"LocalSystem"},
    {LogonAccount::LocalService, L"NT AUTHORITY\\LocalService"},
    {LogonAccount::NetworkService, L"NT AUTHORITY\\NetworkService"},
}};

}  // namespace

std::wstring_view StartTypeText(ServiceStartType startType) {
  for (const auto& [type, text] : kStartTypes) {
    if (type == startType) return text;
  }
  return kStartTypes.front().second;
}

std::optional<ServiceStartType> StartTypeOfText(std::wstring_view text) {
  for (const auto& [type, name] : kStartTypes) {
    if (EqualsIgnoreCase(text, name)) return type;
  }
  return std::nullopt;
}

std::wstring_view LogonAccountText(const ServiceEntry& entry) {
  for (const auto& [account, text] : kBuiltInAccounts) {
    if (account == entry.account) return text;
  }
  return entry.userName;
}

void SetLogonAccount(ServiceEntry& entry, std::wstring_view account) {
  for (const auto& [kind, text] : kBuiltInAccounts) {
    if (text == account) {
      entry.account = kind;
      return;
    }
  }
  entry.account = LogonAccount::OtherUser;
  entry.userName = account;
}

}  // namespace setup
