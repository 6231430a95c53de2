#include "install/installer_error.h"

namespace setup {

namespace {

std::int32_t KindOf(std::uint32_t installerCode) {
  switch (installerCode) {
    case kInstallerUserCancelled:
      return kResultUserCancelled;
    case kInstallerPackageUnreadable:
      return kResultCorrupted;
    case kInstallerPlatformUnsupported:
      return kResult64BitOn32Bit;
    case kInstallerOtherVersionInstalled:
      return kResultOtherVersionInstalled;
    default:
      return kResultInstallFailed;
  }
}

}  // namespace

void RecordInstallerError(SetupResult& result, std::uint32_t installerCode) {
  if (installerCode != 0) result.Record(KindOf(installerCode), installerCode, false);
}

}  // namespace setup
