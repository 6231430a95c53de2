// The texts of start types and logon accounts, as the service properties and the service
// control manager spell them.
#pragma once

#include <optional>
#include <string_view>

#include "server_config/service_entry.h"

namespace setup {

// "auto", "demand", "disabled" or "auto-delayed".
std::wstring_view StartTypeText(ServiceStartType startType);
// The start type of such a text, compared ignoring case; none for any other text.
std::optional<ServiceStartType> StartTypeOfText(std::wstring_view text);

// "LocalSystem", "NT AUTHORITY\LocalService", "NT AUTHORITY\NetworkService", or the user name.
std::wstring_view LogonAccountText(const ServiceEntry& entry);
// The built-in account of that exact name, or another user with that name.
void SetLogonAccount(ServiceEntry& entry, std::wstring_view account);

}  // namespace setup
