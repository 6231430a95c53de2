#include "packages/product_record.h"

#include "packages/product_catalogue.h"
#include "packages/product_id.h"
#include "packages/product_kinds.h"

namespace setup {

ProductRecord::ProductRecord(std::wstring_view productId, std::wstring_view versionText, bool is64Bit,
                             std::wstring language, bool fromSuite)
    : entry_(ResolveProductId(productId)),
      version_(ParseProductVersion(versionText)),
      language_(std::move(language)),
      is64Bit_(is64Bit),
      fromSuite_(fromSuite) {}

std::wstring ProductRecord::ProductId() const {
  if (!entry_) return {};
  std::wstring id(entry_->code);
  id += L"::";
  id += entry_->edition;
  return id;
}

std::wstring ProductRecord::Edition() const { return entry_ ? std::wstring(entry_->edition) : std::wstring(); }

std::wstring ProductRecord::RegistryName() const { return entry_ ? EntryRegistryName(*entry_) : std::wstring(); }

std::wstring ProductRecord::DisplayName() const {
  if (!entry_) return {};
  std::wstring name(entry_->displayName);
  name += L' ';
  name += VersionDisplay();
  if (!entry_->editionName.empty()) {
    name += L' ';
    name += entry_->editionName;
  }
  if (is64Bit_) name += L" (x64)";
  return name;
}

std::wstring ProductRecord::VersionDisplay() const {
  return entry_ ? setup::VersionDisplay(version_, HasShortVersion()) : std::wstring();
}

std::wstring ProductRecord::FullVersionString() const {
  return entry_ ? setup::FullVersionString(version_, HasShortVersion()) : std::wstring();
}

std::wstring ProductRecord::PrimaryDisplayName() const {
  const CatalogueEntry* primary = entry_ ? CatalogueEntryAt(entry_->primaryIndex) : nullptr;
  return primary ? std::wstring(primary->displayName) : std::wstring();
}

std::wstring ProductRecord::FamilyRegistryName() const {
  const ProductFamily* family = entry_ ? EntryFamily(*entry_) : nullptr;
  return family ? std::wstring(family->registryName) : std::wstring();
}

bool ProductRecord::IsIntegrationPackage() const { return setup::IsIntegrationPackage(entry_); }
bool ProductRecord::IsAddOn() const { return setup::IsAddOn(entry_); }
bool ProductRecord::IsSpreadsheetAddIn() const { return setup::IsSpreadsheetAddIn(entry_); }
bool ProductRecord::IsDesktopProduct() const { return setup::IsDesktopProduct(entry_); }
bool ProductRecord::IsServerProduct() const { return setup::IsServerProduct(entry_); }
bool ProductRecord::IsServiceProduct() const { return setup::IsServiceProduct(entry_); }
bool ProductRecord::IsWendrakFamily() const { return setup::IsWendrakFamily(entry_); }
bool ProductRecord::IsDesignerFamily() const { return setup::IsDesignerFamily(entry_); }
bool ProductRecord::HasShortVersion() const { return setup::HasShortVersion(entry_); }

}  // namespace setup
