#include "packages/package_selection.h"

#include <gtest/gtest.h>

#include "run/command_line_info.h"
#include "support/run_fixture.h"

namespace setup {
namespace {

using testing::kLogPath;


SetupPackage Package(std::wstring name, bool main, bool registered = false) {
  SetupPackage package;
  package.productName = std::move(name);
  package.main = main;
  package.registered = registered;
  return package;
}

SelectionMode Mode(std::vector<std::wstring> arguments) {
  CSetupAppCommandLineInfo info;
  info.ParseArguments(arguments);
  return {info.IsExtract(), info.IsRepair(), info.IsUninstall()};
}

TEST(DefaultHandleFlag, FreshInstallHandlesTheMainPackageAndWhatIsNotInstalledYet) {
  const SelectionMode plain = Mode({});
  EXPECT_TRUE(DefaultHandleFlag(Package(L"Main", true), false, plain));
  EXPECT_FALSE(DefaultHandleFlag(Package(L"Installed sub", false, true), false, plain));
  EXPECT_TRUE(DefaultHandleFlag(Package(L"New sub", false, false), false, plain));
}

TEST(DefaultHandleFlag, MaintenanceRunHandlesTheMainPackageAndTheInstalledSubPackages) {
  const SelectionMode plain = Mode({});
  EXPECT_TRUE(DefaultHandleFlag(Package(L"Main", true, true), true, plain));
  EXPECT_TRUE(DefaultHandleFlag(Package(L"Installed sub", false, true), true, plain));
  EXPECT_FALSE(DefaultHandleFlag(Package(L"New sub", false, false), true, plain));
}

TEST(DefaultHandleFlag, RemoveAndRepairHandleOnlyRegisteredPackagesAndExtractHandlesAll) {
  for (const auto& arguments : {std::vector<std::wstring>{L"/x"}, std::vector<std::wstring>{L"/f"}}) {
    const SelectionMode mode = Mode(arguments);
    EXPECT_FALSE(DefaultHandleFlag(Package(L"Main", true, false), false, mode)) << arguments[0];
    EXPECT_TRUE(DefaultHandleFlag(Package(L"Main", true, true), true, mode)) << arguments[0];
    EXPECT_TRUE(DefaultHandleFlag(Package(L"Installed sub", false, true), true, mode)) << arguments[0];
    EXPECT_FALSE(DefaultHandleFlag(Package(L"New sub", false, false), true, mode)) << arguments[0];
  }
  const SelectionMode extract = Mode({L"/u"});
  ASSERT_TRUE(extract.extract);
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

class CommandLineSelectionTest : public testing::RunTest {
 protected:
  RunContext& StartWith(std::vector<std::wstring> extra) {
    std::vector<std::wstring> arguments{L"/L*v", kLogPath};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    RunContext& run = Start(std::move(arguments));
    auto& packages = run.packages.packages;
    packages.push_back(Package(L"Tarquel Quibrix 2023", true));
    packages.push_back(Package(L"Tarquel Trandel Server 2023", false));
    packages.push_back(Package(L"Tarquel Yarrick Server 2023", false));
    for (SetupPackage& package : packages) package.handle = true;
    packages[2].handle = false;
    return run;
  }

  std::wstring SelectionLog(RunContext& run) {
    const std::size_t before = LogSize();
    ApplyCommandLineSelection(run.packages, run.commandLine.SubPackages(), run.log);
    return LogSince(before);
  }

  std::vector<bool> Flags(RunContext& run) {
    std::vector<bool> flags;
    for (const SetupPackage& package : run.packages.packages) flags.push_back(package.handle);
    return flags;
  }
};

TEST_F(CommandLineSelectionTest, PatternSelectsMatchingSubPackagesAndSkipsTheOthers) {
  RunContext& app = StartWith({L"subPackages=Trandel"});
  EXPECT_EQ(SelectionLog(app),
            L"TSL (c): Avoid skipping of sub-package Tarquel Trandel Server 2023 due to pattern 'Trandel'.\r\n"
            L"TSL (c): set default handling of package Tarquel Trandel Server 2023 due to command line argument.\r\n"
            L"TSL (c): skipped handling of package Tarquel Yarrick Server 2023 due to command line argument.\r\n");
  EXPECT_EQ(Flags(app), (std::vector<bool>{true, true, false}));
}

TEST_F(CommandLineSelectionTest, NoneSkipsEverySubPackageButNeverTheMain) {
  RunContext& app = StartWith({L"subPackages=None"});
  EXPECT_EQ(SelectionLog(app),
            L"TSL (c): skipped handling of package Tarquel Trandel Server 2023 due to command line argument.\r\n"
            L"TSL (c): skipped handling of package Tarquel Yarrick Server 2023 due to command line argument.\r\n");
  EXPECT_EQ(Flags(app), (std::vector<bool>{true, false, false}));
}

TEST_F(CommandLineSelectionTest, PatternsMatchCaseSensitively) {
  RunContext& app = StartWith({L"subPackages=trandel,Yarrick"});
  SelectionLog(app);
  EXPECT_EQ(Flags(app), (std::vector<bool>{true, false, true}));
}

TEST_F(CommandLineSelectionTest, AllKeepsTheDefaultsWithoutLogLines) {
  RunContext& app = StartWith({L"subPackages=all"});
  EXPECT_EQ(SelectionLog(app), L"");
  EXPECT_EQ(Flags(app), (std::vector<bool>{true, true, false}));
}

TEST_F(CommandLineSelectionTest, NoArgumentKeepsTheDefaultsWithoutLogLines) {
  RunContext& app = StartWith({});
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
