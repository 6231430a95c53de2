// One product, installed or to be installed: its catalogue entry, version, bitness, language
// and suite membership, and everything the launcher asks about it (names, kind, version
// texts). A record whose id names no catalogue entry keeps its version but has no names and
// no kind: its text queries give empty strings and its predicates false.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "packages/catalogue_entry.h"
#include "packages/product_version.h"

namespace setup {

class ProductRecord {
 public:
  ProductRecord(std::wstring_view productId, std::wstring_view versionText, bool is64Bit, std::wstring language,
                bool fromSuite);

  const CatalogueEntry* Entry() const { return entry_; }
  bool HasEntry() const { return entry_ != nullptr; }

  // The Windows Installer product code of the installed product, once it has been looked up.
  const std::wstring& MsiProductCode() const { return msiProductCode_; }
  void SetMsiProductCode(std::wstring code) { msiProductCode_ = std::move(code); }

  const ProductVersion& Version() const { return version_; }
  int MajorVersion() const { return version_.major; }
  std::pair<int, int> MajorAndRelease() const { return {version_.major, version_.release}; }
  int ServicePack() const { return version_.servicePack; }

  const std::wstring& Language() const { return language_; }
  bool Is64Bit() const { return is64Bit_; }
  bool FromSuite() const { return fromSuite_; }
  bool HasActiveXControl() const { return hasActiveXControl_; }
  void SetHasActiveXControl(bool has) { hasActiveXControl_ = has; }

  std::wstring ProductId() const;
  std::wstring Edition() const;
  std::wstring RegistryName() const;
  // "Tarquel Quibrix 2023 sp1 Professional Edition (x64)".
  std::wstring DisplayName() const;
  std::wstring VersionDisplay() const;
  std::wstring FullVersionString() const;
  // Display name of the entry that stands for this product's main edition.
  std::wstring PrimaryDisplayName() const;
  std::wstring FamilyRegistryName() const;

  bool IsIntegrationPackage() const;
  bool IsAddOn() const;
  bool IsSpreadsheetAddIn() const;
  bool IsDesktopProduct() const;
  bool IsServerProduct() const;
  bool IsServiceProduct() const;
  bool IsWendrakFamily() const;
  bool IsDesignerFamily() const;
  bool HasShortVersion() const;

 private:
  std::wstring msiProductCode_;
  const CatalogueEntry* entry_ = nullptr;
  ProductVersion version_;
  std::wstring language_;
  bool is64Bit_ = false;
  bool hasActiveXControl_ = false;
  bool fromSuite_ = false;
};

}  // namespace setup
