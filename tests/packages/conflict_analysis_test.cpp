#include "packages/conflict_analysis.h"

#include <gtest/gtest.h>

#include "analysis_fixture.h"

namespace setup {
namespace {

using testing::AnalysisTest;
using testing::Installation;

constexpr wchar_t kReplaces[] = L"This setup will replace parts of your current installation.";
constexpr wchar_t kBitnessEditions[] =
    L"The 32-bit and 64-bit versions of a product can only be installed together if their editions match.";

std::wstring AlreadyHave(std::wstring_view displayName) {
  return L"This product cannot be installed because you already have " + std::wstring(displayName) +
         L" on your system.";
}

std::wstring AlreadyHaveSuiteProduct(std::wstring_view displayName) {
  return L"This product cannot be installed because you already have following Tarquel Fendral product on your "
         L"system:\n" +
         std::wstring(displayName) + L".";
}

class ConflictAnalysisTest : public AnalysisTest {
 protected:
  ConflictAnalysis Analyze(const SetupPackage& package) { return AnalyzeConflicts(Context(), package); }
};

// Server products: every installation is replaced, except that Wendrak is never downgraded.

TEST_F(ConflictAnalysisTest, ServerInstallationsAreReplaceable) {
  Install({L"BS::A", L"2023.00.00", true});
  const auto result = Analyze(Package(L"BS::A", L"2024.00.00", true));
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message, kReplaces);
  EXPECT_TRUE(result.items[0].replaceable);
  EXPECT_EQ(result.items[0].installedProduct->VersionDisplay(), L"2023");
  EXPECT_FALSE(result.blocking);
}

TEST_F(ConflictAnalysisTest, WendrakNewerThanThePackageBlocksAndAnOlderOneIsReplaced) {
  Install({L"WK::N", L"3.1", false});
  auto result = Analyze(Package(L"WK::N", L"3.0", false));
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message,
            L"Wendrak cannot be downgraded to any previous version. Your currently installed version is "
            L"Tarquel Wendrak 3.1.");
  EXPECT_FALSE(result.items[0].replaceable);
  EXPECT_TRUE(result.blocking);

  result = Analyze(Package(L"WK::N", L"3.2", false));
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message, kReplaces);
  EXPECT_FALSE(result.blocking);
}

// Desktop products: only installations of the same major conflict.

TEST_F(ConflictAnalysisTest, DesktopSameBitnessStandAloneIsReplacedFromTheSuiteBlocks) {
  Install({L"QB::P", L"2024.00.00", false});
  auto result = Analyze(Package(L"QB::P", L"2024.00.01", false));
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message, kReplaces);
  EXPECT_TRUE(result.items[0].replaceable);
  EXPECT_FALSE(result.blocking);

  Install({L"QB::P", L"2024.00.00", false, true});
  result = Analyze(Package(L"QB::P", L"2024.00.01", false));
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message, AlreadyHaveSuiteProduct(L"Tarquel Quibrix 2024 Professional Edition"));
  EXPECT_FALSE(result.items[0].replaceable);
  EXPECT_TRUE(result.blocking);
}

TEST_F(ConflictAnalysisTest, DesktopOtherBitnessOtherEditionBlocks) {
  Install({L"QB::E", L"2024.00.00", true});
  const auto result = Analyze(Package(L"QB::P", L"2024.00.00", false));
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message,
            AlreadyHave(L"Tarquel Quibrix 2024 Enterprise Edition (x64)") + L" " + kBitnessEditions);
  EXPECT_FALSE(result.items[0].replaceable);
  EXPECT_TRUE(result.blocking);
}

TEST_F(ConflictAnalysisTest, DesktopOtherBitnessSameEditionOrOtherMajorIsNoConflict) {
  Install({L"QB::P", L"2024.00.00", true});
  Install({L"QB::E", L"2023.00.00", false});
  const auto result = Analyze(Package(L"QB::P", L"2024.00.00", false));
  EXPECT_TRUE(result.items.empty());
  EXPECT_FALSE(result.blocking);
}

TEST_F(ConflictAnalysisTest, DesignerOtherBitnessIsReplacedUnlessItIsTheSameVersion) {
  Install({L"PD::Z", L"8.1", true});
  auto result = Analyze(Package(L"PD::Z", L"8.2", false));
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message, AlreadyHave(L"Tarquel Pellomar Designer 8.1 (x64)") + L" " + kReplaces);
  EXPECT_TRUE(result.items[0].replaceable);

  result = Analyze(Package(L"PD::Z", L"8.1", false));
  EXPECT_TRUE(result.items.empty());
}

// Integration packages need their base product in an allowed edition.

TEST_F(ConflictAnalysisTest, IntegrationPackageWithoutAllowedBaseBlocks) {
  const std::wstring expected =
      L"This Integration Package can only be installed after installation of Tarquel Quibrix 2023 sp1 64-bit "
      L"Enterprise or Professional.";
  const SetupPackage package = Package(L"QB::IntegrationPackage::E,P", L"2023.00.01", true);
  auto result = Analyze(package);
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message, expected);
  EXPECT_FALSE(result.items[0].installedProduct);
  EXPECT_TRUE(result.blocking);

  Install({L"QB::S", L"2023.00.01", true});   // Standard is not allowed
  Install({L"QB::E", L"2023.00.01", false});  // the other bitness does not count
  result = Analyze(package);
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message, expected);
}

TEST_F(ConflictAnalysisTest, IntegrationPackageWithItsBaseReplacesItsOwnInstallation) {
  Install({L"QB::P", L"2023.00.01", true});
  Install({L"QB::IntegrationPackage::E,P", L"2023.00.00", true});
  const auto result = Analyze(Package(L"QB::IntegrationPackage::E,P", L"2023.00.01", true));
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message, kReplaces);
  EXPECT_TRUE(result.items[0].replaceable);
  EXPECT_FALSE(result.blocking);
}

TEST_F(ConflictAnalysisTest, AddOnsAndTaxonomiesNeverConflictAndSpreadsheetAddInsAreReplaced) {
  Install({L"TR::AddOn_HL7", L"2024.00.00", false});
  EXPECT_TRUE(Analyze(Package(L"TR::AddOn_HL7", L"2024.00.00", false)).items.empty());
  Install({L"TAX_XBRL::Z", L"2023.00.00", false});
  EXPECT_TRUE(Analyze(Package(L"TAX_XBRL::Z", L"2024.00.00", false)).items.empty());

  Install({L"YX::W", L"2022.00.00", false});
  const auto result = Analyze(Package(L"YX::W", L"2024.00.00", false));
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message, kReplaces);
  EXPECT_FALSE(result.blocking);
}

// The suite checks every member.

TEST_F(ConflictAnalysisTest, SuiteWithAnOlderSuiteInstalledHasNoConflict) {
  for (const wchar_t* member : {L"QB::E", L"TR::E", L"MB::Z"}) Install({member, L"2023.00.00", false, true});
  EXPECT_TRUE(Analyze(Package(L"FD::E", L"2024.00.00", false)).items.empty());
}

TEST_F(ConflictAnalysisTest, SuiteMembersFromAnInstalledSuiteGiveOneItemNamingThatSuite) {
  for (const wchar_t* member : {L"QB::E", L"TR::E", L"MB::Z"}) Install({member, L"2024.00.00", false, true});
  const auto result = Analyze(Package(L"FD::E", L"2024.00.01", false));
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message, AlreadyHave(L"Tarquel Fendral 2024 Enterprise Edition"));
  EXPECT_TRUE(result.items[0].replaceable);
  EXPECT_EQ(result.items[0].installedProduct->ProductId(), L"FD::E");
  EXPECT_FALSE(result.blocking);
}

TEST_F(ConflictAnalysisTest, SuiteReplacesStandAloneMembersAfterTheSuiteItem) {
  Install({L"QB::E", L"2024.00.00", false, true});
  Install({L"TR::E", L"2024.00.00", false});
  Install({L"MB::Z", L"2024.00.00", false, true});  // the same Enterprise suite again: no new item
  const auto result = Analyze(Package(L"FD::E", L"2024.00.01", false));
  ASSERT_EQ(result.items.size(), 2u);
  EXPECT_EQ(result.items[0].message, AlreadyHave(L"Tarquel Fendral 2024 Enterprise Edition"));
  EXPECT_EQ(result.items[1].message, kReplaces);
  EXPECT_EQ(result.items[1].installedProduct->ProductId(), L"TR::E");
}

TEST_F(ConflictAnalysisTest, SuiteWithAStandAloneMemberOfOtherBitnessAndEditionBlocks) {
  Install({L"QB::P", L"2024.00.00", true});
  const auto result = Analyze(Package(L"FD::E", L"2024.00.00", false));
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message,
            AlreadyHave(L"Tarquel Quibrix 2024 Professional Edition (x64)") + L" " + kBitnessEditions);
  EXPECT_FALSE(result.items[0].replaceable);
  EXPECT_TRUE(result.blocking);
}

TEST_F(ConflictAnalysisTest, SuiteOfOtherBitnessAndEditionEndsTheAnalysisWithOneBlockingItem) {
  Install({L"QB::E", L"2024.00.00", false});       // found first and replaceable, but the list is emptied
  Install({L"QB::P", L"2024.00.00", true, true});  // from the 64-bit Professional suite
  Install({L"TR::E", L"2024.00.00", false});       // never examined
  const auto result = Analyze(Package(L"FD::E", L"2024.00.00", false));
  ASSERT_EQ(result.items.size(), 1u);
  EXPECT_EQ(result.items[0].message,
            AlreadyHave(L"Tarquel Fendral 2024 Professional Edition (x64)") + L" " + kBitnessEditions);
  EXPECT_FALSE(result.items[0].installedProduct);
  EXPECT_TRUE(result.blocking);
}

TEST_F(ConflictAnalysisTest, MaintenanceOfTheSuiteSkipsItsOwnInstallation) {
  SetupPackage& suite = AddPackage(Package(L"FD::E", L"2024.00.00", false));
  suite.productCode = L"{AAAAAAAA-0000-0000-0000-000000000001}";
  suite.packageCode = L"{BBBBBBBB-0000-0000-0000-000000000001}";
  Install({L"QB::E", L"2024.00.00", false, true});
  EXPECT_EQ(Analyze(suite).items.size(), 1u);  // a fresh install meets the same suite
  RegisterWithInstaller(suite);
  EXPECT_TRUE(Analyze(suite).items.empty());
}

}  // namespace
}  // namespace setup
