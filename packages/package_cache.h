// The machine-wide folder below which every package has its own folder, and the MSI file an
// earlier run left in a package's folder.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace setup {

class PackageCacheRoot {
 public:
  explicit PackageCacheRoot(platform::Platform& platform) : platform_(platform) {}

  // "<common application data>\Tarquel". On first use the folder is created when missing and
  // EVERYONE is granted what the products need there (create, write, read; not delete, nor
  // change owners or lists) in place of any other grant, so that every user's later
  // maintenance runs can use the package folders and no user can swap one. Empty (and tried again on the next call)
  // while the folder cannot be had; empty for good when it is refused (see Refused).
  const std::wstring& Path();
  // The folder exists but is not safe to use: it is a link (junction or symbolic link) to
  // somewhere else, or it belongs to neither Administrators, SYSTEM nor the user running the
  // launcher, so that another user may have prepared it. Nothing is granted on it and no package folder is made below it.
  bool Refused() const { return refused_; }
  // The folder's path as it was asked for, also when it was refused.
  std::wstring Location() const;

 private:
  bool IsSafeToUse(const std::wstring& root) const;

  platform::Platform& platform_;
  std::wstring path_;
  bool refused_ = false;
};

// A braced GUID such as "{61ED57E6-FC69-4A94-BBA3-38F7AE7A963E}": the only package codes
// that name a package folder.
bool IsBracedGuid(std::wstring_view text);

// The package's folder: the root, a backslash and the package code; empty without a root or
// when the package code is not a braced GUID (any other text could name the root itself,
// another package's folder or a place outside, once the system drops trailing dots and blanks).
std::wstring PackageFolderPath(std::wstring_view cacheRoot, std::wstring_view packageCode);

// The folder is, after normalisation, a folder right below the root: the only kind of folder
// the launcher deletes at the end of a run.
bool IsPackageFolderOf(std::wstring_view cacheRoot, std::wstring_view folder);

// The full path of the only "*.msi" file in the folder; empty when there is none or several.
std::wstring CachedMsiFile(platform::Platform& platform, std::wstring_view packageFolder);

}  // namespace setup
