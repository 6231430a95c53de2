// Host stand-in of the installer port: a table of installed products with their properties,
// package files that install a product when the test has said which one, and a record of
// every call with its exact arguments.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/installer.h"

namespace setup::platform::host {

struct EnableLogCall {
  std::uint32_t logMode;
  std::wstring path;
  std::uint32_t attributes;
};

struct InstallProductCall {
  std::wstring packagePath;
  std::wstring properties;  // byte for byte as passed
  std::int32_t uiLevel;     // the internal UI level in force at the call
};

struct ReinstallProductCall {
  std::wstring productCode;
  std::uint32_t reinstallMode;
  std::int32_t uiLevel;
};

struct ProductInfoCall {
  std::wstring productCode;
  std::wstring property;
  std::size_t bufferChars;
};

// An installed product: its code and the installer's product properties ("ProductID",
// "VersionString", "ProductName", "PackageCode", "InstallSource", ...).
struct HostInstalledProduct {
  std::wstring productCode;
  std::map<std::wstring, std::wstring> properties;
};

class HostInstaller : public Installer {
 public:
  std::uint32_t EnableLog(std::uint32_t logMode, std::wstring_view path, std::uint32_t attributes) override;
  std::int32_t SetInternalUi(std::int32_t uiLevel) override;
  std::uint32_t InstallProduct(std::wstring_view packagePath, std::wstring_view properties) override;
  std::uint32_t ReinstallProduct(std::wstring_view productCode, std::uint32_t reinstallMode) override;
  std::optional<std::wstring> EnumProducts(std::uint32_t index) override;
  std::optional<std::wstring> GetProductInfo(std::wstring_view productCode, std::wstring_view property,
                                             std::size_t bufferChars) override;

  // Arranging the machine. Adding a product that is already there replaces its properties.
  void AddProduct(HostInstalledProduct product);
  bool RemoveProduct(std::wstring_view productCode);
  const HostInstalledProduct* FindProduct(std::wstring_view productCode) const;
  // What installing the package file puts on the machine.
  void AddPackageFile(std::wstring path, HostInstalledProduct product) { packageFiles_[std::move(path)] = product; }
  // Every later call on the package file (or the product code, for a reinstall) returns `code`.
  void SetResult(std::wstring pathOrProductCode, std::uint32_t code) { results_[std::move(pathOrProductCode)] = code; }

  std::vector<EnableLogCall> enableLogCalls;
  std::vector<std::int32_t> internalUiCalls;
  std::vector<InstallProductCall> installCalls;
  std::vector<ReinstallProductCall> reinstallCalls;
  std::vector<ProductInfoCall> productInfoCalls;
  // Calls of the enumeration with index 0, that is, enumerations begun.
  int enumerationsStarted = 0;
  std::int32_t uiLevel = 5;

 private:
  std::optional<std::uint32_t> ArrangedResult(std::wstring_view key) const;

  // Windows Installer finds a product by its code in any letter case, in constant time.
  std::map<std::wstring, HostInstalledProduct> products_;  // by upper-cased product code
  std::vector<std::wstring> enumerationOrder_;            // the codes as added
  std::map<std::wstring, HostInstalledProduct> packageFiles_;
  std::map<std::wstring, std::uint32_t> results_;
};

}  // namespace setup::platform::host
