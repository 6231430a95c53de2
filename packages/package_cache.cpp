#include "packages/package_cache.h"

#include "foundation/file_utilities.h"

namespace setup {

const std::wstring& PackageCacheRoot::Path() {
  if (!path_.empty()) return path_;
  const std::wstring commonAppData = platform_.files->KnownFolderPath(platform::KnownFolder::CommonAppData);
  if (commonAppData.empty()) return path_;
  const std::wstring root = commonAppData + L"\\Tarquel";
  ICBSFileUtilities utilities(platform_);
  if (!utilities.CreateFolderTree(root)) return path_;
  if (!utilities.HasFullAccess(root, platform::kGenericAll, L"EVERYONE")) utilities.GrantEveryoneFullAccess(root);
  path_ = root;
  return path_;
}

std::wstring PackageFolderPath(std::wstring_view cacheRoot, std::wstring_view packageCode) {
  // The folder is deleted again at the end of some runs: a code that is not a single folder
  // name would point it at the root itself or outside of it.
  const bool singleName = !packageCode.empty() && packageCode != L"." && packageCode != L".." &&
                          packageCode.find_first_of(L"\\/:") == std::wstring_view::npos;
  if (cacheRoot.empty() || !singleName) return {};
  return std::wstring(cacheRoot) + L"\\" + std::wstring(packageCode);
}

std::wstring CachedMsiFile(platform::Platform& platform, std::wstring_view packageFolder) {
  if (packageFolder.empty()) return {};
  const std::vector<std::wstring> files = ICBSFileUtilities(platform).FindFiles(packageFolder, L"*.msi");
  return files.size() == 1 ? files.front() : std::wstring();
}

}  // namespace setup
