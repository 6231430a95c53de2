// Finding a product's installations in its registry keys: every installation in both views,
// and the newest one a package may upgrade.
#include <gtest/gtest.h>

#include "foundation/file_utilities.h"
#include "packages/newest_installation.h"
#include "packages/product_installations.h"
#include "support/detection_fixture.h"

namespace setup {
namespace {

using platform::kRegistryView64;
using testing::DetectionTest;

ProductRecord Record(std::wstring_view id, std::wstring_view version, bool is64Bit = false, bool fromSuite = false) {
  return ProductRecord(id, version, is64Bit, L"", fromSuite);
}

TEST_F(DetectionTest, FindInstallationsReadsTheDefaultViewThenThe64BitView) {
  AddInstallationValues(L"Quib Rix", L"Installation_v2024_x64",
                  {L"2024.00.00.00", L"QB::E", true, L"de", L"C:\\Program Files\\Tarquel\\Quibrix.exe"}, kRegistryView64);
  AddInstallation(L"Quib Rix", L"INSTALLATION_v2023", L"2023.00.01.00", L"QB::P");
  AddInstallation(L"Quib Rix", L"Installation_v2022", L"", L"QB::P");       // half removed
  AddInstallation(L"Quib Rix", L"Backup_v2021", L"2021.00.00.00", L"QB::P");  // not an installation key
  ICBSFileUtilities(host_).CreateFolderTree(L"C:\\Program Files\\Tarquel");
  host_.Files().WriteFile(L"C:\\Program Files\\Tarquel\\Quibrix.ocx", "control");

  const auto found = FindInstallations(Context(), Record(L"QB::P", L"2024.00.00.00"));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].ProductId(), L"QB::P");
  EXPECT_EQ(found[0].MajorVersion(), 2023);
  EXPECT_FALSE(found[0].Is64Bit());
  EXPECT_FALSE(found[0].FromSuite());
  EXPECT_FALSE(found[0].HasActiveXControl());
  EXPECT_EQ(found[1].ProductId(), L"QB::E");
  EXPECT_TRUE(found[1].Is64Bit());
  EXPECT_TRUE(found[1].FromSuite());
  EXPECT_EQ(found[1].Language(), L"de");
  EXPECT_TRUE(found[1].HasActiveXControl());

  is64BitSystem_ = false;
  EXPECT_EQ(FindInstallations(Context(), Record(L"QB::P", L"2024.00.00.00")).size(), 1u);
}

TEST_F(DetectionTest, FindInstallationsAttributesKeysWithoutOrWithTheSchemaServerId) {
  AddInstallation(L"Quib Rix", L"Installation_v2023", L"2023.00.00.00", L"");
  AddInstallation(L"Mebrant Server", L"Installation_v2023", L"2023.00.00.00", L"MB::Z");
  const auto quibrix = FindInstallations(Context(), Record(L"QB::S", L"2023.00.00.00"));
  ASSERT_EQ(quibrix.size(), 1u);
  EXPECT_EQ(quibrix[0].ProductId(), L"QB::S");
  const auto server = FindInstallations(Context(), Record(L"MB::S", L"2023.00.00.00"));
  ASSERT_EQ(server.size(), 1u);
  EXPECT_EQ(server[0].ProductId(), L"MB::S");
  EXPECT_TRUE(FindInstallations(Context(), Record(L"XX::Y", L"2023.00.00.00")).empty());
}

TEST_F(DetectionTest, The64BitAddInHidesIts32BitTwinOfTheSameVersionOnly) {
  AddInstallation(L"NistaAddInForExcel", L"Installation_v2023", L"2023.00.00.00", L"YX::I");
  AddInstallation(L"NistaAddInForExcel", L"Installation_v2022", L"2022.00.00.00", L"YX::I");
  AddInstallation(L"NistaAddInForExcel", L"Installation_v2023_x64", L"2023.00.00.00", L"YX::I", kRegistryView64);
  const auto found = FindInstallations(Context(), Record(L"YX::I", L"2023.00.00.00"));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].MajorVersion(), 2022);
  EXPECT_TRUE(found[1].Is64Bit());
}

TEST_F(DetectionTest, BaseProductInstallationsOfAnIntegrationPackageAreThoseOfItsProduct) {
  AddInstallation(L"Quib Rix", L"Installation_v2023_x64", L"2023.00.01.00", L"QB::P", kRegistryView64);
  AddInstallation(L"Quib Rix_IP", L"Installation_v2023_x64", L"2023.00.01.00", L"", kRegistryView64);
  const auto base = BaseProductInstallations(Context(), Record(L"QB::IntegrationPackage::E,P", L"2023.00.01.00", true));
  ASSERT_EQ(base.size(), 1u);
  EXPECT_EQ(base[0].ProductId(), L"QB::P");
  EXPECT_TRUE(BaseProductInstallations(Context(), Record(L"QB::P", L"2023.00.01.00")).empty());
}

TEST_F(DetectionTest, NewestInstallationIsSearchedInTheViewAndKeyOfTheRecordsBitness) {
  AddInstallation(L"Quib Rix", L"Installation_v2023_x64", L"2023.00.00.00", L"QB::E", kRegistryView64);
  const auto found = FindNewestInstallation(Context(), Record(L"QB::E", L"2024.00.00.00", true));
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->MajorVersion(), 2023);
  EXPECT_TRUE(found->Is64Bit());
  EXPECT_FALSE(FindNewestInstallation(Context(), Record(L"QB::E", L"2024.00.00.00", false)).has_value());
}

TEST_F(DetectionTest, NewestInstallationNeedsTheSameSuiteMembership) {
  AddInstallation(L"Quib Rix", L"Installation_v2023", L"2023.00.00.00", L"QB::P", 0, true);
  EXPECT_FALSE(FindNewestInstallation(Context(), Record(L"QB::P", L"2024.00.00.00", false, false)).has_value());
  EXPECT_TRUE(FindNewestInstallation(Context(), Record(L"QB::P", L"2024.00.00.00", false, true)).has_value());
  AddInstallation(L"Paloric", L"Installation_v2023", L"2023.00.00.00", L"PL::P", 0, false);
  EXPECT_FALSE(FindNewestInstallation(Context(), Record(L"PL::P", L"2024.00.00.00", false, true)).has_value());
}

TEST_F(DetectionTest, NewestInstallationSkipsInstallationsNewerThanThePackage) {
  AddInstallation(L"Quib Rix", L"Installation_v2023", L"2023.00.02.00", L"QB::P");
  AddInstallation(L"Quib Rix", L"Installation_v2022", L"2022.00.00.00", L"QB::P");
  const auto found = FindNewestInstallation(Context(), Record(L"QB::P", L"2023.00.01.00"));
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->MajorVersion(), 2022);
  EXPECT_EQ(FindNewestInstallation(Context(), Record(L"QB::P", L"2023.00.02.00"))->ServicePack(), 2);
}

TEST_F(DetectionTest, DesignerSearchTriesEveryReleaseOfAMajorBeforeTheMajorKey) {
  AddInstallation(L"PellomarDesigner", L"Installation_v7.9", L"7.9", L"PD::Z");
  AddInstallation(L"PellomarDesigner", L"Installation_v8", L"8.0", L"PD::Z");
  AddInstallation(L"PellomarDesigner", L"Installation_v8.3", L"8.3", L"PD::Z");  // newer than the package
  AddInstallation(L"PellomarDesigner", L"Installation_v8.1", L"8.1", L"PD::Z");
  auto found = FindNewestInstallation(Context(), Record(L"PD::Z", L"8.2"));
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->MajorAndRelease(), std::pair(8, 1));
  host_.Registry().keys.clear();
  AddInstallation(L"PellomarDesigner", L"Installation_v7.9", L"7.9", L"PD::Z");
  AddInstallation(L"PellomarDesigner", L"Installation_v8", L"8.0", L"PD::Z");
  found = FindNewestInstallation(Context(), Record(L"PD::Z", L"8.2"));
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->MajorAndRelease(), std::pair(8, 0));
}

TEST_F(DetectionTest, NewestInstallationSearchEndsAtTheOldestSupportedMajor) {
  AddInstallation(L"Trandel", L"Installation_v2017", L"2017.00.00.00", L"TR::E");
  EXPECT_FALSE(FindNewestInstallation(Context(), Record(L"TR::E", L"2024.00.00.00")).has_value());
  AddInstallation(L"Wendrak", L"Installation_v1", L"1.5", L"WK::N");
  EXPECT_TRUE(FindNewestInstallation(Context(), Record(L"WK::N", L"3.0")).has_value());
}

TEST_F(DetectionTest, AVersionBeyondAnyRealProductFindsNothingAtOnce) {
  AddInstallation(L"Trandel", L"Installation_v2024", L"2024.00.00.00", L"TR::E");
  AddInstallation(L"PellomarDesigner", L"Installation_v8", L"8.0", L"PD::Z");
  EXPECT_TRUE(FindNewestInstallation(Context(), Record(L"TR::E", L"2100.00.00.00")).has_value());
  EXPECT_TRUE(FindNewestInstallation(Context(), Record(L"PD::Z", L"100.0")).has_value());
  // Down from these, the search would open a key for every major (eleven for the designer).
  EXPECT_FALSE(FindNewestInstallation(Context(), Record(L"TR::E", L"2147483647.00.00.00")).has_value());
  EXPECT_FALSE(FindNewestInstallation(Context(), Record(L"PD::Z", L"2147483647.0")).has_value());
  EXPECT_FALSE(FindNewestInstallation(Context(), Record(L"TR::E", L"2101.00.00.00")).has_value());
}

}  // namespace
}  // namespace setup
