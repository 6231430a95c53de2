// The result record of a launcher run: the kind of failure (the process exit code), the
// installer or system error behind it, and whether the user has been told.
#pragma once

#include <cstdint>
#include <string>

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

// The text of the log's ERROR line: the kind's description, with the installer code and the
// system's message for it when the system has one.
std::wstring DescribeResult(const SetupResult& result, const platform::SystemInfo& system);

// The STRINGTABLE id of the kind's message box text; 0 for kinds that show none.
std::uint32_t ResultMessageId(std::int32_t kind);

}  // namespace setup
