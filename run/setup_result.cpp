#include "run/setup_result.h"

#include "foundation/format.h"
#include "platform/system_info.h"
#include "resources/resource_ids.h"

namespace setup {

namespace {

std::wstring_view BaseDescription(std::int32_t kind) {
  switch (kind) {
    case kResultCorrupted: return L"Installer is corrupted.";
    case kResultInstallFailed: return L"Installation failed.";
    case kResultUserCancelled: return L"User cancelled installation.";
    case kResultOsTooOld: return L"Incompatible Windows Version";
    case kResultNoDirect2D: return L"Direct 2D not found";
    case kResultAlreadyRunning: return L"Another installer was already running.";
    case kResultNoRights: return L"Installation requires admin rights.";
    case kResultNoMsiForUninstall: return L"Could not find MSI-file";
    case kResult64BitOn32Bit: return L"Installing a 64-bit product on a 32-bit system";
    case kResultDiskFull: return L"Your disk is full.";
    case kResultInvalidCommandLine: return L"Invalid command line.";
    default: return L"";
  }
}

}  // namespace

std::wstring DescribeResult(const SetupResult& result, const platform::SystemInfo& system) {
  const std::wstring_view base = BaseDescription(result.kind);
  if (result.installerCode == 0) return std::wstring(base);
  const std::wstring systemText = system.SystemMessageText(result.installerCode);
  if (systemText.empty()) return std::wstring(base);
  return Format(L"%s (%d - %s)", base, result.installerCode, systemText);
}

std::uint32_t ResultMessageId(std::int32_t kind) {
  switch (kind) {
    case kResultCorrupted: return IDS_MSG_CORRUPTED_EXECUTABLE;
    case kResultOsTooOld: return IDS_MSG_PLATFORM_NOT_SUPPORTED;
    case kResultNoDirect2D: return IDS_MSG_DIRECT2D_MISSING;
    case kResultAlreadyRunning: return IDS_MSG_ALREADY_RUNNING;
    case kResultNoRights: return IDS_MSG_NO_SUFFICIENT_RIGHTS;
    case kResultOtherVersionInstalled: return IDS_MSG_OTHER_VERSION_INSTALLED;
    case kResultNoMsiForUninstall: return IDS_MSG_NO_MSI_FOR_UNINSTALL;
    case kResult64BitOn32Bit: return IDS_MSG_64BIT_ON_32BIT;
    case kResultDiskFull: return IDS_MSG_DISK_FULL;
    case kResultPackageInfoMissing: return IDS_MSG_PACKAGE_INFO_MISSING;
    default: return 0;
  }
}

}  // namespace setup
