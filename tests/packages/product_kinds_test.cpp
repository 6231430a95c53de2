#include "packages/product_kinds.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "packages/product_catalogue.h"
#include "packages/product_record.h"

namespace setup {
namespace {

struct Kinds {
  bool integration, addOn, spreadsheet, desktop, server, service, wendrak, designer, shortVersion;
  friend bool operator==(const Kinds&, const Kinds&) = default;
};

Kinds KindsOf(std::wstring_view id) {
  const ProductRecord r(id, L"2023", false, L"", false);
  return {r.IsIntegrationPackage(), r.IsAddOn(),     r.IsSpreadsheetAddIn(), r.IsDesktopProduct(), r.IsServerProduct(),
          r.IsServiceProduct(),     r.IsWendrakFamily(), r.IsDesignerFamily(), r.HasShortVersion()};
}

// Kinds in the order: integration, add-on, spreadsheet, desktop, server, service, Wendrak, designer, short.
TEST(ProductKinds, OfRepresentativeProducts) {
  EXPECT_EQ(KindsOf(L"QB::P"), (Kinds{0, 0, 0, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(KindsOf(L"CB::C"), (Kinds{0, 0, 0, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(KindsOf(L"MB::S"), (Kinds{0, 0, 0, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(KindsOf(L"PD::Z"), (Kinds{0, 0, 0, 1, 0, 0, 0, 1, 1}));
  EXPECT_EQ(KindsOf(L"TR::AddOn_HL7"), (Kinds{0, 1, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(KindsOf(L"YX::W"), (Kinds{0, 1, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(KindsOf(L"QB::IntegrationPackage::E,P"), (Kinds{1, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(KindsOf(L"TV::Z"), (Kinds{0, 0, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(KindsOf(L"PS::A"), (Kinds{0, 0, 0, 0, 1, 1, 0, 0, 1}));
  EXPECT_EQ(KindsOf(L"WK::F"), (Kinds{0, 0, 0, 0, 1, 1, 1, 0, 1}));
  EXPECT_EQ(KindsOf(L"VN::Z"), (Kinds{0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(KindsOf(L"GM::C"), (Kinds{0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(KindsOf(L"FD::E"), (Kinds{0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(KindsOf(L"XX::Y"), (Kinds{0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

std::set<int> RowsWhere(bool (*predicate)(const CatalogueEntry*)) {
  std::set<int> rows;
  for (const CatalogueEntry& entry : CatalogueEntries()) {
    if (predicate(&entry)) rows.insert(entry.row);
  }
  return rows;
}

TEST(ProductKinds, ServiceAndServerRowsOfTheCatalogue) {
  EXPECT_EQ(RowsWhere(IsServiceProduct), (std::set<int>{24, 28, 29, 30, 32, 33, 42, 43, 44, 48}));
  EXPECT_EQ(RowsWhere(IsServerProduct),
            (std::set<int>{24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 41, 42, 43, 44, 48}));
  EXPECT_EQ(RowsWhere(IsIntegrationPackage), (std::set<int>{49, 50, 51, 52, 53}));
  EXPECT_EQ(RowsWhere(IsAddOn), (std::set<int>{35, 36, 37, 38, 39, 40, 54, 55, 56, 57, 58, 59, 60, 61}));
}

TEST(ProductKinds, EditionPrefixesIgnoreCase) {
  const CatalogueEntry addOn{0, 0, L"TR", L"addon_Test", L"", L"", L"", 2};
  const CatalogueEntry integration{0, 0, L"QB", L"INTEGRATIONPACKAGE::E", L"", L"", L"", 0};
  const CatalogueEntry almost{0, 0, L"QB", L"Integration", L"", L"", L"", 0};
  EXPECT_TRUE(IsAddOn(&addOn));
  EXPECT_FALSE(IsDesktopProduct(&addOn));
  EXPECT_TRUE(IsIntegrationPackage(&integration));
  EXPECT_FALSE(IsIntegrationPackage(&almost));
  EXPECT_TRUE(IsDesktopProduct(&almost));
}

}  // namespace
}  // namespace setup
