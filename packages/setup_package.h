// One package of the setup, and the ordered list of them; the first one is the main package.
#pragma once

#include <string>
#include <vector>

namespace setup {

struct SetupPackage {
  bool main = false;
  std::wstring productName;
  std::wstring productCode;
  std::wstring packageCode;       // also names the package folder
  std::wstring dataName;          // "PACKAGE_%d", or the package file of a workload package
  std::wstring transformPattern;  // "PACKAGE_%d_%s", with "%s" for the LCID
  std::wstring productId;
  bool is64Bit = false;
  std::wstring installerType = L"msi";
  std::wstring packageFolder;
  std::wstring packageFile;       // the unpacked ".msi"
  std::wstring transformFile;
  bool installed = false;
  bool registered = false;
  bool installedFromOtherInstaller = false;
  bool handle = false;            // this run acts on the package
};

struct PackageList {
  std::vector<SetupPackage> packages;
  bool is64BitSystem = false;

  const SetupPackage* Main() const { return packages.empty() ? nullptr : &packages.front(); }
};

}  // namespace setup
