#include "packages/package_selection.h"

#include <gtest/gtest.h>

#include "launcher/command_line_info.h"
#include "support/launcher_fixture.h"

namespace setup {
namespace {

using testing::kLogPath;
using testing::LauncherTest;


SetupPackage Package(std::wstring name, bool main, bool registered = false) {
  SetupPackage package;
  package.productName = std::move(name);
  package.main = main;
  package.registered = registered;
  return package;
}

CSetupAppCommandLineInfo CommandLine(std::vector<std::wstring> arguments) {
  CSetupAppCommandLineInfo info;
  info.ParseArguments(arguments);
  return info;
}

TEST(DefaultHandleFlag, FreshInstallHandlesTheMainPackageAndWhatIsNotInstalledYet) {
  const auto plain = CommandLine({});
  EXPECT_TRUE(DefaultHandleFlag(Package(L"Main", true), false, plain));
  EXPECT_FALSE(DefaultHandleFlag(Package(L"Installed sub", false, true), false, plain));
  EXPECT_TRUE(DefaultHandleFlag(Package(L"New sub", false, false), false, plain));
}

TEST(DefaultHandleFlag, MaintenanceRunHandlesTheMainPackageAndTheInstalledSubPackages) {
  const auto plain = CommandLine({});
  EXPECT_TRUE(DefaultHandleFlag(Package(L"Main", true, true), true, plain));
  EXPECT_TRUE(DefaultHandleFlag(Package(L"Installed sub", false, true), true, plain));
  EXPECT_FALSE(DefaultHandleFlag(Package(L"New sub", false, false), true, plain));
}

TEST(DefaultHandleFlag, RemoveAndRepairHandleOnlyRegisteredPackagesAndExtractHandlesAll) {
  for (const auto& arguments : {std::vector<std::wstring>{L"/x"}, std::vector<std::wstring>{L"/f"}}) {
    const auto commandLine = CommandLine(arguments);
    EXPECT_FALSE(DefaultHandleFlag(Package(L"Main", true, false), false, commandLine)) << arguments[0];
    EXPECT_TRUE(DefaultHandleFlag(Package(L"Main", true, true), true, commandLine)) << arguments[0];
    EXPECT_TRUE(DefaultHandleFlag(Package(L"Installed sub", false, true), true, commandLine)) << arguments[0];
    EXPECT_FALSE(DefaultHandleFlag(Package(L"New sub", false, false), true, commandLine)) << arguments[0];
  }
  const auto extract = CommandLine({L"/u"});
  ASSERT_TRUE(extract.IsExtract());
  EXPECT_TRUE(DefaultHandleFlag(Package(L"Installed sub", false, true), false, extract));
  EXPECT_TRUE(DefaultHandleFlag(Package(L"New sub", false, false), true, extract));
}

TEST(SelectedByCommandLine, FirstElementOccurringInTheProductNameCaseSensitive) {
  const SetupPackage trandel = Package(L"Tarquel Trandel Server 2023", false);
  EXPECT_EQ(SelectedByCommandLine(trandel, L"Trandel"), L"Trandel");
  EXPECT_EQ(SelectedByCommandLine(trandel, L"Yarrick,Server,Trandel"), L"Server");
  EXPECT_EQ(SelectedByCommandLine(trandel, L"trandel"), std::nullopt);
  EXPECT_EQ(SelectedByCommandLine(trandel, L"Yarrick"), std::nullopt);
  EXPECT_EQ(SelectedByCommandLine(trandel, L""), std::nullopt);
  EXPECT_EQ(SelectedByCommandLine(trandel, L"NONE"), std::nullopt);
  // "none" among other elements is just a pattern.
  EXPECT_EQ(SelectedByCommandLine(Package(L"Tarquel none 1", false), L"none,Yarrick"), L"none");
  // Empty elements select nothing, though an empty pattern occurs in every name.
  EXPECT_EQ(SelectedByCommandLine(trandel, L"Yarrick,,"), std::nullopt);
  EXPECT_EQ(SelectedByCommandLine(trandel, L",Trandel"), L"Trandel");
}

class CommandLineSelectionTest : public LauncherTest {
 protected:
  CSetupApp& StartWith(std::vector<std::wstring> extra) {
    std::vector<std::wstring> arguments{L"/L*v", kLogPath};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    CSetupApp& app = Start(std::move(arguments));
    auto& packages = app.Packages().packages;
    packages.push_back(Package(L"Tarquel Quibrix 2023", true));
    packages.push_back(Package(L"Tarquel Trandel Server 2023", false));
    packages.push_back(Package(L"Tarquel Yarrick Server 2023", false));
    for (SetupPackage& package : packages) package.handle = true;
    packages[2].handle = false;
    return app;
  }

  std::wstring SelectionLog(CSetupApp& app) {
    const std::size_t before = LogText().size();
    ApplyCommandLineSelection(app.Packages(), app.CommandLine().SubPackages(), app.Log());
    return LogText().substr(before);
  }

  std::vector<bool> Flags(CSetupApp& app) {
    std::vector<bool> flags;
    for (const SetupPackage& package : app.Packages().packages) flags.push_back(package.handle);
    return flags;
  }
};

TEST_F(CommandLineSelectionTest, PatternSelectsMatchingSubPackagesAndSkipsTheOthers) {
  CSetupApp& app = StartWith({L"subPackages=Trandel"});
  EXPECT_EQ(SelectionLog(app),
            L"TSL (c): Avoid skipping of sub-package Tarquel Trandel Server 2023 due to pattern 'Trandel'.\r\n"
            L"TSL (c): set default handling of package Tarquel Trandel Server 2023 due to command line argument.\r\n"
            L"TSL (c): skipped handling of package Tarquel Yarrick Server 2023 due to command line argument.\r\n");
  EXPECT_EQ(Flags(app), (std::vector<bool>{true, true, false}));
}

TEST_F(CommandLineSelectionTest, NoneSkipsEverySubPackageButNeverTheMain) {
  CSetupApp& app = StartWith({L"subPackages=None"});
  EXPECT_EQ(SelectionLog(app),
            L"TSL (c): skipped handling of package Tarquel Trandel Server 2023 due to command line argument.\r\n"
            L"TSL (c): skipped handling of package Tarquel Yarrick Server 2023 due to command line argument.\r\n");
  EXPECT_EQ(Flags(app), (std::vector<bool>{true, false, false}));
}

TEST_F(CommandLineSelectionTest, PatternsMatchCaseSensitively) {
  CSetupApp& app = StartWith({L"subPackages=trandel,Yarrick"});
  SelectionLog(app);
  EXPECT_EQ(Flags(app), (std::vector<bool>{true, false, true}));
}

TEST_F(CommandLineSelectionTest, AllKeepsTheDefaultsWithoutLogLines) {
  CSetupApp& app = StartWith({L"subPackages=all"});
  EXPECT_EQ(SelectionLog(app), L"");
  EXPECT_EQ(Flags(app), (std::vector<bool>{true, true, false}));
}

TEST_F(CommandLineSelectionTest, NoArgumentKeepsTheDefaultsWithoutLogLines) {
  CSetupApp& app = StartWith({});
  EXPECT_EQ(SelectionLog(app), L"");
  EXPECT_EQ(Flags(app), (std::vector<bool>{true, true, false}));
}

TEST(CheckBoxTransfer, EveryRowTakesTheStateOfItsBox) {
  SetupPackage first = Package(L"A", false);
  SetupPackage second = Package(L"B", false);
  first.handle = false;
  second.handle = true;
  const SubPackageCheckBox rows[] = {{&first, true}, {&second, false}};
  TransferCheckBoxStates(rows);
  EXPECT_TRUE(first.handle);
  EXPECT_FALSE(second.handle);
}

}  // namespace
}  // namespace setup

namespace setup {
namespace {

// The run sequence: default flags when the packages are read, then the command-line selection.
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
    for (const SetupPackage& package : app_->Packages().packages) flags.push_back(package.handle);
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
  EXPECT_EQ(HandleFlags(), (std::vector<bool>{true, false, true}));
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
