// The Add/Remove Programs entry of the main product in each rewrite mode, in the registry view
// of the package's bitness.
#include "install/uninstall_entry_rewrite.h"

#include <gtest/gtest.h>

#include "foundation/file_utilities.h"
#include "foundation/registry_key.h"
#include "install/install_fixture.h"

namespace setup {
namespace {

using platform::RegistryRoot;

struct Entry {
  std::uint32_t windowsInstaller;
  std::wstring modifyPath;
  std::wstring uninstallString;
  std::wstring displayIcon;
  bool operator==(const Entry&) const = default;
};

class UninstallEntryRewriteTest : public testing::InstallTest, public ::testing::WithParamInterface<bool> {
 protected:
  UninstallEntryRewriteTest() {
    AddPackages(2, GetParam());
    Host().Registry().SetDword(RegistryRoot::LocalMachine, UninstallKey(), L"WindowsInstaller", 1, View());
    Host().Registry().SetString(RegistryRoot::LocalMachine, UninstallKey(), L"ModifyPath", L"MsiExec.exe /I", View());
    Host().Registry().SetString(RegistryRoot::LocalMachine, UninstallKey(), L"UninstallString", L"MsiExec.exe /X", View());
    Host().Installer().AddProduct({ProductCode(0), {{L"ProductIcon", L"C:\\Windows\\Installer\\product.ico"}}});
    Host().System().modulePath = L"C:\\Downloads\\Setup.exe";
    std::filesystem::create_directories(Host().Files().HostPath(L"C:\\Downloads"));
    std::filesystem::create_directories(Host().Files().HostPath(Main().packageFolder));
    Host().Files().WriteFile(L"C:\\Downloads\\Setup.exe", "launcher");
  }
  std::uint32_t View() const { return GetParam() ? platform::kRegistryView64 : 0; }
  std::wstring UninstallKey() const {
    return L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + ProductCode(0);
  }
  SetupPackage& Main() { return Run().packages.packages[0]; }
  std::wstring Copy() { return Main().packageFolder + L"\\Setup.exe"; }

  void Rewrite(UninstallEntryRewrite mode) { RewriteUninstallEntries(Run(), mode, Main()); }
  Entry Read(std::uint32_t view) {
    ICBSRegistryKey key(Host().Registry());
    if (!key.Open(RegistryRoot::LocalMachine, UninstallKey(), true, false, view)) return {};
    return {key.ReadDword(L"WindowsInstaller"), key.ReadString(L"ModifyPath"), key.ReadString(L"UninstallString"),
            key.ReadString(L"DisplayIcon")};
  }
};

TEST_P(UninstallEntryRewriteTest, EveryModeLeavesItsValuesInThePackagesView) {
  const std::wstring icon = L"C:\\Windows\\Installer\\product.ico";
  Rewrite(UninstallEntryRewrite::Perform);
  const Entry launcherEntry{0, Copy(), Copy() + L" /x", icon};
  EXPECT_EQ(Read(View()), launcherEntry);
  EXPECT_EQ(Host().Files().ReadFile(Copy()), std::optional<std::string>("launcher"));
  EXPECT_EQ(Read(View() ^ platform::kRegistryView64), Entry{}) << "the other view is not touched";

  Rewrite(UninstallEntryRewrite::PrepareRemove);
  EXPECT_EQ(Read(View()), (Entry{1, Copy(), Copy() + L" /x", L""}));
  Rewrite(UninstallEntryRewrite::RollBackPrepareRemove);
  EXPECT_EQ(Read(View()), launcherEntry);

  // Redoing after a change copies the launcher only when the copy is gone.
  Host().Files().WriteFile(Copy(), "kept");
  Host().Files().WriteFile(L"C:\\Downloads\\Setup.exe", "newer");
  Rewrite(UninstallEntryRewrite::RedoAfterModify);
  EXPECT_EQ(Host().Files().ReadFile(Copy()), std::optional<std::string>("kept"));
  Host().Files().DeleteFile(Copy());
  Rewrite(UninstallEntryRewrite::RedoAfterModify);
  EXPECT_EQ(Host().Files().ReadFile(Copy()), std::optional<std::string>("newer"));
  EXPECT_EQ(Read(View()), launcherEntry);
}

TEST_P(UninstallEntryRewriteTest, TheLanguageArgumentFollowsBothCommandsOfAMultiLanguageSetup) {
  Run().languages.Entries()[0].available = true;
  Run().languages.Entries()[1].available = true;
  Run().languages.SelectByName(L"German");
  Host().Installer().AddProduct({ProductCode(0), {}});  // no icon of its own
  Rewrite(UninstallEntryRewrite::RedoAfterModify);
  EXPECT_EQ(Read(View()), (Entry{0, Copy() + L" lang=German", Copy() + L" /x lang=German", Copy()}));
}

TEST_P(UninstallEntryRewriteTest, OnlyWindowsBeforeSevenHasItsProductNameHiddenAndShownAgain) {
  const std::wstring products = L"Software\\Classes\\Installer\\Products\\0AAAAAAA000000000000000000000010";
  Host().Registry().SetString(RegistryRoot::LocalMachine, products, L"ProductName", L"Product 0", platform::kRegistryView64);
  const auto productName = [&] {
    ICBSRegistryKey key(Host().Registry());
    key.Open(RegistryRoot::LocalMachine, products, true, false, platform::kRegistryView64);
    return key.ReadString(L"ProductName");
  };
  Rewrite(UninstallEntryRewrite::Perform);
  EXPECT_EQ(productName(), L"Product 0") << "Windows 10 keeps the name";
  Host().System().osVersion = platform::OsVersion{6, 0};
  Rewrite(UninstallEntryRewrite::Perform);
  EXPECT_EQ(productName(), L"");
  Rewrite(UninstallEntryRewrite::PrepareRemove);
  EXPECT_EQ(productName(), L"Product 0");
  Rewrite(UninstallEntryRewrite::RollBackPrepareRemove);
  EXPECT_EQ(productName(), L"");
}

TEST_P(UninstallEntryRewriteTest, NoEntryPointsAtACopyOthersMayChangeOrAtAKeyNoProductCodeNames) {
  // Add/Remove Programs would start the copy with administrator rights.
  Host().Files().AddAccessEntry(Main().packageFolder, {0x1301FF, true, platform::TrusteeForm::Sid, L"Everyone", L"S-1-1-0"});
  Rewrite(UninstallEntryRewrite::Perform);
  Rewrite(UninstallEntryRewrite::RedoAfterModify);
  EXPECT_EQ(Read(View()).modifyPath, L"MsiExec.exe /I");
  EXPECT_FALSE(Host().Files().Attributes(Copy()));
  // An empty product code would name the Uninstall key itself.
  ASSERT_TRUE(ICBSFileUtilities(Host()).DeleteFolderTree(Main().packageFolder));
  Host().Files().CreateDirectory(Main().packageFolder);
  Main().productCode.clear();
  Rewrite(UninstallEntryRewrite::Perform);
  EXPECT_FALSE(Host().Files().Attributes(Copy()));
  ICBSRegistryKey uninstall(Host().Registry());
  ASSERT_TRUE(uninstall.Open(RegistryRoot::LocalMachine, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                             true, true, View()));
  EXPECT_EQ(uninstall.ReadString(L"ModifyPath"), L"");
}

INSTANTIATE_TEST_SUITE_P(BothViews, UninstallEntryRewriteTest, ::testing::Bool());

// The sequence rewrites the main entry after an installation, makes it the installer's own
// before a removal, and makes it the launcher's again when the removal fails.
using UninstallEntrySequenceTest = testing::InstallTest;

TEST_F(UninstallEntrySequenceTest, TheMainEntryFollowsInstallationAndFailedRemoval) {
  AddPackages(2);
  // What the unpacking leaves: the main package's folder, where the launcher copy goes.
  std::filesystem::create_directories(Host().Files().HostPath(L"C:\\ProgramData\\Tarquel\\" + PackageCode(0)));
  const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + ProductCode(0);
  Host().Installer().onInstalled = [&](const platform::host::InstallProductCall&) {
    Host().Registry().SetDword(RegistryRoot::LocalMachine, key, L"WindowsInstaller", 1, platform::kRegistryView64);
  };
  const auto windowsInstaller = [&] {
    ICBSRegistryKey entry(Host().Registry());
    entry.Open(RegistryRoot::LocalMachine, key, true, false, platform::kRegistryView64);
    return entry.ReadDword(L"WindowsInstaller");
  };
  RunSequence();
  EXPECT_EQ(windowsInstaller(), 0u);
  EXPECT_NE(LogText().find(L"TSL (c): perform custom installer registry\r\n"), std::wstring::npos);

  Start({L"/L*v", testing::kLogPath, L"/x"});
  Host().Installer().onInstalled = nullptr;
  Host().Installer().SetResult(PackageFile(0), 1603);
  RunSequence();
  EXPECT_EQ(windowsInstaller(), 0u) << "restored after the failed removal";
  EXPECT_NE(LogText().find(L"TSL (c): prepare-remove custom installer registry\r\n"), std::wstring::npos);
  EXPECT_NE(LogText().find(L"TSL (c): roll-back prepare-remove custom installer registry\r\n"), std::wstring::npos);
}

}  // namespace
}  // namespace setup
