#include <gtest/gtest.h>

#include "analysis_fixture.h"
#include "packages/quick_install_decision.h"

namespace setup {
namespace {

using testing::AnalysisTest;

constexpr wchar_t kDetecting[] = L"TSL (c): detecting upgrade or downgrade scenarios...\r\n";
constexpr wchar_t kReplaced[] = L"    QUICL - Your current installation will get replaced.\r\n";

std::wstring UpgradeLine(std::wstring_view displayName) {
  return L"    QUICK - This is a product upgrade of your current installation of " + std::wstring(displayName) +
         L".\r\n";
}

class QuickInstallTest : public AnalysisTest {
 protected:
  QuickInstallDecision Decide() {
    before_ = LogSize();
    RunContext& run = Run();
    return DecideQuickInstall(Detection(run), run.languages, run.packages, run.commandLine.SubPackages(), run.log);
  }
  std::wstring DecisionLog() { return LogSince(before_); }

  std::size_t before_ = 0;
};

TEST_F(QuickInstallTest, SameMajorUpgradeIsOfferedAndReplacesTheInstallation) {
  AddPackage(Package(L"QB::P", L"2024.00.01", false));
  Install({L"QB::P", L"2024.00.00", false});
  const auto decision = Decide();
  EXPECT_TRUE(decision.offer);
  EXPECT_EQ(decision.installedDisplayName, L"Tarquel Quibrix 2024 Professional Edition");
  EXPECT_FALSE(decision.newMajorVersion);
  ASSERT_EQ(decision.installations.size(), 1u);
  EXPECT_EQ(DecisionLog(),
            std::wstring(kDetecting) + UpgradeLine(L"Tarquel Quibrix 2024 Professional Edition") + kReplaced);
}

TEST_F(QuickInstallTest, NewMajorIsOfferedUnlessAnInstallationLiesInACustomFolder) {
  AddPackage(Package(L"QB::P", L"2024.00.00", false));
  Install({L"QB::P", L"2023.00.00", false, false, L"C:\\Program Files (x86)\\Tarquel\\Quibrix2023\\Quibrix.exe"});
  CreateFile(L"C:\\Program Files (x86)\\Tarquel\\Quibrix2023\\Quibrix.exe");
  auto decision = Decide();
  EXPECT_TRUE(decision.offer);
  EXPECT_TRUE(decision.newMajorVersion);
  EXPECT_EQ(DecisionLog(), std::wstring(kDetecting) + UpgradeLine(L"Tarquel Quibrix 2023 Professional Edition"));

  // The default folder in another spelling is still the default folder.
  Install({L"QB::P", L"2023.00.00", false, false, L"c:/Program Files (x86)//Tarquel/Quibrix2023\\Quibrix.exe"});
  EXPECT_TRUE(Decide().offer);

  Install({L"QB::P", L"2023.00.00", false, false, L"D:\\Tools\\Quibrix\\Quibrix.exe"});
  CreateFile(L"D:\\Tools\\Quibrix\\Quibrix.exe");
  decision = Decide();
  EXPECT_FALSE(decision.offer);
  EXPECT_TRUE(decision.installedDisplayName.empty());
  EXPECT_TRUE(decision.installations.empty());
  // The upgrade line is written whether or not the quick install is offered.
  EXPECT_EQ(DecisionLog(), std::wstring(kDetecting) + UpgradeLine(L"Tarquel Quibrix 2023 Professional Edition"));
}

TEST_F(QuickInstallTest, MobileServerIsOfferedEvenFromACustomFolder) {
  AddPackage(Package(L"PS::A", L"8.0", true));
  Install({L"PS::A", L"7.1", true, false, L"D:\\Servers\\Pellomar\\bin\\server.exe"});
  CreateFile(L"D:\\Servers\\Pellomar\\bin\\server.exe");
  const auto decision = Decide();
  EXPECT_TRUE(decision.offer);
  EXPECT_TRUE(decision.newMajorVersion);
}

TEST_F(QuickInstallTest, DesktopProductWithAnActiveXControlOfTheSameMajorIsNotOffered) {
  AddPackage(Package(L"QB::P", L"2024.00.01", false));
  const std::wstring application = L"C:\\Program Files (x86)\\Tarquel\\Quibrix2024\\Quibrix.exe";
  Install({L"QB::P", L"2024.00.00", false, false, application});
  CreateFile(L"C:\\Program Files (x86)\\Tarquel\\Quibrix2024\\Quibrix.ocx");
  EXPECT_FALSE(Decide().offer);
  EXPECT_EQ(DecisionLog(),
            std::wstring(kDetecting) + UpgradeLine(L"Tarquel Quibrix 2024 Professional Edition") + kReplaced);
}

TEST_F(QuickInstallTest, BlockingConflictOfTheMainPackageEndsTheDecision) {
  AddPackage(Package(L"QB::P", L"2024.00.01", false));
  Install({L"QB::E", L"2024.00.00", true});
  EXPECT_FALSE(Decide().offer);
  EXPECT_EQ(DecisionLog(), L"");
}

TEST_F(QuickInstallTest, ProductsNeitherDesktopNorServerAreNotOffered) {
  AddPackage(Package(L"GM::C", L"2024.00.01", false));
  Install({L"GM::C", L"2023.00.00", false});
  EXPECT_FALSE(Decide().offer);
  EXPECT_EQ(DecisionLog(), std::wstring(kDetecting) + UpgradeLine(L"Grelmax 2023 Community Edition"));
}

TEST_F(QuickInstallTest, BlockedSubPackageRulesOutTheOfferButWendrakIsLeftOut) {
  AddPackage(Package(L"QB::P", L"2024.00.01", false));
  AddPackage(Package(L"WK::N", L"3.0", false, L"Tarquel Wendrak 3.0"));
  Install({L"QB::P", L"2024.00.00", false});
  Install({L"WK::N", L"3.1", false});  // blocks the Wendrak package only
  EXPECT_TRUE(Decide().offer);

  AddPackage(Package(L"TR::P", L"2024.00.01", false, L"Tarquel Trandel 2024"));
  Install({L"TR::E", L"2024.00.00", true});
  EXPECT_FALSE(Decide().offer);
}

TEST_F(QuickInstallTest, SubPackagesInstalledWithTheFoundVersionJoinTheQuickInstall) {
  Start({L"/L*v", testing::kLogPath, L"subPackages=Sorvik"});
  AddPackage(Package(L"QB::P", L"2024.00.01", false));
  AddPackage(Package(L"TR::P", L"2024.00.00", false, L"Tarquel Trandel 2024"));
  AddPackage(Package(L"PL::P", L"2024.00.01", false, L"Tarquel Paloric 2024"));
  AddPackage(Package(L"KS::P", L"2024.00.01", false, L"Tarquel Kostrel 2024"));
  AddPackage(Package(L"SK::P", L"2024.00.01", false, L"Tarquel Sorvik 2024"));
  for (SetupPackage& package : Run().packages.packages) package.handle = true;
  Install({L"QB::P", L"2024.00.00", false});
  Install({L"PL::P", L"2024.00.00", false});  // installed with the found version
  Install({L"KS::P", L"2023.00.00", false});  // another version: deselected
  Install({L"SK::P", L"2023.00.00", false});  // another version, but chosen on the command line

  const auto decision = Decide();
  ASSERT_TRUE(decision.offer);
  const auto& packages = Run().packages.packages;
  EXPECT_TRUE(packages[0].handle);
  EXPECT_FALSE(packages[1].handle);  // its own version is the found one
  EXPECT_TRUE(packages[2].handle);
  EXPECT_FALSE(packages[3].handle);
  EXPECT_TRUE(packages[4].handle);
  ASSERT_EQ(decision.installations.size(), 2u);
  EXPECT_EQ(decision.installations[1].ProductId(), L"PL::P");
  EXPECT_EQ(decision.installations[1].FullVersionString(), L"2024.00.00.00");
}

}  // namespace
}  // namespace setup
