#include "launcher/os_version_rules.h"

#include <algorithm>
#include <limits>
#include <tuple>

#include "foundation/format.h"
#include "foundation/text.h"
#include "resources/resource_ids.h"

namespace setup {

namespace {

constexpr std::uint8_t kProductTypeWorkstation = 1;
constexpr std::uint16_t kSuiteStorageServer = 0x2000;
constexpr std::uint16_t kSuiteHomeServer = 0x8000;

std::wstring BaseName(const platform::OsVersion& v, const NamingContext& context) {
  const bool workstation = v.productType == kProductTypeWorkstation;
  if (v.major == 5 && v.minor == 0) return L"Windows 2000";
  if (v.major == 5 && v.minor == 1) return L"Windows XP";
  if (v.major == 5 && v.minor == 2) {
    if (context.serverR2) return L"Windows Server 2003 R2";
    if (v.suiteMask & kSuiteStorageServer) return L"Windows Storage Server 2003";
    if (v.suiteMask & kSuiteHomeServer) return L"Windows Home Server";
    if (workstation && context.nativeArchitecture == platform::kArchitectureAmd64) {
      return L"Windows XP Professional x64 Edition";
    }
    return L"Windows Server 2003";
  }
  if (v.major == 6 && v.minor == 0) return workstation ? L"Windows Vista" : L"Windows Server 2008";
  if (v.major == 6 && v.minor == 1) return workstation ? L"Windows 7" : L"Windows Server 2008 R2";
  if (v.major == 6 && v.minor == 2) return workstation ? L"Windows 8" : L"Windows Server 2012";
  if (v.major == 10 && v.minor == 0) return Format(L"Windows %d.%d.%d", v.major, v.minor, v.build);
  return Format(L"Windows %d.%d", v.major, v.minor);
}

// The piece's leading number, saturated: a number beyond the 32-bit range, or a negative one,
// is an absurd requirement and becomes the highest number, which no system reaches.
std::uint32_t PieceNumber(const std::vector<std::wstring_view>& pieces, std::size_t index) {
  if (index >= pieces.size()) return 0;
  const std::int64_t value = ParseLeadingInteger(pieces[index]);
  if (value < 0 || value > std::numeric_limits<std::uint32_t>::max()) return std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(value);
}

std::uint16_t SaturatedWord(std::uint32_t value) {
  return static_cast<std::uint16_t>(std::min<std::uint32_t>(value, std::numeric_limits<std::uint16_t>::max()));
}

}  // namespace

OsRequirement ParseOsRequirement(std::wstring_view text) {
  if (text == L"WinNT") text = L"4.0";
  else if (text == L"WinXP") text = L"5.1.2";
  OsRequirement requirement;
  std::wstring_view versionText = text;
  if (const std::size_t slash = text.find(L'/'); slash != std::wstring_view::npos) {
    versionText = text.substr(0, slash);
    requirement.restriction = text.substr(slash + 1);
  }
  const std::vector<std::wstring_view> pieces = Split(versionText, L'.');
  requirement.major = PieceNumber(pieces, 0);
  requirement.minor = PieceNumber(pieces, 1);
  requirement.servicePackMajor = PieceNumber(pieces, 2);
  requirement.servicePackMinor = PieceNumber(pieces, 3);
  return requirement;
}

std::wstring OsDisplayName(const platform::OsVersion& version, const NamingContext& context) {
  std::wstring name = BaseName(version, context);
  if (version.servicePackMajor != 0) {
    name += Format(L" ServicePack %d", version.servicePackMajor);
    if (version.servicePackMinor != 0) name += Format(L".%d", version.servicePackMinor);
  }
  return name;
}

std::wstring RequiredOsDisplayName(const OsRequirement& requirement, const NamingContext& context) {
  platform::OsVersion version;
  version.major = requirement.major;
  version.minor = requirement.minor;
  version.servicePackMajor = SaturatedWord(requirement.servicePackMajor);
  version.servicePackMinor = SaturatedWord(requirement.servicePackMinor);
  version.build = 1;
  return OsDisplayName(version, context);
}

bool MeetsRequirement(const platform::OsVersion& detected, const OsRequirement& required) {
  return std::tuple(detected.major, detected.minor, std::uint32_t{detected.servicePackMajor}) >=
         std::tuple(required.major, required.minor, required.servicePackMajor);
}

std::int32_t WelcomeTextIdFor(const OsRequirement& required) {
  if (required.major == 5 && required.minor == 1 && required.servicePackMajor == 3) return IDS_WELCOME_SUPPORTED_OS_XP_SP3;
  if (required.major == 6 && required.minor == 0) return IDS_WELCOME_SUPPORTED_OS_VISTA;
  if (required.major == 6 && required.minor == 1 && required.servicePackMajor == 0) return IDS_WELCOME_SUPPORTED_OS_WIN7;
  if (required.major == 6 && required.minor == 1 && required.servicePackMajor == 1) return IDS_WELCOME_SUPPORTED_OS_WIN7_SP1;
  return 0;
}

}  // namespace setup
