#include "packages/package_cache.h"

#include <cwctype>

#include "foundation/file_utilities.h"
#include "foundation/path.h"
#include "packages/package_folder_trust.h"

namespace setup {

namespace {

// What every user needs in the shared folder, for the products' own files: list, read and run
// (FILE_GENERIC_READ, FILE_GENERIC_EXECUTE), create and write files and folders
// (FILE_GENERIC_WRITE). Not the rights to delete or rename what another user made (DELETE,
// FILE_DELETE_CHILD), nor to change an owner or a list (WRITE_OWNER, WRITE_DAC): with those,
// any user could swap a package folder for one of their own.
constexpr std::uint32_t kSharedFolderAccess = 0x001201BF;

}  // namespace

std::wstring PackageCacheRoot::Location() const {
  const std::wstring commonAppData = platform_.files->KnownFolderPath(platform::KnownFolder::CommonAppData);
  return commonAppData.empty() ? std::wstring() : commonAppData + L"\\Tarquel";
}

const std::wstring& PackageCacheRoot::Path() {
  if (!path_.empty() || refused_) return path_;
  const std::wstring root = Location();
  if (root.empty()) return path_;
  ICBSFileUtilities utilities(platform_);
  if (!utilities.CreateFolderTree(root)) return path_;
  if (!IsSafeToUse(root)) {
    refused_ = true;
    return path_;
  }
  if (!utilities.HasFullAccess(root, kSharedFolderAccess, L"EVERYONE")) {
    utilities.GrantEveryoneAccess(root, kSharedFolderAccess);
  }
  path_ = root;
  return path_;
}

bool PackageCacheRoot::IsSafeToUse(const std::wstring& root) const {
  // A grant on a link would open its target to every user, and a folder that an ordinary
  // user made beforehand may hold links and files of that user's choosing.
  return IsOwnedByAdministrators(platform_, root);
}

bool IsBracedGuid(std::wstring_view text) {
  constexpr std::wstring_view kShape = L"{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}";
  if (text.size() != kShape.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (kShape[i] == L'x' ? !std::iswxdigit(text[i]) || text[i] > 0x7F : text[i] != kShape[i]) return false;
  }
  return true;
}

std::wstring PackageFolderPath(std::wstring_view cacheRoot, std::wstring_view packageCode) {
  if (cacheRoot.empty() || !IsBracedGuid(packageCode)) return {};
  return std::wstring(cacheRoot) + L"\\" + std::wstring(packageCode);
}

bool IsPackageFolderOf(std::wstring_view cacheRoot, std::wstring_view folder) {
  if (cacheRoot.empty() || folder.empty()) return false;
  const std::wstring root = NormalisedPath(cacheRoot) + L"\\";
  const std::wstring path = NormalisedPath(folder);
  return path.size() > root.size() && path.starts_with(root) &&
         path.find(L'\\', root.size()) == std::wstring::npos;
}

std::wstring CachedMsiFile(platform::Platform& platform, std::wstring_view packageFolder) {
  if (packageFolder.empty()) return {};
  const std::vector<std::wstring> files = ICBSFileUtilities(platform).FindFiles(packageFolder, L"*.msi");
  return files.size() == 1 ? files.front() : std::wstring();
}

}  // namespace setup
