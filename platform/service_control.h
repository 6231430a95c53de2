// Port: the service control manager, read only. Gives a snapshot of an installed Windows
// service: its configuration, delayed-start flag, description and current state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setup::platform {

// Start types with their Windows values.
inline constexpr std::uint32_t kServiceBootStart = 0;
inline constexpr std::uint32_t kServiceSystemStart = 1;
inline constexpr std::uint32_t kServiceAutoStart = 2;
inline constexpr std::uint32_t kServiceDemandStart = 3;
inline constexpr std::uint32_t kServiceDisabled = 4;

// Current states with their Windows values.
inline constexpr std::uint32_t kServiceStopped = 1;
inline constexpr std::uint32_t kServiceStartPending = 2;
inline constexpr std::uint32_t kServiceStopPending = 3;
inline constexpr std::uint32_t kServiceRunning = 4;
inline constexpr std::uint32_t kServiceContinuePending = 5;
inline constexpr std::uint32_t kServicePausePending = 6;
inline constexpr std::uint32_t kServicePaused = 7;

struct ServiceConfiguration {
  std::uint32_t startType = kServiceDemandStart;
  std::wstring displayName;
  std::wstring executablePath;  // the command line the service control manager starts, as stored
  std::wstring logonAccount;    // as stored, e.g. "LocalSystem" or ".\user"
};

// What could be read of a service that exists. Each part the manager refuses to give is
// left empty (the flag false, the description empty).
struct InstalledService {
  std::optional<ServiceConfiguration> configuration;
  bool delayedAutoStart = false;
  std::wstring description;
  std::optional<std::uint32_t> currentState;  // one of the kService... state values
};

class ServiceControl {
 public:
  virtual ~ServiceControl() = default;
  // The service whose key name (not display name) is `serviceName`, compared ignoring case;
  // empty when it cannot be opened: it is not installed, or the manager refuses access.
  virtual std::optional<InstalledService> ReadInstalledService(std::wstring_view serviceName) const = 0;
};

}  // namespace setup::platform
