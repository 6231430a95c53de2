// Host stand-in of the service-control port: a table of installed services that tests fill.
// As with the service control manager, service names are compared ignoring case.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "foundation/text.h"
#include "platform/service_control.h"

namespace setup::platform::host {

class HostServiceControl : public ServiceControl {
 public:
  std::optional<InstalledService> ReadInstalledService(std::wstring_view serviceName) const override {
    const auto found = services_.find(Key(serviceName));
    if (found == services_.end()) return std::nullopt;
    return found->second;
  }

  // Installs (or replaces) a service. Parts left empty in `service` read as refused.
  void Install(std::wstring_view serviceName, InstalledService service) {
    services_.insert_or_assign(Key(serviceName), std::move(service));
  }
  void Remove(std::wstring_view serviceName) { services_.erase(Key(serviceName)); }

 private:
  static std::wstring Key(std::wstring_view name) {
    std::wstring key;
    for (const wchar_t c : name) key += FoldCase(c);
    return key;
  }

  std::map<std::wstring, InstalledService> services_;
};

}  // namespace setup::platform::host
