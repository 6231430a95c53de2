// The result record of a launcher run: the kind of failure (the process exit code), the
// installer or system error behind it, and whether the user has been told.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "resources/resource_ids.h"

namespace setup {

namespace platform {
class SystemInfo;
}

// Result kinds, which are also the exit codes of the launcher.
enum ResultKind : std::int32_t {
  kResultSuccess = 0,
  kResultCorrupted = 1,
  kResultInstallFailed = 2,
  kResultUserCancelled = 3,
  kResultOsTooOld = 4,
  kResultNoDirect2D = 5,
  kResultAlreadyRunning = 6,
  kResultNoRights = 7,
  kResultOtherVersionInstalled = 8,
  kResultNoMsiForUninstall = 9,
  kResult64BitOn32Bit = 10,
  kResultDiskFull = 11,
  kResultPackageInfoMissing = 13,
  // An invalid switch or a malformed property value: the installer's own code for an
  // invalid command line, so that scripts see the failure.
  kResultInvalidCommandLine = 1639,
  // The unpack worker records the installer code for a missing or damaged cabinet itself.
  kResultCabinetDamaged = 1620,
};

struct SetupResult {
  std::int32_t kind = kResultSuccess;
  std::uint32_t installerCode = 0;
  bool reported = true;

  void Record(std::int32_t newKind, std::uint32_t newInstallerCode, bool alreadyReported) {
    kind = newKind;
    installerCode = newInstallerCode;
    reported = alreadyReported;
  }
};

// One row per result kind that tells the user something: the base of the log's ERROR line
// and the STRINGTABLE id of the message box text (0: no message box). Kinds without a row
// (success, 1620 from the unpack worker) describe themselves with an empty text and show none.
struct ResultKindRow {
  std::int32_t kind;
  std::wstring_view description;
  std::uint32_t messageId;
};

inline constexpr ResultKindRow kResultKinds[] = {
    {kResultCorrupted, L"Installer is corrupted.", IDS_MSG_CORRUPTED_EXECUTABLE},
    {kResultInstallFailed, L"Installation failed.", 0},
    {kResultUserCancelled, L"User cancelled installation.", 0},
    {kResultOsTooOld, L"Incompatible Windows Version", IDS_MSG_PLATFORM_NOT_SUPPORTED},
    {kResultNoDirect2D, L"Direct 2D not found", IDS_MSG_DIRECT2D_MISSING},
    {kResultAlreadyRunning, L"Another installer was already running.", IDS_MSG_ALREADY_RUNNING},
    {kResultNoRights, L"Installation requires admin rights.", IDS_MSG_NO_SUFFICIENT_RIGHTS},
    {kResultOtherVersionInstalled, L"", IDS_MSG_OTHER_VERSION_INSTALLED},
    {kResultNoMsiForUninstall, L"Could not find MSI-file", IDS_MSG_NO_MSI_FOR_UNINSTALL},
    {kResult64BitOn32Bit, L"Installing a 64-bit product on a 32-bit system", IDS_MSG_64BIT_ON_32BIT},
    {kResultDiskFull, L"Your disk is full.", IDS_MSG_DISK_FULL},
    {kResultPackageInfoMissing, L"", IDS_MSG_PACKAGE_INFO_MISSING},
    {kResultInvalidCommandLine, L"Invalid command line.", 0},
};

// The text of the log's ERROR line: the kind's description, with the installer code and the
// system's message for it when the system has one.
std::wstring DescribeResult(const SetupResult& result, const platform::SystemInfo& system);

// The STRINGTABLE id of the kind's message box text; 0 for kinds that show none.
std::uint32_t ResultMessageId(std::int32_t kind);

}  // namespace setup
