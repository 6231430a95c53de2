#include "install/launcher_copy.h"

#include "foundation/path.h"

namespace setup {

std::wstring LauncherCopyPath(const SetupPackage& package, std::wstring_view launcherPath) {
  return package.packageFolder + L"\\" + ICBSFilePath(std::wstring(launcherPath)).FileName();
}

}  // namespace setup
