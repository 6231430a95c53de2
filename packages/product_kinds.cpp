#include "packages/product_kinds.h"

#include <algorithm>
#include <initializer_list>

#include "foundation/text.h"

namespace setup {
namespace {

constexpr int kWendrakFamily = 18;
constexpr int kDesignerFamily = 9;

bool IsOneOf(int value, std::initializer_list<int> values) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

bool IsPartOfAnotherProduct(const CatalogueEntry* entry) { return IsIntegrationPackage(entry) || IsAddOn(entry); }

}  // namespace

bool IsIntegrationPackage(const CatalogueEntry* entry) {
  return entry && StartsWithIgnoreCase(entry->edition, L"IntegrationPackage");
}

bool IsAddOn(const CatalogueEntry* entry) {
  return entry && (StartsWithIgnoreCase(entry->edition, L"AddOn_") || IsSpreadsheetAddIn(entry));
}

bool IsSpreadsheetAddIn(const CatalogueEntry* entry) { return entry && entry->code == L"YX"; }

bool IsDesktopProduct(const CatalogueEntry* entry) {
  return entry && IsOneOf(entry->family, {0, 1, 2, 3, 4, 5, 7, 9}) && !IsPartOfAnotherProduct(entry);
}

bool IsServerProduct(const CatalogueEntry* entry) {
  return entry && entry->family >= 14 && entry->family <= 20 && !IsPartOfAnotherProduct(entry);
}

bool IsServiceProduct(const CatalogueEntry* entry) {
  return entry && IsOneOf(entry->primaryIndex, {24, 28, 29, 30, 32, 33, 42, 43, 44});
}

bool IsWendrakFamily(const CatalogueEntry* entry) { return entry && entry->family == kWendrakFamily; }

bool IsDesignerFamily(const CatalogueEntry* entry) { return entry && entry->family == kDesignerFamily; }

bool HasShortVersion(const CatalogueEntry* entry) {
  return entry && (entry->code == L"WK" || entry->code == L"PD" || entry->code == L"PS");
}

}  // namespace setup
