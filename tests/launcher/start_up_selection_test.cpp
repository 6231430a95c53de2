// The run sequence: default handle flags when the packages are read, then the command-line
// selection.
#include <gtest/gtest.h>

#include "launcher_fixture.h"

namespace setup {
namespace {

using testing::kLogPath;

class StartUpSelectionTest : public testing::LauncherTest {
 protected:
  StartUpSelectionTest() {
    AddSinglePackageSetup(L"Tarquel Quibrix 2024");
    auto& resources = Host().Resources();
    resources.AddPackageText(L"PACKAGE_COUNT", L"3");
    AddSubPackage(1, L"Tarquel Trandel Server 2024", L"TV::A", L"{11111111-0000-0000-0000-000000000001}");
    AddSubPackage(2, L"Tarquel Yarrick Server 2024", L"YS::M", L"{11111111-0000-0000-0000-000000000002}");
    // The Yarrick server is installed already, by this very build.
    Host().Installer().AddProduct({L"{11111111-0000-0000-0000-000000000002}",
                                   {{L"PackageCode", L"{22222222-0000-0000-0000-000000000002}"}}});
  }

  void AddSubPackage(int n, std::wstring_view name, std::wstring_view productId, std::wstring_view productCode) {
    auto& resources = Host().Resources();
    const std::wstring suffix = std::to_wstring(n);
    resources.AddPackageText(L"PRODUCT_NAME_" + suffix, name);
    resources.AddPackageText(L"PRODUCT_CODE_" + suffix, productCode);
    resources.AddPackageText(L"PACKAGE_CODE_" + suffix, L"{22222222-0000-0000-0000-00000000000" + suffix + L"}");
    resources.AddPackageText(L"PRODUCT_ID_" + suffix, productId);
    resources.AddPackageText(L"PRODUCT_PLATFORM_" + suffix, L"x64");
    resources.AddPackageText(L"PRODUCT_VERSION_" + suffix, L"2024.00.00");
  }

  std::vector<bool> HandleFlags() {
    std::vector<bool> flags;
    for (const SetupPackage& package : app_->Context().packages.packages) flags.push_back(package.handle);
    return flags;
  }
};

TEST_F(StartUpSelectionTest, FreshInstallHandlesWhatIsNotInstalledYet) {
  Run({L"/qn"});
  EXPECT_EQ(HandleFlags(), (std::vector<bool>{true, true, false}));
}

TEST_F(StartUpSelectionTest, RemoveSwitchHandlesOnlyInstalledPackages) {
  Run({L"/qn", L"/x"});
  EXPECT_EQ(HandleFlags(), (std::vector<bool>{false, false, true}));
}

TEST_F(StartUpSelectionTest, SubPackagesValueIsAppliedAfterReadingAndLogged) {
  Run({L"/qn", L"/L*v", kLogPath, L"subPackages=Yarrick"});
  // The selection is applied (the log below); the sub-packages page then leaves Yarrick out
  // again, because a fresh install does not reinstall a sub-package that is installed already.
  EXPECT_EQ(HandleFlags(), (std::vector<bool>{true, false, false}));
  const std::wstring log = LogText();
  const std::wstring expected =
      L"TSL (c): Initialized state for package Tarquel Yarrick Server 2024.\r\n"
      L"TSL (c): skipped handling of package Tarquel Trandel Server 2024 due to command line argument.\r\n"
      L"TSL (c): Avoid skipping of sub-package Tarquel Yarrick Server 2024 due to pattern 'Yarrick'.\r\n"
      L"TSL (c): set default handling of package Tarquel Yarrick Server 2024 due to command line argument.\r\n"
      L"TSL (c): All information collected. Start processing.\r\n";
  EXPECT_NE(log.find(expected), std::wstring::npos) << std::string(log.begin(), log.end());
}

}  // namespace
}  // namespace setup
