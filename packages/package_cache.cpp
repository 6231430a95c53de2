#include "packages/package_cache.h"

#include <cwctype>

#include "foundation/file_utilities.h"
#include "foundation/path.h"

namespace setup {

namespace {

// Owners that only an administrator can give a folder: the built-in Administrators group and
// the local system account.
constexpr std::wstring_view kAdministratorsSid = L"S-1-5-32-544";
constexpr std::wstring_view kLocalSystemSid = L"S-1-5-18";

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
  if (!utilities.HasFullAccess(root, platform::kGenericAll, L"EVERYONE")) utilities.GrantEveryoneFullAccess(root);
  path_ = root;
  return path_;
}

bool PackageCacheRoot::IsSafeToUse(const std::wstring& root) const {
  // A grant on a link would open its target to every user, and a folder that an ordinary
  // user made beforehand may hold links and files of that user's choosing.
  const auto attributes = platform_.files->Attributes(root);
  if (!attributes || !attributes->directory || attributes->reparsePoint) return false;
  // The user running the launcher (an administrator) is as trusted as the group: only that
  // user can own a folder under that name. Wine, which has no separate owner for the group,
  // makes every folder the user's.
  const std::optional<std::wstring> owner = platform_.files->OwnerSid(root);
  return owner && (*owner == kAdministratorsSid || *owner == kLocalSystemSid || owner == platform_.system->ProcessUserSid());
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
