#include "packages/custom_install_folder.h"

#include <algorithm>

#include "foundation/file_utilities.h"
#include "foundation/path.h"
#include "foundation/text.h"
#include "packages/default_install_folder.h"
#include "packages/installed_version.h"

namespace setup {

namespace {

// Folder texts compared as paths, ignoring case: either separator, repeated separators and a
// trailing one all name the same folder.
bool SameFolder(std::wstring_view a, std::wstring_view b) {
  const ICBSFolderPath first{std::wstring(a)};
  const ICBSFolderPath second{std::wstring(b)};
  return EqualsIgnoreCase(first.Root(), second.Root()) &&
         std::ranges::equal(first.Components(), second.Components(),
                            [](const std::wstring& x, const std::wstring& y) { return EqualsIgnoreCase(x, y); });
}

}  // namespace

std::wstring CustomInstallFolder(const DetectionContext& context, const ProductRecord& installation) {
  const std::wstring installed = InstalledFolder(context, installation);
  if (installed.empty()) return {};
  const std::wstring defaultFolder =
      DefaultInstallFolder(installation, *context.platform.files, context.is64BitSystem);
  if (SameFolder(installed, defaultFolder)) return {};
  if (!ICBSFileUtilities(context.platform).FolderExists(installed)) return {};
  return installed;
}

}  // namespace setup
