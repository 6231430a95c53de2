#include "packages/custom_install_folder.h"

#include "foundation/file_utilities.h"
#include "foundation/path.h"
#include "foundation/text.h"
#include "packages/default_install_folder.h"
#include "packages/installed_version.h"

namespace setup {

std::wstring CustomInstallFolder(const DetectionContext& context, const ProductRecord& installation) {
  const std::wstring installed = InstalledFolder(context, installation);
  if (installed.empty()) return {};
  const std::wstring defaultFolder =
      DefaultInstallFolder(installation, *context.platform.files, context.is64BitSystem);
  if (EqualsIgnoreCase(ICBSFolderPath(installed).String(), ICBSFolderPath(defaultFolder).String())) return {};
  if (!ICBSFileUtilities(context.platform).FolderExists(installed)) return {};
  return installed;
}

}  // namespace setup
