#include "packages/package_folder_trust.h"

#include "foundation/file_utilities.h"
#include "foundation/text.h"
#include "packages/package_cache.h"
#include "run/log_lines.h"

namespace setup {

namespace {

constexpr std::wstring_view kAdministratorsSid = L"S-1-5-32-544";
constexpr std::wstring_view kLocalSystemSid = L"S-1-5-18";

// Rights that change a folder or what it holds: add files and subfolders, write extended
// attributes and attributes, delete (the folder or a child), change the list or the owner,
// and the generic rights that include them. For a file the same bits are write and append
// data, write extended attributes and attributes, delete, change the list or the owner.
constexpr std::uint32_t kChangingRights = 0x2 | 0x4 | 0x10 | 0x40 | 0x100 | 0x10000 | 0x40000 | 0x80000 |
                                          platform::kGenericWrite | platform::kGenericAll;

bool IsAdministratorSid(platform::Platform& platform, std::wstring_view sid) {
  return sid == kAdministratorsSid || sid == kLocalSystemSid || sid == platform.system->ProcessUserSid();
}

std::wstring FileNamePart(std::wstring_view path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  return std::wstring(separator == std::wstring_view::npos ? path : path.substr(separator + 1));
}

bool RemoveWithReason(platform::Platform& platform, SetupLog& log, std::wstring_view folder, std::wstring_view reason) {
  log.WriteLog(log_lines::kPackageFolderNotTrusted, EscapeControlCharacters(folder), reason);
  // Only a folder named after a package code, never what a damaged path could name.
  if (!IsBracedGuid(FileNamePart(folder))) return false;
  return ICBSFileUtilities(platform).DeleteFolderTree(folder);
}

// Why the path may not be used as it stands when an entry of its list lets an account other
// than the administrators' change it; empty when none does.
std::wstring ChangersDistrust(platform::Platform& platform, std::wstring_view path) {
  const auto entries = platform.files->ExplicitAccessEntries(path);
  if (!entries) return L"its access list cannot be read";
  for (const platform::AccessEntry& entry : *entries) {
    if (!entry.grants || (entry.accessMask & kChangingRights) == 0) continue;
    if (entry.sid.empty() || !IsAdministratorSid(platform, entry.sid)) {
      return L"accounts other than Administrators and SYSTEM may change it";
    }
  }
  return {};
}

bool HasAdministratorOwner(platform::Platform& platform, std::wstring_view path) {
  const std::optional<std::wstring> owner = platform.files->OwnerSid(path);
  return owner && IsAdministratorSid(platform, *owner);
}

}  // namespace

bool IsOwnedByAdministrators(platform::Platform& platform, std::wstring_view folder) {
  // A link leads to a tree of someone else's choosing.
  const auto attributes = platform.files->Attributes(folder);
  if (!attributes || !attributes->directory || attributes->reparsePoint) return false;
  return HasAdministratorOwner(platform, folder);
}

bool CarriesPackageCode(platform::Platform& platform, std::wstring_view msi, std::wstring_view packageCode) {
  const auto code = platform.databases->PackageCode(msi);
  return code && EqualsIgnoreCase(*code, packageCode);
}

std::wstring PackageFolderDistrust(platform::Platform& platform, std::wstring_view folder) {
  if (!IsOwnedByAdministrators(platform, folder)) return L"it is a link or not owned by Administrators or SYSTEM";
  return ChangersDistrust(platform, folder);
}

std::wstring ProgramFileDistrust(platform::Platform& platform, std::wstring_view path) {
  const auto attributes = platform.files->Attributes(path);
  if (!attributes) return L"it is not there";
  // A link leads to a file of someone else's choosing.
  if (attributes->directory || attributes->reparsePoint) return L"it is a link or a folder";
  if (!HasAdministratorOwner(platform, path)) return L"it is not owned by Administrators or SYSTEM";
  if (std::wstring reason = ChangersDistrust(platform, path); !reason.empty()) return reason;
  const std::size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring_view::npos || separator == 0) return L"its folder is not known";
  if (std::wstring reason = PackageFolderDistrust(platform, path.substr(0, separator)); !reason.empty()) {
    return L"its folder cannot be trusted: " + reason;
  }
  return {};
}

std::wstring TrustedUnpackedMsi(platform::Platform& platform, SetupLog& log, std::wstring_view folder,
                                std::wstring_view packageCode) {
  if (folder.empty() || !platform.files->Attributes(folder)) return {};
  std::wstring reason = PackageFolderDistrust(platform, folder);
  std::wstring msi;
  if (reason.empty()) {
    msi = CachedMsiFile(platform, folder);
    if (msi.empty()) {
      reason = L"it does not hold exactly one MSI file";
    } else if (!CarriesPackageCode(platform, msi, packageCode)) {
      reason = L"its MSI file is not this setup's package";
    }
  }
  if (reason.empty()) return msi;
  RemoveWithReason(platform, log, folder, reason);
  return {};
}

bool RemoveUntrustedPackageFolder(platform::Platform& platform, SetupLog& log, std::wstring_view folder) {
  if (folder.empty() || !platform.files->Attributes(folder)) return true;
  const std::wstring reason = PackageFolderDistrust(platform, folder);
  return reason.empty() || RemoveWithReason(platform, log, folder, reason);
}

}  // namespace setup
