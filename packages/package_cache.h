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
  // EVERYONE is granted full access when it does not have it, so that every user's later
  // maintenance runs can use the package folders. Empty (and tried again on the next call)
  // while the folder cannot be had.
  const std::wstring& Path();

 private:
  platform::Platform& platform_;
  std::wstring path_;
};

// The package's folder: the root, a backslash and the package code; empty without a root or
// when the package code is not one plain folder name.
std::wstring PackageFolderPath(std::wstring_view cacheRoot, std::wstring_view packageCode);

// The full path of the only "*.msi" file in the folder; empty when there is none or several.
std::wstring CachedMsiFile(platform::Platform& platform, std::wstring_view packageFolder);

}  // namespace setup
