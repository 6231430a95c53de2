#include "launcher/system_prerequisites.h"

#include "foundation/text.h"
#include "launcher/os_version_rules.h"
#include "run/log_lines.h"

namespace setup {

namespace {

constexpr std::wstring_view kMutexBaseName = L"_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}";
constexpr std::wstring_view kProductOptionsKey = L"System\\CurrentControlSet\\Control\\ProductOptions";

}  // namespace

bool SystemPrerequisites::CheckOsVersion(std::wstring_view osResourceText) {
  log_.WriteLog(log_lines::kDeterminingOsVersion);
  facts_.detected = platform_.system->QueryOsVersion().value_or(platform::OsVersion{});
  const std::uint16_t architecture = platform_.system->NativeProcessorArchitecture();
  const NamingContext naming{platform_.system->IsServerR2(), architecture};
  facts_.detectedName = OsDisplayName(facts_.detected, naming);
  log_.WriteLog(log_lines::kOsFound, facts_.detectedName);

  const OsRequirement required = ParseOsRequirement(osResourceText);
  facts_.requiredName = RequiredOsDisplayName(required, naming);
  log_.WriteLog(log_lines::kOsExpected, facts_.requiredName, EscapeControlCharacters(required.restriction));
  if (required.major == 0) {
    log_.WriteLog(log_lines::kNoMinimumOs);
    return true;
  }
  if (const std::int32_t welcomeId = WelcomeTextIdFor(required); welcomeId != 0) {
    facts_.welcomeTextId = welcomeId;
  } else {
    log_.WriteLog(log_lines::kDefaultOsText);
  }
  log_.WriteLog(log_lines::kCheckingOsVersion);
  if (!MeetsRequirement(facts_.detected, required)) return false;
  if (!required.restriction.empty() && required.restriction != L"WSOnly") {
    log_.WriteLog(log_lines::kUnsupportedOsRestriction);
  }
  log_.WriteLog(log_lines::kOsVersionCorrect);
  return true;
}

bool SystemPrerequisites::CheckDirect2D() { return platform_.system->HasDirect2D11(); }

std::wstring SystemPrerequisites::SingleInstanceMutexName() const {
  const std::wstring globalName = L"Global\\" + std::wstring(kMutexBaseName);
  if (facts_.detected.major > 4) return globalName;
  // Before Windows 2000 only Terminal Server knows the Global\ namespace.
  const auto key = platform_.registry->Open(platform::RegistryRoot::LocalMachine, kProductOptionsKey,
                                            platform::RegistryAccess::Read, false, 0);
  const auto suite = key ? key->QueryValue(L"ProductSuite") : std::nullopt;
  if (suite && suite->type == platform::kRegMultiSz) {
    for (const std::wstring_view entry : Split(FromUtf16LeBytes(suite->data), L'\0')) {
      if (entry == L"Terminal Server") return globalName;
    }
  }
  return std::wstring(kMutexBaseName);
}

bool SystemPrerequisites::AnotherLauncherRunning() {
  return platform_.system->CreateNamedMutex(SingleInstanceMutexName()) != platform::MutexResult::Created;
}

bool SystemPrerequisites::UserHasRights() {
  const std::optional<bool> administrator = platform_.system->IsTokenMemberOf(platform::BuiltinGroup::Administrators);
  if (!administrator) return false;
  if (*administrator) return true;
  return platform_.system->IsTokenMemberOf(platform::BuiltinGroup::PowerUsers).value_or(false);
}

}  // namespace setup
