#include "packages/previous_installation.h"

#include <gtest/gtest.h>

#include "analysis_fixture.h"
#include "packages/older_suite_product_codes.h"

namespace setup {
namespace {

using testing::AnalysisTest;

class PreviousInstallationTest : public AnalysisTest {
 protected:
  PreviousInstallation Find(const SetupPackage& package) { return FindPreviousInstallation(Context(), package); }
};

TEST_F(PreviousInstallationTest, OlderMajorOfTheSameProductIsFound) {
  Install({L"QB::P", L"2023.00.02", false});
  const auto result = Find(Package(L"QB::P", L"2024.00.00", false));
  ASSERT_TRUE(result.found);
  EXPECT_FALSE(result.sameSlot);
  EXPECT_FALSE(result.sameMajor);
  EXPECT_EQ(result.displayName, L"Tarquel Quibrix 2023 sp2 Professional Edition");
  ASSERT_EQ(result.installations.size(), 1u);
  EXPECT_EQ(result.installations[0].FullVersionString(), L"2023.00.02.00");
}

TEST_F(PreviousInstallationTest, SameMajorTakesTheSameSlot) {
  Install({L"QB::P", L"2024.00.00", true});
  const auto result = Find(Package(L"QB::P", L"2024.00.01", true));
  ASSERT_TRUE(result.found);
  EXPECT_TRUE(result.sameSlot);
  EXPECT_TRUE(result.sameMajor);
  EXPECT_EQ(result.displayName, L"Tarquel Quibrix 2024 Professional Edition (x64)");
}

TEST_F(PreviousInstallationTest, AnotherEditionANewerVersionOrAnInstalledPackageFindNothing) {
  Install({L"QB::E", L"2023.00.00", false});
  EXPECT_FALSE(Find(Package(L"QB::P", L"2024.00.00", false)).found);

  Install({L"QB::P", L"2024.00.02", false});
  EXPECT_FALSE(Find(Package(L"QB::P", L"2024.00.01", false)).found);

  SetupPackage& package = AddPackage(Package(L"QB::P", L"2024.00.03", false));
  package.productCode = L"{AAAAAAAA-0000-0000-0000-000000000002}";
  package.packageCode = L"{BBBBBBBB-0000-0000-0000-000000000002}";
  EXPECT_TRUE(Find(package).found);
  RegisterWithInstaller(package);  // a maintenance run, not an upgrade
  EXPECT_FALSE(Find(package).found);
}

TEST_F(PreviousInstallationTest, SuiteFindsItsMembersInstalledFromTheSuite) {
  Install({L"QB::E", L"2023.00.00", false, true});
  Install({L"TR::E", L"2023.00.00", false, true});
  Install({L"PL::E", L"2023.00.00", false});  // stand-alone: not part of the installed suite
  const auto result = Find(Package(L"FD::E", L"2024.00.00", false));
  ASSERT_TRUE(result.found);
  EXPECT_FALSE(result.sameSlot);
  EXPECT_FALSE(result.sameMajor);
  EXPECT_EQ(result.displayName, L"Tarquel Fendral 2023 Enterprise Edition");
  ASSERT_EQ(result.installations.size(), 2u);
  EXPECT_EQ(result.installations[0].ProductId(), L"QB::E");
  EXPECT_EQ(result.installations[1].ProductId(), L"TR::E");
}

TEST_F(PreviousInstallationTest, SuiteMembersOfMixedVersionsCountAsTheSameMajor) {
  Install({L"QB::E", L"2023.00.00", false, true});
  Install({L"TR::E", L"2023.00.01", false, true});
  const auto result = Find(Package(L"FD::E", L"2024.00.00", false));
  ASSERT_TRUE(result.found);
  EXPECT_TRUE(result.sameMajor);
  EXPECT_EQ(result.displayName, L"Tarquel Fendral 2023 Enterprise Edition");
}

TEST_F(PreviousInstallationTest, OlderSingleInstallerSuiteIsFoundByItsProductCode) {
  const auto rows = OlderSuiteInstallations();
  const auto row = std::find_if(rows.begin(), rows.end(), [](const OlderSuiteInstallation& r) {
    return r.version == L"2019.03.01" && r.edition == L"E" && !r.is64Bit;
  });
  ASSERT_NE(row, rows.end());
  const SetupPackage suite = Package(L"FD::E", L"2024.00.00", false);
  EXPECT_FALSE(Find(suite).found);

  Host().Installer().AddProduct({std::wstring(row->productCode), {}});
  const auto result = Find(suite);
  ASSERT_TRUE(result.found);
  EXPECT_FALSE(result.sameSlot);
  EXPECT_FALSE(result.sameMajor);
  EXPECT_EQ(result.displayName, L"Tarquel Fendral 2019 rel. 3 sp1 Enterprise Edition");
  ASSERT_EQ(result.installations.size(), 7u);
  EXPECT_EQ(result.installations[6].ProductId(), L"MB::Z");
  EXPECT_EQ(result.installations[6].FullVersionString(), L"2019.03.01.00");
  EXPECT_TRUE(result.installations[6].FromSuite());

  // The 64-bit suite and the Professional suite look for their own rows.
  EXPECT_FALSE(Find(Package(L"FD::E", L"2024.00.00", true)).found);
  EXPECT_FALSE(Find(Package(L"FD::P", L"2024.00.00", false)).found);
}

}  // namespace
}  // namespace setup
