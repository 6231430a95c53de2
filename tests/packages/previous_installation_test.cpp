#include "packages/previous_installation.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "analysis_fixture.h"
#include "packages/older_suite_product_codes.h"

namespace setup {
namespace {

using testing::AnalysisTest;
using testing::Installation;

// One search: the installations on the machine, the package, and what must be found.
struct PreviousCase {
  const char* name;
  std::vector<Installation> installed;
  std::wstring productId;  // of the package
  std::wstring version;
  bool is64Bit = false;
  bool found = false;
  bool sameSlot = false;
  bool sameMajor = false;
  std::wstring displayName;
  std::vector<std::wstring> installations;  // "<product id> <full version>" of each installation found
};

void PrintTo(const PreviousCase& c, std::ostream* out) { *out << c.name; }

const PreviousCase kPreviousCases[] = {
    {"OlderMajorOfTheSameProductIsFound",
     {{L"QB::P", L"2023.00.02", false}},
     L"QB::P", L"2024.00.00", false,
     true, false, false, L"Tarquel Quibrix 2023 sp2 Professional Edition",
     {L"QB::P 2023.00.02.00"}},
    {"SameMajorTakesTheSameSlot",
     {{L"QB::P", L"2024.00.00", true}},
     L"QB::P", L"2024.00.01", true,
     true, true, true, L"Tarquel Quibrix 2024 Professional Edition (x64)",
     {L"QB::P 2024.00.00.00"}},
    {"AnotherEditionFindsNothing",
     {{L"QB::E", L"2023.00.00", false}},
     L"QB::P", L"2024.00.00", false,
     false, false, false, L"", {}},
    {"ANewerVersionFindsNothing",
     {{L"QB::P", L"2024.00.02", false}},
     L"QB::P", L"2024.00.01", false,
     false, false, false, L"", {}},
    {"SuiteFindsItsMembersInstalledFromTheSuite",
     {{L"QB::E", L"2023.00.00", false, true},
      {L"TR::E", L"2023.00.00", false, true},
      {L"PL::E", L"2023.00.00", false}},  // stand-alone: not part of the installed suite
     L"FD::E", L"2024.00.00", false,
     true, false, false, L"Tarquel Fendral 2023 Enterprise Edition",
     {L"QB::E 2023.00.00.00", L"TR::E 2023.00.00.00"}},
    {"SuiteMembersOfMixedVersionsCountAsTheSameMajor",
     {{L"QB::E", L"2023.00.00", false, true}, {L"TR::E", L"2023.00.01", false, true}},
     L"FD::E", L"2024.00.00", false,
     true, false, true, L"Tarquel Fendral 2023 Enterprise Edition",
     {L"QB::E 2023.00.00.00", L"TR::E 2023.00.01.00"}},
};

class PreviousInstallationTest : public AnalysisTest {
 protected:
  PreviousInstallation Find(const SetupPackage& package) { return FindPreviousInstallation(Context(), package); }
};

class PreviousInstallationCaseTest : public PreviousInstallationTest,
                                     public ::testing::WithParamInterface<PreviousCase> {};

TEST_P(PreviousInstallationCaseTest, FindsTheExpectedInstallation) {
  const PreviousCase& c = GetParam();
  for (const Installation& installation : c.installed) Install(installation);
  const auto result = Find(Package(c.productId, c.version, c.is64Bit));
  EXPECT_EQ(result.found, c.found);
  EXPECT_EQ(result.sameSlot, c.sameSlot);
  EXPECT_EQ(result.sameMajor, c.sameMajor);
  EXPECT_EQ(result.displayName, c.displayName);
  std::vector<std::wstring> installations;
  for (const ProductRecord& record : result.installations) {
    installations.push_back(record.ProductId() + L" " + record.FullVersionString());
  }
  EXPECT_EQ(installations, c.installations);
}

INSTANTIATE_TEST_SUITE_P(Cases, PreviousInstallationCaseTest, ::testing::ValuesIn(kPreviousCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PreviousInstallationTest, AnInstalledPackageIsAMaintenanceRunAndFindsNothing) {
  const SetupPackage& package = AddPackageWithCodes(Package(L"QB::P", L"2024.00.03", false));
  Install({L"QB::P", L"2024.00.02", false});
  EXPECT_TRUE(Find(package).found);
  RegisterWithInstaller(package);
  EXPECT_FALSE(Find(package).found);
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
