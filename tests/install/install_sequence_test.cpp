// The install sequence over the host installer: property strings byte for byte, the order of
// rollbacks and reinstalls, and the result each installer outcome leaves.
#include "install/install_sequence.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "install/current_installation_type.h"
#include "install/install_fixture.h"
#include "packages/package_product_records.h"
#include "packages/product_key_paths.h"
#include "platform/host/host_database_files.h"
#include "support/test_cabinets.h"

namespace setup {
namespace {

using Strings = std::vector<std::wstring>;
using platform::RegistryRoot;

class InstallSequenceTest : public testing::InstallTest {};

TEST_F(InstallSequenceTest, OnePackageGetsNoSubPackagePropertiesAndItsCommandLineProperties) {
  Start({L"/L*v", testing::kLogPath, L"/qn", L"SAMPLE=1", L"DIR=C:\\a b"});
  AddPackages(1);
  const std::size_t before = LogSize();
  RunSequence();
  EXPECT_EQ(Calls(), Strings{L"0: INSTALLEDFROMLAUNCHER=Yes SAMPLE=1 DIR=\"C:\\a b\" "});
  EXPECT_EQ(LogSince(before),
            L"TSL (c): determine installer platform\r\nTSL (c): dedected 64-bit platform\r\n"
            L"TSL (c): rest custom installer registry\r\nTSL (c): Starting the real work\r\n"
            L"TSL (c): Determine install sequence\r\nTSL (c): Installing product Product 0\r\n\r\n");
  EXPECT_EQ(Run().result.kind, kResultSuccess);
  EXPECT_EQ(Host().Installer().internalUiCalls, std::vector<std::int32_t>{platform::kInstallUiLevelNone});
  EXPECT_EQ(Host().Installer().callOrder,
            (std::vector<std::string>{"SetInternalUi", "EnableLog", "SetExternalUi", "InstallProduct", "SetExternalUi"}));
  EXPECT_EQ(Host().Installer().externalUiCalls[0].filter, platform::kInstallMessageFilterLauncher);
  EXPECT_EQ(Host().Installer().externalUiCalls[1].handler, nullptr);
}

// Command-line values reach the installer as given, except that a value with a blank is
// quoted (a quotation mark inside it doubled, so it cannot end the value early and add a
// property of its own) and an empty value becomes "".
TEST_F(InstallSequenceTest, CommandLineValuesWithABlankOrEmptyAreQuotedForTheInstaller) {
  Start({L"/L*v", testing::kLogPath, L"INSTALLDIR=C:\\Program Files\\X", L"NAME=", L" FOO = bar ",
         L"Q=\"already quoted\"", L"NOTE=say \"hi\" X=1", L"TAB=\tvalue\t"});
  AddPackages(1);
  RunSequence();
  EXPECT_EQ(Calls(), Strings{L"0: INSTALLEDFROMLAUNCHER=Yes INSTALLDIR=\"C:\\Program Files\\X\" NAME=\"\" FOO=bar "
                             L"Q=\"already quoted\" NOTE=\"say \"\"hi\"\" X=1\" TAB=value "});
}

// Names the installer cannot take and values over several lines stay behind: the installer
// writes properties into the shared log as they are, so they could forge lines there. So does
// a service password that no service page took and encrypted (a run without the page, or a
// prefix no component has), in any spelling: the installer would log it in plain text.
TEST_F(InstallSequenceTest, PropertiesWithOddNamesOrLineBreaksAreNotPassedOn) {
  Start({L"/L*v", testing::kLogPath, L"GOOD=1", L"x\r\n=== SetupLauncher stopped", L"9LIVES=1", L"BAD=a\r\nTSL (c): forged",
         L"A.B_2=ok", L"SP ACE=1", L"BR_Service_Password=secret", L"br_service_password=secret", L"XX_SERVICE_PASSWORD=secret"});
  AddPackages(1);
  RunSequence();
  EXPECT_EQ(Calls(), Strings{L"0: INSTALLEDFROMLAUNCHER=Yes GOOD=1 A.B_2=ok "});
}

TEST_F(InstallSequenceTest, SubPackagesHideTheirDialogsAndShowCustomizationAfterACustomMainInstallation) {
  AddPackages(3);
  // The main package reports a custom installation; the launcher reads it afresh per sub-package.
  Host().Installer().onInstalled = [this](const platform::host::InstallProductCall& call) {
    if (call.packagePath == PackageFile(0)) {
      Host().Registry().SetString(RegistryRoot::LocalMachine, L"Software\\Tarquel", L"CurrentInstallationType", L"Custom", 0);
    } else {
      DeleteCurrentInstallationType(Host().Registry());
    }
  };
  Host().Registry().SetString(RegistryRoot::LocalMachine, L"Software\\Tarquel", L"CurrentInstallationType", L"Custom", 0);
  request_.serviceProperties = L"SERVICE_PORT=\"8080\" ";
  request_.clusterProperties = L"CLUSTER=\"1\" ";
  RunSequence();
  const std::wstring common = L"INSTALLEDFROMLAUNCHER=Yes HAS_SUB_PACKAGES=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ";
  const std::wstring servers = L"SERVICE_PORT=\"8080\"  CLUSTER=\"1\"  ";
  EXPECT_EQ(Calls(), (Strings{L"0: " + common + servers,
                              L"1: " + common + L"UI_HIDE_ALL_BUT_CUSTOMIZE_AND_PROGRESS=\"Yes\" " + servers,
                              L"2: " + common + L"UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" " + servers}));
  EXPECT_FALSE(IsCustomInstallation(Host().Registry()));
}

TEST_F(InstallSequenceTest, LanguagesTransformsResourcePropertiesAndSwitchesInTheirOrder) {
  Start({L"/L*v", testing::kLogPath, L"/m", L"status.mif", L"NAME=value"});
  Run().languages.Entries()[1].available = true;  // German beside English
  Run().languages.Entries()[0].available = true;
  Run().languages.SelectByName(L"German");
  Host().Resources().AddPackageText(L"PROPERTIES", L"FROM_RESOURCE=1");
  AddPackages(1);
  Run().packages.packages[0].transformFile = L"quibrix_\"de\".mst";
  request_.backupProperties = L"BACKUP=\"Yes\" ";
  RunSequence();
  EXPECT_EQ(Calls(), Strings{L"0: /m status.mif INSTALLEDFROMLAUNCHER=Yes FROM_RESOURCE=1 NAME=value "
                             L"INSTALLER_LANGUAGE=\"de\" BACKUP=\"Yes\"  TRANSFORMS=\"quibrix_\"\"de\"\".mst\" "});

  // English never passes a transform.
  Host().Installer().installCalls.clear();
  Host().Installer().RemoveProduct(ProductCode(0));
  Run().languages.SelectByName(L"English");
  RunSequence();
  EXPECT_EQ(Host().Installer().installCalls.at(0).properties,
            L"/m status.mif INSTALLEDFROMLAUNCHER=Yes FROM_RESOURCE=1 NAME=value INSTALLER_LANGUAGE=\"en\" BACKUP=\"Yes\"  ");
}

TEST_F(InstallSequenceTest, CommandLineTransformsAreMergedIntoEachPackageBeforeTheInstallerOpensIt) {
  using platform::host::HostDatabaseFile;
  Start({L"/L*v", testing::kLogPath, L"TRANSFORMS=admin.mst;"});
  AddPackages(2);
  // The transform lies in the current folder.
  ASSERT_TRUE(Host().Files().WriteFile(L"C:\\Work\\admin.mst",
                                       platform::host::HostTransformFile()
                                           .Insert(L"Property", {std::wstring(L"ADMIN_NOTE"), std::wstring(L"merged")})
                                           .Serialize()));
  // What each package's database holds when the installer is called with it.
  Strings seen;
  Host().Installer().onInstalled = [&](const platform::host::InstallProductCall& call) {
    const auto database = HostDatabaseFile::Parse(Host().Files().ReadFile(call.packagePath).value_or(""));
    const auto* properties = database ? database->Table(L"Property") : nullptr;
    const auto* note = properties ? properties->FindRow(std::wstring(L"ADMIN_NOTE")) : nullptr;
    seen.push_back(note ? platform::host::FieldText((*note)[1]) : L"<none>");
  };
  const std::size_t before = LogSize();
  RunSequence();
  EXPECT_EQ(seen, (Strings{L"merged", L"merged"}));
  const std::wstring merged = L"TSL (c): Applying transformations: admin.mst;\r\n"
                              L"TSL (c): Transformations successfully applied\r\n\r\n";
  const std::wstring log = LogSince(before);
  EXPECT_NE(log.find(L"TSL (c): Installing product Product 0\r\n" + merged), std::wstring::npos) << log;
  EXPECT_NE(log.find(L"TSL (c): Installing product Product 1\r\n" + merged), std::wstring::npos) << log;
  EXPECT_EQ(Calls()[0], L"0: INSTALLEDFROMLAUNCHER=Yes HAS_SUB_PACKAGES=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ")
      << "the transforms are merged, not passed on";
}

TEST_F(InstallSequenceTest, AdministrativeInstallAndRemovalWithAProperty) {
  Start({L"/L*v", testing::kLogPath, L"/a"});
  AddPackages(1);
  RunSequence();
  EXPECT_EQ(Calls(), Strings{L"0: ACTION=ADMIN INSTALLEDFROMLAUNCHER=Yes "});

  Start({L"/L*v", testing::kLogPath, L"/x", L"KEEP=1"});
  Host().Installer().installCalls.clear();
  RunSequence();
  EXPECT_EQ(Calls(), Strings{L"0: REMOVE=ALL INSTALLEDFROMLAUNCHER=Yes KEEP=1 "});
  EXPECT_FALSE(Host().Installer().FindProduct(ProductCode(0)));
}

TEST_F(InstallSequenceTest, AFailingThirdPackageRemovesTheSecondAndThenTheFirst) {
  AddPackages(3);
  Host().Installer().SetResult(PackageFile(2), 1603);
  RunSequence();
  const std::wstring rollback = L"REMOVE=ALL INSTALLEDFROMLAUNCHER=Yes UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ";
  const Strings calls = Calls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[3], L"1: " + rollback);
  EXPECT_EQ(calls[4], L"0: " + rollback);
  EXPECT_FALSE(Host().Installer().EnumProducts(0));
  EXPECT_FALSE(Run().commandLine.IsUninstall());
  EXPECT_EQ(Run().result.kind, kResultInstallFailed);
  EXPECT_EQ(Run().result.installerCode, 1603u);
  EXPECT_TRUE(Run().result.reported);
  EXPECT_NE(LogText().find(L"TSL (c): Failure: return code = 1603\r\n"), std::wstring::npos);
}

TEST_F(InstallSequenceTest, AFailedRemovalUnpacksAndReinstallsThePackagesRemovedBeforeItInOrder) {
  Start({L"/L*v", testing::kLogPath, L"/x", L"/qn"});
  AddPackages(3);
  for (int i = 0; i < 3; ++i) {
    MarkInstalled(i);
    // The removal takes the unpacked files away; the packages' cabinets are in the resources.
    SetupPackage& package = Run().packages.packages[i];
    package.dataName = L"PACKAGE_" + std::to_wstring(i);
    const std::string name = "package" + std::to_string(i) + ".msi";
    const std::string cabinet = testing::PackedCabinet(
        temp_.Path() / name, {{name, platform::host::HostPlatform::PackageFileBytes(PackageCode(i))}});
    Host().Resources().AddPackageResource(package.dataName, 1033,
                                          testing::PackageResource(cabinet, static_cast<std::uint32_t>(cabinet.size())));
  }
  Host().Installer().SetResult(PackageFile(0), 1603);
  const std::size_t before = LogSize();
  RunSequence();
  const std::wstring removal =
      L"REMOVE=ALL INSTALLEDFROMLAUNCHER=Yes HAS_SUB_PACKAGES=\"Yes\" UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ";
  const std::wstring reinstall = L"INSTALLEDFROMLAUNCHER=Yes UI_HIDE_ALL_BUT_PROGRESS=\"Yes\" UI_HIDE_FINISH_DLG=\"Yes\" ";
  EXPECT_EQ(Calls(), (Strings{L"2: " + removal, L"1: " + removal, L"0: " + removal, L"1: " + reinstall,
                              L"2: " + reinstall}));
  const std::wstring log = LogSince(before);
  const std::size_t second = log.find(L"TSL (c): Extracting resource: PACKAGE_1\r\n");
  EXPECT_NE(second, std::wstring::npos) << log;
  EXPECT_NE(log.find(L"TSL (c): Extracting resource: PACKAGE_2\r\n", second), std::wstring::npos) << log;
  EXPECT_EQ(log.find(L"PACKAGE_0"), std::wstring::npos) << "the package whose removal failed stays as it is";
  EXPECT_EQ(Host().Files().ReadFile(PackageFile(2)), platform::host::HostPlatform::PackageFileBytes(PackageCode(2)));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Host().Installer().FindProduct(ProductCode(i))) << i;
  EXPECT_TRUE(Run().commandLine.IsUninstall());
  EXPECT_EQ(Run().result.kind, kResultInstallFailed);
}

TEST_F(InstallSequenceTest, ModifyShowsTheAgreementWhenASubPackageIsAddedAndStopsWhenTheUserCancels) {
  AddPackages(3);
  MarkInstalled(0);
  MarkInstalled(1);
  RunSequence();
  const std::wstring prefix = L"INSTALLEDFROMLAUNCHER=Yes HAS_SUB_PACKAGES=\"Yes\" ";
  const std::wstring agreement = L"UI_SHOW_LICENSE_AGREEMENT_DLG=\"Yes\" ";
  EXPECT_EQ(Calls(), (Strings{L"0: " + prefix + L"UI_HIDE_FINISH_DLG=\"Yes\" " + agreement,
                              L"1: " + prefix + L"UI_HIDE_ALL_BUT_CUSTOMIZE_AND_PROGRESS=\"Yes\" " + agreement,
                              L"2: " + prefix + L"UI_HIDE_ALL_BUT_CUSTOMIZE_AND_PROGRESS=\"Yes\" " + agreement}));

  Host().Installer().installCalls.clear();
  Host().Installer().SetResult(PackageFile(0), 1625);
  Host().Installer().SetResult(PackageFile(1), 1602);
  RunSequence();
  EXPECT_EQ(Host().Installer().installCalls.size(), 2u) << "a cancel ends the changes";
  EXPECT_EQ(Run().result.kind, kResultUserCancelled);
  EXPECT_EQ(Run().result.installerCode, 1602u);
}

TEST_F(InstallSequenceTest, RepairReinstallsEveryPackageAndGoesOnAfterAFailure) {
  Start({L"/L*v", testing::kLogPath, L"/f"});
  AddPackages(2);
  Run().packages.packages[0].productCode.clear();
  MarkInstalled(1);
  const std::size_t before = LogSize();
  RunSequence();
  ASSERT_EQ(Host().Installer().reinstallCalls.size(), 1u);
  EXPECT_EQ(Host().Installer().reinstallCalls[0].productCode, ProductCode(1));
  EXPECT_EQ(Host().Installer().reinstallCalls[0].reinstallMode, Run().commandLine.ReinstallMode());
  EXPECT_NE(LogSince(before).find(L"TSL (c): Reinstalling product Product 1\r\n"), std::wstring::npos);
  EXPECT_EQ(Run().result.installerCode, 1603u) << "a package without product code fails";
}

TEST_F(InstallSequenceTest, EachInstallerResultLeavesItsKind) {
  struct Case {
    std::uint32_t code;
    std::int32_t kind;
    bool reported;
  };
  for (const Case& c : {Case{1602, kResultUserCancelled, true}, Case{1603, kResultInstallFailed, true},
                        Case{1604, kResultInstallFailed, true}, Case{1620, kResultCorrupted, false},
                        Case{1633, kResult64BitOn32Bit, false}, Case{1638, kResultOtherVersionInstalled, false},
                        Case{1625, kResultInstallFailed, false}}) {
    Start({L"/L*v", testing::kLogPath, L"/qn"});
    Run().result = SetupResult();
    Run().packages.packages.clear();
    AddPackages(1);
    Host().Installer().SetResult(PackageFile(0), c.code);
    RunSequence();
    EXPECT_EQ(Run().result.kind, c.kind) << c.code;
    EXPECT_EQ(Run().result.installerCode, c.code) << c.code;
    EXPECT_EQ(Run().result.reported, c.reported) << c.code;
  }
  Host().Installer().SetResult(PackageFile(0), 3010);
  Run().result = SetupResult();
  const std::size_t before = LogSize();
  RunSequence();
  EXPECT_EQ(Run().result.kind, kResultSuccess);
  EXPECT_NE(LogSince(before).find(L"TSL (c): Remark: ignoring specific success code = 3010\r\n"), std::wstring::npos);
}

// The package folders lie below a folder every user may write to: from the check of its
// package code until the installer returns, nobody may change or replace the package.
TEST_F(InstallSequenceTest, EachPackageIsHeldFromItsCheckUntilTheInstallerReturnsAndAnotherIsRefused) {
  Start({L"/L*v", testing::kLogPath, L"/qn"});
  AddPackages(2);
  std::vector<std::pair<platform::DeleteResult, bool>> tampering;
  Host().Installer().onInstalled = [&](const platform::host::InstallProductCall& call) {
    if (!tampering.empty()) return;
    tampering.emplace_back(Host().Files().DeleteFile(call.packagePath), Host().Files().WriteFile(call.packagePath, "x"));
  };
  // The second package was swapped for another package before its turn.
  ASSERT_TRUE(Host().Files().WriteFile(PackageFile(1), platform::host::HostPlatform::PackageFileBytes(PackageCode(7))));
  const std::size_t before = LogSize();
  RunSequence();
  EXPECT_EQ(tampering, (std::vector<std::pair<platform::DeleteResult, bool>>{{platform::DeleteResult::InUse, false}}));
  ASSERT_EQ(Calls().size(), 2u);
  EXPECT_TRUE(Calls()[1].starts_with(L"0: REMOVE=ALL ")) << "the foreign package is never installed";
  EXPECT_EQ(Run().result.installerCode, 1620u);
  EXPECT_NE(LogSince(before).find(L"TSL (c): Package " + PackageFile(1) + L" not installed: it is not this setup's package.\r\n"),
            std::wstring::npos)
      << LogSince(before);
  EXPECT_EQ(Host().Files().DeleteFile(PackageFile(0)), platform::DeleteResult::Deleted) << "released after the call";
}

TEST_F(InstallSequenceTest, ASixtyFourBitMainPackageOnAThirtyTwoBitSystemInstallsNothing) {
  Start();
  run_.emplace(RunContext{host_, log_, result_, languages_, commandLine_, packages_, packageResources_, caption_, false});
  AddPackages(2);
  RunSequence();
  EXPECT_TRUE(Host().Installer().installCalls.empty());
  EXPECT_EQ(Run().result.kind, kResult64BitOn32Bit);
  EXPECT_EQ(Run().result.installerCode, 1633u);
}

TEST_F(InstallSequenceTest, UserMessagesBecomeMessageBoxesUnlessTheRunIsQuiet) {
  AddPackages(1);
  Host().Installer().AddPackageMessage(PackageFile(0), {0x03000024, L"Go on?"});
  Host().Installer().AddPackageMessage(PackageFile(0), {0x01000000, L"An error"});
  Host().Ui().answer = 6;  // Yes
  RunSequence();
  ASSERT_EQ(Host().Ui().askedBoxes.size(), 1u);
  EXPECT_EQ(Host().Ui().askedBoxes[0].text, L"Go on?");
  EXPECT_EQ(Host().Ui().askedBoxes[0].style, 0x24u);
  EXPECT_EQ(Host().Installer().answeredMessages[0].answer, 6);
  EXPECT_EQ(Host().Installer().answeredMessages[1].answer, 0);

  Start({L"/L*v", testing::kLogPath, L"/qb"});
  Host().Installer().RemoveProduct(ProductCode(0));
  RunSequence();
  EXPECT_EQ(Host().Ui().askedBoxes.size(), 1u);
  EXPECT_EQ(Host().Installer().answeredMessages[2].answer, 0);
}

TEST_F(InstallSequenceTest, AWendrakPackageFromAnotherBuildStopsWhenTheInstallationInItsWayCannotBeRemoved) {
  AddPackages(1);
  SetupPackage& wendrak = Run().packages.packages[0];
  wendrak.productName = L"Tarquel Wendrak 7.2 (x64)";
  wendrak.productId = L"WK::N";
  wendrak.products = BuildPackageProductRecords(L"WK::N", L"7.2.1.4", true).records;
  wendrak.installedFromOtherInstaller = true;
  // An older Wendrak whose installer no longer knows it: nothing to remove it with.
  const ProductRecord older(L"WK::N", L"7.1.0.0", true, L"", false);
  Host().Registry().SetString(RegistryRoot::LocalMachine, ProductSetupKeyPath(older), L"Version", L"7.1.0.0",
                              platform::kRegistryView64);
  Host().Registry().SetString(RegistryRoot::LocalMachine, ProductSetupKeyPath(older), L"ProductId", L"WK::N",
                              platform::kRegistryView64);
  const std::size_t before = LogSize();
  RunSequence();
  EXPECT_TRUE(Host().Installer().installCalls.empty());
  const std::wstring log = LogSince(before);
  EXPECT_NE(log.find(L"SIC - Automatic uninstallation of product "), std::wstring::npos) << log;
  EXPECT_NE(log.find(L"SIC - Uninstall failed - (9) Could not find MSI-file\r\n"), std::wstring::npos) << log;
  // The removal's own result stands: it is not turned into a failed installation with code 9.
  EXPECT_EQ(Run().result.kind, kResultNoMsiForUninstall);
  EXPECT_EQ(Run().result.installerCode, 0u);
  EXPECT_EQ(Host().Ui().messageBoxes.size(), 1u);
}

TEST_F(InstallSequenceTest, ExtractCopiesEveryHandledPackageIntoTheCurrentFolder) {
  Start({L"/L*v", testing::kLogPath, L"/u"});
  AddPackages(2);
  Run().packages.packages[1].handle = false;
  std::filesystem::create_directories(Host().Files().HostPath(Run().packages.packages[0].packageFolder));
  Host().Files().WriteFile(PackageFile(0), "msi");
  RunSequence();
  EXPECT_EQ(Host().Files().ReadFile(L"package0.msi"), std::optional<std::string>("msi"));
  EXPECT_FALSE(Host().Files().Attributes(L"package1.msi"));
  EXPECT_TRUE(Host().Installer().installCalls.empty());
  EXPECT_NE(LogText().find(L"TSL (c): Extracting product Product 0\r\n"), std::wstring::npos);
  EXPECT_EQ(Run().result.kind, kResultSuccess);
}

}  // namespace
}  // namespace setup
