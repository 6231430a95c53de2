// The rules behind the operating-system check: the minimum-version text of the "OS"
// resource, the display names of Windows versions, and the version comparison.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system_info.h"

namespace setup {

struct OsRequirement {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t servicePackMajor = 0;  // the third number
  std::uint32_t servicePackMinor = 0;  // the fourth number
  std::wstring restriction;            // the text after "/", for example "WSOnly"
};

// Reads "major.minor.sp.spminor[/restriction]", with the aliases "WinNT" and "WinXP".
OsRequirement ParseOsRequirement(std::wstring_view text);

// Facts of the machine that the naming of version 5.2 depends on.
struct NamingContext {
  bool serverR2 = false;
  std::uint16_t nativeArchitecture = 0;
};

std::wstring OsDisplayName(const platform::OsVersion& version, const NamingContext& context);
// The name of a requirement: build 1 and product type 0, which selects the server names.
std::wstring RequiredOsDisplayName(const OsRequirement& requirement, const NamingContext& context);

// Whether the detected (major, minor, service-pack major) reaches the requirement.
bool MeetsRequirement(const platform::OsVersion& detected, const OsRequirement& required);

// The welcome page's introduction text for the required systems; 0 when the default stays.
std::int32_t WelcomeTextIdFor(const OsRequirement& required);

}  // namespace setup
