#include "packages/held_package.h"

#include "foundation/text.h"
#include "packages/package_folder_trust.h"
#include "run/log_lines.h"

namespace setup {

HeldPackage HoldPackageFile(platform::Platform& platform, SetupLog& log, std::wstring_view msi,
                            std::wstring_view packageCode) {
  HeldPackage held;
  held.file = platform.files->OpenStream(msi, platform::kGenericRead, platform::kShareRead,
                                         platform::StreamDisposition::OpenExisting);
  if (!held.file) {
    log.WriteLog(log_lines::kPackageNotHeld, EscapeControlCharacters(msi), L"it cannot be opened for reading alone");
    held.refusal = HeldPackage::Refusal::CannotBeHeld;
    return held;
  }
  if (!CarriesPackageCode(platform, msi, packageCode)) {
    log.WriteLog(log_lines::kPackageNotHeld, EscapeControlCharacters(msi), L"it is not this setup's package");
    held.file.reset();
    held.refusal = HeldPackage::Refusal::OtherPackage;
  }
  return held;
}

}  // namespace setup
