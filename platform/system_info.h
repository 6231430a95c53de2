// Port: facts about the machine, the process and the user.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/resources.h"

namespace setup::platform {

struct OsVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint16_t servicePackMajor = 0;
  std::uint16_t servicePackMinor = 0;
  std::uint16_t build = 0;
  std::uint8_t productType = 0;  // 1 workstation, 2 domain controller, 3 server
  std::uint16_t suiteMask = 0;
};

// Native processor architectures that mean a 64-bit operating system.
inline constexpr std::uint16_t kArchitectureIa64 = 6;
inline constexpr std::uint16_t kArchitectureAmd64 = 9;
inline constexpr std::uint16_t kArchitectureArm64 = 12;

constexpr bool IsSixtyFourBitArchitecture(std::uint16_t architecture) {
  return architecture == kArchitectureIa64 || architecture == kArchitectureAmd64 || architecture == kArchitectureArm64;
}

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

enum class BuiltinGroup { Administrators, PowerUsers };

enum class MutexResult { Created, AlreadyExists, Failed };

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;

  // The running system's version; empty when the query fails.
  virtual std::optional<OsVersion> QueryOsVersion() const = 0;
  virtual std::uint16_t NativeProcessorArchitecture() const = 0;
  // The SM_SERVERR2 system metric is non-zero.
  virtual bool IsServerR2() const = 0;
  // Direct2D 1.1 (the ID2D1Factory1 interface) is available.
  virtual bool HasDirect2D11() const = 0;
  // Membership of the calling thread's token; empty when the system cannot answer.
  virtual std::optional<bool> IsTokenMemberOf(BuiltinGroup group) const = 0;
  // The security identifier of the user the process runs as, as text ("S-1-5-21-..."); empty
  // when the system cannot answer.
  virtual std::optional<std::wstring> ProcessUserSid() const = 0;
  virtual LangId UserDefaultUiLanguage() const = 0;
  // Full path of the launcher's own executable.
  virtual std::wstring ModulePath() const = 0;
  virtual LocalTime Now() const = 0;
  // The system's message text for an error code (may end with "\r\n"); empty when unknown.
  virtual std::wstring SystemMessageText(std::uint32_t code) const = 0;
  // Creates a named mutex that stays held until the process ends.
  virtual MutexResult CreateNamedMutex(std::wstring_view name) = 0;
  virtual void Sleep(std::uint32_t milliseconds) const = 0;
  // Milliseconds since the system started (wrapping at 2^32).
  virtual std::uint32_t TickCount() const = 0;
};

}  // namespace setup::platform
