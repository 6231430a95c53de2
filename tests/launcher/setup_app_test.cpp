#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "foundation/file_utilities.h"
#include "launcher/package_folder_cleanup.h"
#include "launcher_fixture.h"
#include "packages/package_cache.h"
#include "run/log_lines.h"

namespace setup {
namespace {

using platform::MessageBoxIcon;
using testing::kLogPath;
using testing::LauncherTest;

TEST_F(LauncherTest, ConstructionWritesTheStartLineWithTimeAndVersion) {
  Host().Files().SetFileVersion(L"C:\\Setup\\Setup.exe", {24, 1, 0, 17});
  Start({L"/L*v", kLogPath, L"/?"});
  EXPECT_EQ(LogText(), L"=== SetupLauncher started: 2026-12-09 07:05:03 Build type: SHIP ANSI 24.1.0.17\r\n");
}

TEST_F(LauncherTest, HelpPrintsWithoutSystemChecksAndEndsTheConsole) {
  EXPECT_EQ(Run({L"/?", L"/L", kLogPath}), 0);
  EXPECT_TRUE(Host().Console().output.starts_with(L"\r\nSetup.exe - command line syntax\r\n"));
  EXPECT_EQ(Host().Console().enterCount, 1);
  EXPECT_FALSE(Host().Console().attached);
  EXPECT_TRUE(Host().System().lastMutexName.empty());
  EXPECT_EQ(Host().Ui().pumpedQuit, 0);
  EXPECT_FALSE(LogHas(L"Determining OS version"));
  EXPECT_TRUE(LogHas(L"TSL (c): CommandLine: /? /L C:\\Work\\setup.log\r\nTSL (c): entering ExitInstance \r\n"
                     L"=== SetupLauncher stopped: 2026-12-09 07:05:03\r\n")) << LogText();
}

TEST_F(LauncherTest, AnInvalidSwitchPrintsHelpAndFailsWith1639) {
  AddSinglePackageSetup();
  EXPECT_EQ(Run({L"/qx", L"/L", kLogPath}), kResultInvalidCommandLine);
  EXPECT_TRUE(Host().Console().output.starts_with(L"\r\nSetup.exe - command line syntax\r\n"));
  EXPECT_TRUE(Host().Ui().messageBoxes.empty());
  EXPECT_TRUE(LogHas(L"TSL (c): ERROR: Invalid command line.\r\n")) << LogText();
}

TEST_F(LauncherTest, HelpAskedForOnPurposeSucceeds) {
  AddSinglePackageSetup();
  EXPECT_EQ(Run({L"/H", L"/L", L"\\\\.\\COM1"}), 0);
  EXPECT_TRUE(Host().Console().output.starts_with(
      L"The log file \\\\.\\COM1 names a device, not a file. Setup writes no log and goes on.\r\n\r\nSetup.exe - "))
      << "a console mode tells a device log on the console, never in a box it would wait on";
  EXPECT_TRUE(Host().Ui().messageBoxes.empty());
}

TEST_F(LauncherTest, ALogNamingADeviceIsToldInABoxBeforeTheWizardAndTheRunGoesOnWithoutALog) {
  AddSinglePackageSetup();
  CSetupApp& app = Start({L"/L*v", L"COM1"});
  app.InitInstance();
  const auto& boxes = Host().Ui().messageBoxes;
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"The log file COM1 names a device, not a file. Setup writes no log and goes on.");
  EXPECT_EQ(boxes[0].icon, MessageBoxIcon::Exclamation);
  EXPECT_TRUE(Host().Ui().richEditLoaded) << "the wizard follows";
  EXPECT_EQ(app.ExitInstance(), kResultSuccess);
}

TEST_F(LauncherTest, HelpWithAnInvalidSwitchBesideItFails) {
  AddSinglePackageSetup();
  EXPECT_EQ(Run({L"/?", L"/bogus"}), kResultInvalidCommandLine);
}

TEST_F(LauncherTest, MultiLanguageSetupFollowsTheUserOrTheLangArgument) {
  AddSinglePackageSetup();
  Host().Resources().AddPackageResource(L"PACKAGE_0_1031", 1031, "transform");
  Host().System().uiLanguage = 1031;
  CSetupApp& app = Start({L"/?"});
  app.InitInstance();
  EXPECT_TRUE(app.Context().languages.IsMultiLanguage());
  EXPECT_EQ(app.Context().languages.CurrentLangId(), 1031);
  EXPECT_TRUE(app.Context().languages.Entries()[1].available);
  EXPECT_FALSE(app.Context().languages.Entries()[2].available);
  EXPECT_NE(Host().Console().output.find(L"lang=<"), std::wstring::npos);  // the language option appears
}

TEST_F(LauncherTest, LangArgumentMatchesNamesIgnoringCase) {
  AddSinglePackageSetup();
  Host().Resources().AddPackageResource(L"PACKAGE_0_1031", 1031, "transform");
  Host().System().uiLanguage = 1041;
  CSetupApp& app = Start({L"/?", L"lang=GERMAN"});
  app.InitInstance();
  EXPECT_EQ(app.Context().languages.CurrentLangId(), 1031);
}

TEST_F(LauncherTest, SingleLanguageSetupSpeaksTheLanguageOfItsOsResource) {
  Host().Resources().AddPackageText(L"OS", L"6.1.1", 1031);
  Host().Resources().AddPackageResource(L"PACKAGE_0", 1033, "cab");
  Host().System().uiLanguage = 1036;
  CSetupApp& app = Start({L"/?"});
  app.InitInstance();
  EXPECT_FALSE(app.Context().languages.IsMultiLanguage());
  EXPECT_EQ(app.Context().languages.CurrentLangId(), 1031);
}

TEST_F(LauncherTest, NonNumericPortPropertyPrintsTheErrorAndStopsWithoutWizard) {
  AddSinglePackageSetup(L"Tarquel Brammel Server 2024");
  EXPECT_EQ(Run({L"BR_WebServer_Port=80a", L"br_sslwebserver_port=443", L"BRWeb_WebServer_Port="}),
            kResultInvalidCommandLine);
  EXPECT_EQ(Host().Console().output, L"\r\nError: Parameter BR_WebServer_Port must be numeric\n\r\n\r\n");
  EXPECT_TRUE(Host().System().lastMutexName.empty());  // stopped before the single-instance check
  EXPECT_TRUE(Host().Ui().messageBoxes.empty());
}

TEST_F(LauncherTest, UnknownPropertyWarnsAndIsKeptForTheInstaller) {
  AddSinglePackageSetup();
  // A second "TRANSFORMS=" lands among the properties but is the launcher's own: no warning.
  CSetupApp& app = Start({L"FOO=1", L"lang=English", L"TRANSFORMS=a.mst", L"TRANSFORMS=b.mst"});
  app.InitInstance();
  EXPECT_EQ(Host().Console().output,
            L"Warning: the property 'FOO' specified on the command line is not directly supported by this installer "
            L"but will be passed on neverthless.\r\n");
  EXPECT_EQ(app.Context().commandLine.Properties(),
            (std::vector<CommandLineProperty>{{L"FOO", L"1"}, {L"TRANSFORMS", L"b.mst"}}));
  EXPECT_EQ(app.ExitInstance(), kResultSuccess);
}

TEST_F(LauncherTest, InstallModeTakesTheWizardTitleAfterAllChecksPass) {
  AddSinglePackageSetup();
  CSetupApp& app = Start({L"/L*v", kLogPath});
  app.InitInstance();
  EXPECT_EQ(app.Context().caption, L"Tarquel Quillbook 2024 - Installer Wizard");
  EXPECT_EQ(Host().System().lastMutexName, L"Global\\_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}");
  EXPECT_TRUE(Host().Ui().richEditLoaded);
  EXPECT_EQ(app.Os().welcomeTextId, 1324);
  EXPECT_TRUE(app.Context().languages.FormatText(app.Os().welcomeTextId, L"Tarquel Quillbook 2024")
                  .starts_with(L"This wizard will install Tarquel Quillbook 2024 on your computer."));
  EXPECT_TRUE(app.Context().is64BitSystem);
  EXPECT_TRUE(LogHas(L"TSL (c): Determining OS version\r\nTSL (c): found Windows 10.0.22631\r\n"
                     L"TSL (c): Expect at least Windows Server 2008 R2 ServicePack 1 \r\n"
                     L"TSL (c): Checking OS version\r\nTSL (c): OS version found to be correct.\r\n")) << LogText();
  EXPECT_EQ(app.ExitInstance(), kResultSuccess);
}

TEST_F(LauncherTest, TooOldWindowsShowsBothBoxesAndExits4) {
  AddSinglePackageSetup();
  Host().System().osVersion = platform::OsVersion{6, 1, 0, 0, 7600, 1, 0};
  EXPECT_EQ(Run({L"/L", kLogPath}), 4);
  const auto& boxes = Host().Ui().messageBoxes;
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].icon, MessageBoxIcon::Error);
  EXPECT_NE(boxes[0].text.find(L"Windows 7"), std::wstring::npos);
  EXPECT_NE(boxes[0].text.find(L"Windows Server 2008 R2 ServicePack 1"), std::wstring::npos);
  EXPECT_EQ(boxes[0].caption, L"Setup");
  EXPECT_EQ(boxes[1].text, L"Installation platform not supported.\nInstallation of this version cannot continue.");
  EXPECT_EQ(boxes[1].icon, MessageBoxIcon::Exclamation);
  EXPECT_TRUE(LogHas(L"TSL (c): ERROR: Incompatible Windows Version\r\n")) << LogText();
}

TEST_F(LauncherTest, QuietRunShowsNoBoxButStillLogsTheError) {
  AddSinglePackageSetup();
  Host().System().osVersion = platform::OsVersion{6, 0, 2, 0, 6002, 1, 0};
  EXPECT_EQ(Run({L"/qn", L"/L", kLogPath}), 4);
  EXPECT_TRUE(Host().Ui().messageBoxes.empty());
  EXPECT_TRUE(LogHas(L"TSL (c): ERROR: Incompatible Windows Version\r\n")) << LogText();
}

TEST_F(LauncherTest, MissingOsResourceMeansNoMinimum) {
  AddSinglePackageSetup();
  Host().Resources().RemovePackageResource(L"OS", 1033);
  Host().System().osVersion.reset();
  EXPECT_EQ(Run({L"/L*v", kLogPath}), kResultSuccess);
  EXPECT_TRUE(LogHas(L"TSL (c): Not checking OS version since no minimum version specified.\r\n")) << LogText();
}

TEST_F(LauncherTest, UnsupportedRestrictionIsOnlyAWarning) {
  Host().Resources().AddPackageText(L"OS", L"6.1.1/Foo");
  EXPECT_EQ(Run({L"/L*v", kLogPath}), kResultSuccess);
  EXPECT_TRUE(LogHas(L"TSL (c): Unsupported OS restriction selection!\r\n"
                     L"TSL (c): OS version found to be correct.\r\n"))
      << LogText();
}

TEST_F(LauncherTest, MissingDirect2DExits5) {
  AddSinglePackageSetup();
  Host().System().direct2D11 = false;
  EXPECT_EQ(Run({L"/L", kLogPath}), 5);
  ASSERT_EQ(Host().Ui().messageBoxes.size(), 2u);
  EXPECT_EQ(Host().Ui().messageBoxes[1].text,
            L"Direct 2D was not found on your system.\nInstallation of this version cannot continue.");
  EXPECT_TRUE(LogHas(L"No Direct2D found on this machine.TSL (c): ERROR: Direct 2D not found\r\n")) << LogText();
}

TEST_F(LauncherTest, SecondLauncherExits6) {
  AddSinglePackageSetup();
  Host().System().heldMutexes.insert(L"Global\\_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}");
  EXPECT_EQ(Run({L"/L", kLogPath}), 6);
  EXPECT_TRUE(LogHas(L"TSL (c): Setup already in progress.\r\n")) << LogText();
  ASSERT_EQ(Host().Ui().messageBoxes.size(), 1u);
  EXPECT_EQ(Host().Ui().messageBoxes[0].text.substr(0, 35), L"Another program is being installed.");
}

// Windows NT 4.0 with the given "ProductSuite" entries.
void ArrangeOldSystem(platform::host::HostPlatform& host, std::wstring_view suiteEntries) {
  host.System().osVersion = platform::OsVersion{4, 0, 6, 0, 1381, 1, 0};
  auto key = host.Registry().Open(platform::RegistryRoot::LocalMachine,
                                  L"System\\CurrentControlSet\\Control\\ProductOptions",
                                  platform::RegistryAccess::All, true, 0);
  key->SetValue(L"ProductSuite", {platform::kRegMultiSz, ToUtf16LeBytes(suiteEntries)});
}

TEST_F(LauncherTest, OldSystemsUseTheLocalMutexUnlessTerminalServer) {
  // Only the whole entry "Terminal Server", in that spelling, counts.
  ArrangeOldSystem(Host(), std::wstring_view(L"Terminal Server Lite\0terminal server\0\0", 38));
  Run({});
  EXPECT_EQ(Host().System().lastMutexName, L"_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}");
}

TEST_F(LauncherTest, OldTerminalServerUsesTheGlobalMutex) {
  ArrangeOldSystem(Host(), std::wstring_view(L"Small Business\0Terminal Server\0\0", 32));
  Run({});
  EXPECT_EQ(Host().System().lastMutexName, L"Global\\_MSISETUP_{2956EBA1-9B5A-4679-8618-357136DA66CA}");
}

TEST_F(LauncherTest, PowerUserPassesTheRightsCheck) {
  AddSinglePackageSetup();
  Host().System().administrator = false;
  Host().System().powerUser = true;
  EXPECT_EQ(Run({}), kResultSuccess);
}

TEST_F(LauncherTest, UserWithoutRightsExits7) {
  AddSinglePackageSetup();
  Host().System().administrator = false;
  EXPECT_EQ(Run({L"/L", kLogPath}), 7);
  EXPECT_TRUE(LogHas(L"TSL (c): User has no sufficient rights to run setup.\r\n"
                     L"TSL (c): ERROR: Installation requires admin rights.\r\n")) << LogText();
}

TEST_F(LauncherTest, ValidationOfACompleteSetup) {
  AddSinglePackageSetup();
  EXPECT_EQ(Run({L"/v"}), 0);
  EXPECT_EQ(Host().Console().output,
            L"\r\nValidation if all necessary resources have been compiled into setup.\r\n"
            L"All resources have been detected.\r\n");
}

TEST_F(LauncherTest, ValidationReportsEveryMissingResourceOnOneLine) {
  AddSinglePackageSetup();
  Host().Resources().RemovePackageResource(L"PACKAGE_0", 1033);
  Host().Resources().RemovePackageResource(L"PRODUCT_ID_0", 1033);
  EXPECT_EQ(Run({L"/v", L"/L", kLogPath}), 1);
  EXPECT_EQ(Host().Console().output,
            L"\r\nValidation if all necessary resources have been compiled into setup.\r\n"
            L"    Test for resource PRODUCT_ID_0 failed!    Test for resource PACKAGE_0 failed!"
            L"Some resources are missing.\r\n");
  EXPECT_TRUE(LogHas(L"Validation if all necessary resources have been compiled into setup.Validation failed!"))
      << LogText();
  EXPECT_FALSE(LogHas(L"ERROR"));  // already reported
  EXPECT_TRUE(Host().Ui().messageBoxes.empty());
}

// A damaged count cannot make the validation run for minutes: it ends at the first package
// number that has no resource of its own, which is reported as missing.
TEST_F(LauncherTest, ValidationStopsAtTheFirstPackageWithoutResources) {
  AddSinglePackageSetup();
  Host().Resources().AddPackageText(L"PACKAGE_COUNT", L"2147483647");
  EXPECT_EQ(Run({L"/v"}), 1);
  EXPECT_EQ(Host().Console().output,
            L"\r\nValidation if all necessary resources have been compiled into setup.\r\n"
            L"    Test for resource PRODUCT_NAME_1 failed!    Test for resource PRODUCT_CODE_1 failed!"
            L"    Test for resource PRODUCT_ID_1 failed!    Test for resource PRODUCT_VERSION_1 failed!"
            L"    Test for resource PRODUCT_PLATFORM_1 failed!    Test for resource PACKAGE_CODE_1 failed!"
            L"    Test for resource PACKAGE_1 failed!Some resources are missing.\r\n");
}

TEST_F(LauncherTest, ValidationOfAMultiLanguageSetupChecksEveryLanguage) {
  AddSinglePackageSetup();
  Host().Resources().AddPackageResource(L"PACKAGE_0_1031", 1031, "mst");
  Host().Resources().AddPackageResource(L"PACKAGE_0_1036", 1036, "mst");
  EXPECT_EQ(Run({L"/v"}), 1);
  EXPECT_EQ(Host().Console().output,
            L"\r\nValidation if all necessary resources have been compiled into setup.\r\n"
            L"    Test for resource PACKAGE_0_1034 [1034] failed!    Test for resource PACKAGE_0_1041 [1041] failed!"
            L"    Test for resource PACKAGE_0_2052 [2052] failed!Some resources are missing.\r\n");
}

TEST_F(LauncherTest, TheResultIsReportedOnce) {
  CSetupApp& app = Start({L"/L", kLogPath});
  app.Context().result.Record(kResultInstallFailed, 1603, false);
  app.ReportResult();
  app.ReportResult();
  EXPECT_EQ(LogText().substr(LogText().find(L"TSL (c): ERROR")),
            L"TSL (c): ERROR: Installation failed. (1603 - Fatal error during installation.\r\n)\r\n");
  EXPECT_TRUE(Host().Ui().messageBoxes.empty());  // kind 2 has no box

  app.Context().result.Record(kResultOtherVersionInstalled, 0, false);
  app.ReportResult();
  EXPECT_TRUE(LogText().ends_with(L"TSL (c): ERROR: \r\n"));
  ASSERT_EQ(Host().Ui().messageBoxes.size(), 1u);
  EXPECT_EQ(Host().Ui().messageBoxes[0].text.substr(0, 53), L"Another version of this product is already installed.");
}

// Where no window can be made (no window system in the session), a silent run has done
// nothing: it ends as a failed installation with its reason, told once, never as a success.
TEST_F(LauncherTest, AWizardThatCannotBeCreatedEndsAsAFailedInstallationToldOnce) {
  AddSinglePackageSetup();
  Host().Gui().refuseDialogs = 0;
  EXPECT_EQ(Run({L"/qn", L"/L*v", kLogPath}), kResultInstallFailed);
  const std::wstring log = LogText();
  EXPECT_TRUE(LogHas(L"TSL (c): All information collected. Start processing.\r\n"
                     L"TSL (c): The wizard window could not be created.\r\n"
                     L"TSL (c): ERROR: Installation failed.\r\n"))
      << ToUtf8(log);
  EXPECT_EQ(log.find(L"ERROR"), log.rfind(L"ERROR"));
  EXPECT_TRUE(Host().Ui().messageBoxes.empty());
}

// A quiet run walks its wizard on windows that exist only in memory, built from the same
// templates: where the window system makes none, it installs all the same, and it loads
// nothing that only a visible wizard needs.
TEST_F(LauncherTest, AQuietRunInstallsWhereNoWindowCanBeMade) {
  AddSinglePackageSetup();
  Host().Gui().refuseDialogs = 0;
  Host().OfferWindowlessGui();
  EXPECT_EQ(Run({L"/qn", L"/L*v", kLogPath}), kResultSuccess) << ToUtf8(LogText());
  EXPECT_NE(Host().Installer().FindProduct(L"{11111111-2222-3333-4444-555555555555}"), nullptr);
  EXPECT_FALSE(Host().Ui().richEditLoaded);
}

// Each row of the result-kind table: the ERROR line with its description, and its message
// box text (from the STRINGTABLE, never empty) exactly when the row names one.
TEST_F(LauncherTest, EveryResultKindIsReportedAsItsRowSays) {
  CSetupApp& app = Start({L"/L", kLogPath});
  std::size_t boxes = 0;
  for (const ResultKindRow& row : kResultKinds) {
    app.Context().result.Record(row.kind, 0, false);
    app.ReportResult();
    EXPECT_TRUE(LogText().ends_with(LogLineText(log_lines::kError, row.description))) << row.kind;
    if (row.messageId == 0) {
      EXPECT_EQ(Host().Ui().messageBoxes.size(), boxes) << row.kind;
      continue;
    }
    ASSERT_EQ(Host().Ui().messageBoxes.size(), ++boxes) << row.kind;
    EXPECT_EQ(Host().Ui().messageBoxes.back().text, app.Context().languages.Text(row.messageId)) << row.kind;
    EXPECT_FALSE(Host().Ui().messageBoxes.back().text.empty()) << row.kind;
    EXPECT_EQ(Host().Ui().messageBoxes.back().icon, platform::MessageBoxIcon::Exclamation) << row.kind;
  }
  // Success and the unpack worker's own 1620 have no row: nothing to report, and an empty text.
  const std::wstring before = LogText();
  app.Context().result.Record(kResultSuccess, 0, false);
  app.ReportResult();
  EXPECT_EQ(LogText(), before);
  app.Context().result.Record(kResultCabinetDamaged, 0, false);
  app.ReportResult();
  EXPECT_TRUE(LogText().ends_with(L"TSL (c): ERROR: \r\n"));
  EXPECT_EQ(Host().Ui().messageBoxes.size(), boxes);
}

TEST_F(LauncherTest, ExtractModeOfADamagedCabinetEndsAsAFailedInstallationWithCode1620) {
  AddSinglePackageSetup();
  // A cabinet that is the signature alone.
  Host().Resources().AddPackageResource(L"PACKAGE_0", 1033, std::string("\x04\0\0\0MSCF", 8));
  CSetupApp& app = Start({L"/u", L"/L", kLogPath});
  app.InitInstance();
  EXPECT_EQ(app.Context().result.kind, kResultInstallFailed);
  EXPECT_EQ(app.Context().result.installerCode, 1620u);
  EXPECT_TRUE(Host().Console().output.empty());
  EXPECT_EQ(Host().Console().enterCount, 1);
  EXPECT_EQ(app.ExitInstance(), kResultInstallFailed);
}

TEST_F(LauncherTest, ExtractModeWritesEveryPackageWithoutAskingWindowsInstaller) {
  AddSinglePackageSetup();
  // The product is installed: any detection would find it.
  Host().Installer().AddProduct(
      {L"{11111111-2222-3333-4444-555555555555}", {{L"PackageCode", L"{66666666-7777-8888-9999-000000000000}"}}});
  Host().Files().CreateDirectory(L"C:\\Work");
  CSetupApp& app = Start({L"/u"});
  app.InitInstance();
  EXPECT_EQ(app.Context().result.kind, kResultSuccess);
  EXPECT_EQ(Host().Installer().enumerationsStarted, 0);
  EXPECT_TRUE(Host().Installer().productInfoCalls.empty());
  ASSERT_EQ(app.Context().packages.packages.size(), 1u);
  EXPECT_TRUE(app.Context().packages.packages[0].handle);
  EXPECT_EQ(Host().Files().ReadFile(L"C:\\Work\\quillbook.msi"), QuillbookMsi());
  // Nor does the exit sequence of a successful extraction, which removes no folder.
  EXPECT_EQ(app.ExitInstance(), kResultSuccess);
  EXPECT_EQ(Host().Installer().enumerationsStarted, 0);
}

class ExitSequenceTest : public LauncherTest {
 protected:
  // Two packages whose folders exist below the base folder.
  void AddPackages(bool mainInstalled, bool subInstalled, const wchar_t* mainType = L"msi") {
    auto& files = Host().Files();
    files.CreateDirectory(L"C:\\ProgramData");
    files.CreateDirectory(L"C:\\ProgramData\\Tarquel");
    for (const auto& [folder, installed, type] :
         {std::tuple(kMainFolder, mainInstalled, mainType), std::tuple(kSubFolder, subInstalled, L"msi")}) {
      files.CreateDirectory(folder);
      files.WriteFile(std::wstring(folder) + L"\\package.msi", "msi");
      files.SetReadOnly(std::wstring(folder) + L"\\package.msi", true);
      SetupPackage package;
      package.packageFolder = folder;
      package.productCode = Format(L"{%s-0000-0000-0000-000000000000}", std::wstring(folder).substr(24, 3));
      package.packageCode = L"{PACKAGE}";
      package.installerType = type;
      if (installed) Host().Installer().AddProduct({package.productCode, {{L"PackageCode", L"{PACKAGE}"}}});
      app_->Context().packages.packages.push_back(package);
    }
    app_->Context().packages.packages.front().main = true;
  }
  bool Exists(const wchar_t* folder) { return Host().Files().Attributes(folder).has_value(); }

  static constexpr const wchar_t* kMainFolder = L"C:\\ProgramData\\Tarquel\\{MAIN}";
  static constexpr const wchar_t* kSubFolder = L"C:\\ProgramData\\Tarquel\\{SUB}";
  static constexpr const wchar_t* kCleanupFolder = L"C:\\ProgramData\\Tarquel\\SetupCleanup";
  static constexpr const wchar_t* kBatch = L"C:\\ProgramData\\Tarquel\\SetupCleanup\\SelfDelete.bat";
};

TEST_F(ExitSequenceTest, FailedInstallRemovesFoldersOfPackagesNotInstalled) {
  Start({L"/L", kLogPath});
  AddPackages(false, true);
  app_->Context().result.Record(kResultInstallFailed, 1603, true);
  EXPECT_EQ(app_->ExitInstance(), 2);
  EXPECT_FALSE(Exists(kMainFolder));
  EXPECT_TRUE(Exists(kSubFolder));
  EXPECT_TRUE(LogHas(L"TSL (c): Deleting MSI folder C:\\ProgramData\\Tarquel\\{MAIN}\r\n"
                     L"TSL (c): Deleted MSI folder C:\\ProgramData\\Tarquel\\{MAIN}\r\n"
                     L"=== SetupLauncher stopped: ")) << LogText();
  EXPECT_TRUE(Host().Processes().started.empty());
}

TEST_F(ExitSequenceTest, SuccessfulInstallKeepsEveryFolder) {
  Start({});
  AddPackages(true, false);
  EXPECT_EQ(app_->ExitInstance(), 0);
  EXPECT_TRUE(Exists(kMainFolder));
  EXPECT_TRUE(Exists(kSubFolder));
}

TEST_F(ExitSequenceTest, FastOemRemovesFoldersOfPackagesNotInstalled) {
  Start({L"FASTOEM=1", L"ALLUSERS=1", L"/qn"});
  AddPackages(true, false);
  EXPECT_EQ(app_->ExitInstance(), 0);
  EXPECT_TRUE(Exists(kMainFolder));
  EXPECT_FALSE(Exists(kSubFolder));
}

TEST_F(ExitSequenceTest, RepairFailureKeepsTheFolders) {
  Start({L"/f"});
  AddPackages(false, false);
  app_->Context().result.Record(kResultInstallFailed, 0, true);
  EXPECT_EQ(app_->ExitInstance(), 2);
  EXPECT_TRUE(Exists(kMainFolder));
}

// The batch runs with administrator rights: it and its folder get lists of their own in the
// calls that create them, which let only administrators change them.
TEST_F(ExitSequenceTest, UninstallOfTwoPackagesRemovesTheMainFolderAndStartsTheSelfDeletingBatch) {
  Start({L"/x"});
  AddPackages(false, false);
  EXPECT_EQ(app_->ExitInstance(), 0);
  EXPECT_TRUE(Exists(kSubFolder));  // the non-MSI rule does not apply to an MSI main package
  const auto batch = Host().Files().ReadFile(kBatch);
  ASSERT_TRUE(batch.has_value());
  EXPECT_EQ(*batch, "@ECHO OFF\n rmdir /S /Q \"C:\\ProgramData\\Tarquel\\{MAIN}\"\n DEL \"%~f0\"");
  ASSERT_EQ(Host().Processes().started.size(), 1u);
  EXPECT_EQ(Host().Processes().started[0].start.commandLine, kBatch);
  EXPECT_TRUE(Host().Processes().started[0].start.showWindow);
  EXPECT_FALSE(Exists(kMainFolder));
  for (const wchar_t* path : {kCleanupFolder, kBatch}) {
    SCOPED_TRACE(ToUtf8(path));
    EXPECT_TRUE(Host().Files().IsAccessProtected(path));
    std::vector<std::wstring> accounts;
    const auto entries = Host().Files().ExplicitAccessEntries(path);
    ASSERT_TRUE(entries.has_value());
    for (const auto& entry : *entries) accounts.push_back(entry.sid);
    EXPECT_EQ(accounts, (std::vector<std::wstring>{L"S-1-5-18", L"S-1-5-32-544"}));
  }
}

// A clean-up folder another user made first, or one that is a link, is replaced by one of the
// launcher's own; when that cannot be had, or an earlier batch file cannot be removed, no
// batch file is written or started, and the log says why.
TEST_F(ExitSequenceTest, TheSelfDeletingBatchIsNeverWrittenIntoAFolderOrFileOfSomeoneElse) {
  Start({L"/x", L"/L", kLogPath});
  AddPackages(false, false);
  auto& files = Host().Files();
  ICBSFileUtilities utilities(Host());
  const struct {
    const char* what;
    std::function<void()> arrange;
    const wchar_t* notUsed;  // why the existing folder is not used; null: it is
    const wchar_t* skipped;  // why no batch is started; null: one is
  } cases[] = {
      {"folder of another user with a batch of theirs",
       [&] {
         files.CreateDirectory(kCleanupFolder);
         files.SetOwnerSid(kCleanupFolder, L"S-1-5-21-1-2-3-1001");
         files.WriteFile(kBatch, "planted");
       },
       L"it is a link or not owned by Administrators or SYSTEM", nullptr},
      {"link to another folder",
       [&] {
         utilities.CreateFolderTree(L"C:\\Elsewhere");
         files.WriteFile(L"C:\\Elsewhere\\SelfDelete.bat", "planted");
         std::filesystem::create_directory_symlink(files.HostPath(L"C:\\Elsewhere"), files.HostPath(kCleanupFolder));
       },
       L"it is a link or not owned by Administrators or SYSTEM", nullptr},
      {"folder everyone may change, holding a file in use",
       [&] {
         files.CreateDirectory(kCleanupFolder);
         files.AddAccessEntry(kCleanupFolder, {0x1301FF, true, platform::TrusteeForm::Sid, L"Everyone", L"S-1-1-0"});
         files.WriteFile(kBatch, "planted");
         files.MarkInUse(kBatch);
       },
       L"accounts other than Administrators and SYSTEM may change it", L"its folder cannot be trusted or removed"},
      {"own folder with an earlier batch in use",
       [&] {
         files.CreateProtectedDirectory(kCleanupFolder,
                                        {{platform::WellKnownAccount::Administrators, platform::kGenericAll}});
         files.WriteFile(kBatch, "earlier");
         files.MarkInUse(kBatch);
       },
       nullptr, L"an earlier batch file cannot be removed"},
  };
  PackageCacheRoot cacheRoot(Host());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Host().Processes().started.clear();
    c.arrange();
    const std::size_t before = LogText().size();
    StartSelfDeletingCleanup(app_->Context(), cacheRoot);
    std::wstring expected;
    if (c.notUsed) expected += LogLineText(log_lines::kCleanupFolderNotTrusted, kCleanupFolder, c.notUsed);
    if (c.skipped) expected += LogLineText(log_lines::kSelfDeleteSkipped, kBatch, c.skipped);
    EXPECT_EQ(LogText().substr(before), expected);
    EXPECT_EQ(Host().Processes().started.size(), c.skipped ? 0u : 1u);
    if (!c.skipped) {
      EXPECT_TRUE(files.IsAccessProtected(kCleanupFolder));
      EXPECT_TRUE(files.IsAccessProtected(kBatch));
      EXPECT_TRUE(files.ReadFile(kBatch)->starts_with("@ECHO OFF"));
    }
    std::filesystem::remove_all(files.HostPath(kCleanupFolder));
  }
  EXPECT_EQ(files.ReadFile(L"C:\\Elsewhere\\SelfDelete.bat"), std::optional<std::string>("planted"));
}

TEST_F(ExitSequenceTest, UninstallOfANonMsiMainPackageRemovesEveryFolderNotInstalled) {
  Start({L"/x"});
  AddPackages(false, false, L"taxonomy");
  EXPECT_EQ(app_->ExitInstance(), 0);
  EXPECT_FALSE(Exists(kMainFolder));
  EXPECT_FALSE(Exists(kSubFolder));
}

TEST_F(ExitSequenceTest, UninstallOfOnePackageStartsNoBatch) {
  Start({L"/x"});
  AddPackages(false, false);
  app_->Context().packages.packages.pop_back();
  EXPECT_EQ(app_->ExitInstance(), 0);
  EXPECT_TRUE(Host().Processes().started.empty());
  EXPECT_FALSE(Host().Files().Attributes(kBatch).has_value());
}

TEST_F(ExitSequenceTest, WithoutTheBaseFolderNoBatchIsWrittenToTheRootOfTheDrive) {
  Start({L"/x"});
  AddPackages(false, false);
  Host().Files().knownFolders.erase(platform::KnownFolder::CommonAppData);
  EXPECT_EQ(app_->ExitInstance(), 0);
  EXPECT_TRUE(Host().Processes().started.empty());
  EXPECT_FALSE(Host().Files().Attributes(L"C:\\SetupCleanup\\SelfDelete.bat").has_value());
  EXPECT_FALSE(Host().Files().Attributes(L"\\SetupCleanup\\SelfDelete.bat").has_value());
}

TEST_F(ExitSequenceTest, TheQuitMessageIsPumpedBeforeCleanUp) {
  Start({L"/?", L"/L", kLogPath});
  app_->InitInstance();
  EXPECT_EQ(Host().Ui().postedQuit, 0);
  AddPackages(false, true);
  app_->Context().result.Record(kResultInstallFailed, 0, true);
  bool folderThereWhilePumping = false;
  std::wstring logWhilePumping;
  Host().Ui().whilePumping = [&] {
    folderThereWhilePumping = Exists(kMainFolder);
    logWhilePumping = LogText();
  };
  app_->ExitInstance();
  EXPECT_EQ(Host().Ui().pumpedQuit, 0);
  EXPECT_FALSE(Host().Ui().postedQuit.has_value());
  EXPECT_TRUE(folderThereWhilePumping);
  EXPECT_TRUE(logWhilePumping.ends_with(L"TSL (c): entering ExitInstance \r\n")) << logWhilePumping;
  EXPECT_FALSE(Exists(kMainFolder));  // removed after the pump
}

}  // namespace
}  // namespace setup
