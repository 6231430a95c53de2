#include <gtest/gtest.h>

#include "packages/product_catalogue.h"
#include "packages/product_id.h"
#include "packages/product_key_paths.h"
#include "packages/product_record.h"

namespace setup {
namespace {

ProductRecord Record(std::wstring_view id, std::wstring_view version = L"2023", bool is64Bit = false) {
  return ProductRecord(id, version, is64Bit, L"", false);
}

int RowOf(std::wstring_view id) {
  const CatalogueEntry* entry = ResolveProductId(id);
  return entry ? entry->row : -1;
}

TEST(ProductIdResolution, CodeAndEditionMatchExactly) {
  EXPECT_EQ(RowOf(L"QB::P"), 1);
  EXPECT_EQ(RowOf(L"QB::p"), -1);
  EXPECT_EQ(RowOf(L"qb::P"), -1);
  EXPECT_EQ(RowOf(L"QBP"), -1);
  EXPECT_EQ(RowOf(L""), -1);
  EXPECT_EQ(RowOf(L"MB::S"), 47);
  EXPECT_EQ(RowOf(L"TAX_XBRL::Z"), 48);
}

TEST(ProductIdResolution, SplitsAtTheFirstSeparatorOnly) {
  const auto parts = SplitProductId(L"QB::IntegrationPackage::E,P");
  ASSERT_TRUE(parts.has_value());
  EXPECT_EQ(parts->code, L"QB");
  EXPECT_EQ(parts->edition, L"IntegrationPackage::E,P");
  EXPECT_EQ(RowOf(L"QB::IntegrationPackage::E,P"), 49);
  EXPECT_EQ(RowOf(L"CB::IntegrationPackage::E"), 53);
}

TEST(ProductIdResolution, EveryEntryIsFoundByItsOwnId) {
  ASSERT_EQ(CatalogueEntries().size(), 62u);
  for (const CatalogueEntry& entry : CatalogueEntries()) {
    const ProductRecord record = Record(std::wstring(entry.code) + L"::" + std::wstring(entry.edition));
    ASSERT_TRUE(record.HasEntry()) << entry.row;
    EXPECT_EQ(record.Entry()->row, entry.row);
    const bool isSuite = entry.code == L"FD";
    EXPECT_EQ(EntryFamily(entry) == nullptr, isSuite) << entry.row;
  }
}

TEST(ProductNames, RegistryNameIsOwnOrDerivedFromTheDisplayName) {
  EXPECT_EQ(Record(L"BS::A").RegistryName(), L"BrammelServer");
  EXPECT_EQ(Record(L"QB::E").RegistryName(), L"Quib Rix");
  EXPECT_EQ(Record(L"QB::IntegrationPackage::E,P").RegistryName(), L"Quib Rix_IP");
  EXPECT_EQ(Record(L"TAX_XBRL::Z").RegistryName(), L"XBRLTaxonomies");
  EXPECT_EQ(Record(L"YS::L").RegistryName(), L"Yarrick+XBRLServer");
  EXPECT_EQ(Record(L"FD::P").RegistryName(), L"Fendral");
}

TEST(ProductNames, DisplayNameJoinsNameVersionEditionAndBitness) {
  EXPECT_EQ(Record(L"QB::P", L"2023.00.01.00", true).DisplayName(),
            L"Tarquel Quibrix 2023 sp1 Professional Edition (x64)");
  EXPECT_EQ(Record(L"MB::Z", L"2024.00.00.00").DisplayName(), L"Tarquel Mebrant 2024");
  EXPECT_EQ(Record(L"FD::E", L"2019.03.01").DisplayName(), L"Tarquel Fendral 2019 rel. 3 sp1 Enterprise Edition");
  EXPECT_EQ(Record(L"WK::N", L"3.1.0.0").DisplayName(), L"Tarquel Wendrak 3.1");
}

TEST(ProductNames, IdEditionPrimaryAndFamilyNames) {
  const ProductRecord integration = Record(L"QB::IntegrationPackage::E,P");
  EXPECT_EQ(integration.ProductId(), L"QB::IntegrationPackage::E,P");
  EXPECT_EQ(integration.Edition(), L"IntegrationPackage::E,P");
  EXPECT_EQ(integration.PrimaryDisplayName(), L"Tarquel Quibrix");
  EXPECT_EQ(Record(L"TAX_XBRL::Z").PrimaryDisplayName(), L"Tarquel Yarrick+XBRL Server");
  EXPECT_EQ(Record(L"CB::C").FamilyRegistryName(), L"Quibrix");
  EXPECT_EQ(Record(L"MB::S").FamilyRegistryName(), L"Mebrant");
  EXPECT_EQ(Record(L"FD::E").FamilyRegistryName(), L"");
}

TEST(ProductKeyPaths, BaseAndSetupKeys) {
  EXPECT_EQ(ProductBaseKeyPath(Record(L"QB::E")), L"SOFTWARE\\Tarquel\\Quib Rix");
  EXPECT_EQ(ProductSetupKeyPath(Record(L"YS::M", L"2023", true)),
            L"SOFTWARE\\Tarquel\\YarrickServer\\Installation_v2023_x64\\Setup");
  EXPECT_EQ(ProductSetupKeyPath(Record(L"QB::P", L"2024.00.01.00")),
            L"SOFTWARE\\Tarquel\\Quib Rix\\Installation_v2024\\Setup");
  EXPECT_EQ(ProductSetupKeyPath(Record(L"PD::Z", L"8.2")),
            L"SOFTWARE\\Tarquel\\PellomarDesigner\\Installation_v8.2\\Setup");
  EXPECT_EQ(ProductSetupKeyPath(Record(L"PD::Z", L"8.2", true)),
            L"SOFTWARE\\Tarquel\\PellomarDesigner\\Installation_v8.2_x64\\Setup");
}

TEST(ProductNames, RecordWithoutEntryKeepsItsVersionButHasNoNames) {
  const ProductRecord unknown(L"XX::Y", L"2023.01.02.03", true, L"de", true);
  EXPECT_FALSE(unknown.HasEntry());
  EXPECT_EQ(unknown.Version(), (ProductVersion{2023, 1, 2, 3}));
  EXPECT_EQ(unknown.Language(), L"de");
  EXPECT_TRUE(unknown.Is64Bit());
  EXPECT_TRUE(unknown.FromSuite());
  for (const std::wstring& text :
       {unknown.ProductId(), unknown.Edition(), unknown.RegistryName(), unknown.DisplayName(),
        unknown.VersionDisplay(), unknown.FullVersionString(), unknown.PrimaryDisplayName(),
        unknown.FamilyRegistryName(), ProductBaseKeyPath(unknown), ProductSetupKeyPath(unknown)}) {
    EXPECT_EQ(text, L"");
  }
}

}  // namespace
}  // namespace setup
