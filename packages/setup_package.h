// One package of the setup, and the ordered list of them; the first one is the main package.
#pragma once

#include <string>
#include <vector>

#include "packages/product_record.h"

namespace setup {

inline constexpr wchar_t kInstallerTypeMsi[] = L"msi";

struct SetupPackage {
  bool main = false;
  std::wstring productName;
  std::wstring productCode;
  std::wstring packageCode;       // also names the package folder
  std::wstring dataName;          // "PACKAGE_%d", or the package file of a workload package
  std::wstring transformPattern;  // "PACKAGE_%d_%s", with "%s" for the LCID
  std::wstring productId;
  bool is64Bit = false;
  std::wstring installerType = kInstallerTypeMsi;
  std::wstring packageFolder;     // empty when the machine has no package cache root
  std::wstring packageFile;       // the unpacked (or cached) ".msi"
  std::wstring transformFile;
  // The product was found installed when the record was built (kept for the whole run).
  bool registered = false;
  // The product is installed, but from another build of the installer (another package code).
  // Whether the package is installed by this build is asked afresh: IsPackageInstalled.
  bool installedFromOtherInstaller = false;
  bool handle = false;            // this run acts on the package
  // The catalogue records of the package's products (one, or the members of a suite).
  std::vector<ProductRecord> products;
};

struct PackageList {
  std::vector<SetupPackage> packages;

  SetupPackage* Main() { return packages.empty() ? nullptr : &packages.front(); }
  const SetupPackage* Main() const { return packages.empty() ? nullptr : &packages.front(); }
};

}  // namespace setup
