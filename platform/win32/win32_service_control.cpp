// The service control manager (advapi32). The launcher only reads services, so the manager
// is opened to connect and the service only with the query rights: opening with more would
// make an installed service look absent wherever those rights are withheld.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/win32/system_function.h"
#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

struct ServiceHandleCloser {
  void operator()(SC_HANDLE handle) const { ADVAPI32(CloseServiceHandle)(handle); }
};
using ServiceHandle = std::unique_ptr<std::remove_pointer_t<SC_HANDLE>, ServiceHandleCloser>;

std::wstring TextOrEmpty(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

// The buffer of a query that is first asked for the size it needs.
template <class Query>
std::vector<BYTE> QueryWithSize(Query query) {
  DWORD needed = 0;
  if (query(nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) return {};
  std::vector<BYTE> buffer(needed);
  if (!query(buffer.data(), needed, &needed)) return {};
  return buffer;
}

std::optional<ServiceConfiguration> ReadConfiguration(SC_HANDLE service) {
  const std::vector<BYTE> buffer = QueryWithSize([service](BYTE* data, DWORD size, DWORD* needed) {
    return ADVAPI32(QueryServiceConfigW)(service, reinterpret_cast<QUERY_SERVICE_CONFIGW*>(data), size, needed) !=
           FALSE;
  });
  if (buffer.empty()) return std::nullopt;
  const auto* config = reinterpret_cast<const QUERY_SERVICE_CONFIGW*>(buffer.data());
  return ServiceConfiguration{config->dwStartType, TextOrEmpty(config->lpDisplayName),
                              TextOrEmpty(config->lpBinaryPathName), TextOrEmpty(config->lpServiceStartName)};
}

// The flag has a fixed size: no need to ask for the size first.
bool ReadDelayedAutoStart(SC_HANDLE service) {
  SERVICE_DELAYED_AUTO_START_INFO info{};
  DWORD needed = 0;
  return ADVAPI32(QueryServiceConfig2W)(service, SERVICE_CONFIG_DELAYED_AUTO_START_INFO, reinterpret_cast<BYTE*>(&info),
                                        sizeof(info), &needed) &&
         info.fDelayedAutostart;
}

std::wstring ReadDescription(SC_HANDLE service) {
  const std::vector<BYTE> buffer = QueryWithSize([service](BYTE* data, DWORD size, DWORD* needed) {
    return ADVAPI32(QueryServiceConfig2W)(service, SERVICE_CONFIG_DESCRIPTION, data, size, needed) != FALSE;
  });
  if (buffer.size() < sizeof(SERVICE_DESCRIPTIONW)) return {};
  return TextOrEmpty(reinterpret_cast<const SERVICE_DESCRIPTIONW*>(buffer.data())->lpDescription);
}

std::optional<std::uint32_t> ReadCurrentState(SC_HANDLE service) {
  SERVICE_STATUS status{};
  if (!ADVAPI32(QueryServiceStatus)(service, &status)) return std::nullopt;
  return status.dwCurrentState;
}

class Win32ServiceControl : public ServiceControl {
 public:
  std::optional<InstalledService> ReadInstalledService(std::wstring_view serviceName) const override {
    const ServiceHandle manager(ADVAPI32(OpenSCManagerW)(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return std::nullopt;
    const ServiceHandle service(ADVAPI32(OpenServiceW)(manager.get(), std::wstring(serviceName).c_str(),
                                                       SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS));
    if (!service) return std::nullopt;
    return InstalledService{ReadConfiguration(service.get()), ReadDelayedAutoStart(service.get()),
                            ReadDescription(service.get()), ReadCurrentState(service.get())};
  }
};

}  // namespace

std::unique_ptr<ServiceControl> CreateServiceControl() { return std::make_unique<Win32ServiceControl>(); }

}  // namespace setup::platform::win32
