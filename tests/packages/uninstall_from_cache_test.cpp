#include "packages/uninstall_from_cache.h"

#include <gtest/gtest.h>

#include "analysis_fixture.h"

namespace setup {
namespace {

using platform::RegistryRoot;
using testing::AnalysisTest;

constexpr wchar_t kProductCode[] = L"{C0DE0000-1111-2222-3333-444444444444}";
constexpr wchar_t kSource[] = L"C:\\ProgramData\\Tarquel\\{9ACC0000-1111-2222-3333-444444444444}\\";
constexpr wchar_t kMsiFile[] = L"C:\\ProgramData\\Tarquel\\{9ACC0000-1111-2222-3333-444444444444}\\quibrix.msi";
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{C0DE0000-1111-2222-3333-444444444444}";

class UninstallFromCacheTest : public AnalysisTest {
 protected:
  // A 64-bit "QB::P" 2024 installed from the launcher's package folder, whose Add/Remove
  // Programs entry the launcher has rewritten.
  void ArrangeInstalledProduct() {
    App();
    platform::host::HostInstalledProduct product{kProductCode,
                                                 {{L"ProductID", L"QB::P"},
                                                  {L"VersionString", L"2024.00.00"},
                                                  {L"ProductName", L"Tarquel Quibrix 2024 (x64)"},
                                                  {L"InstallSource", kSource}}};
    Host().Installer().AddProduct(product);
    Host().Installer().AddPackageFile(kMsiFile, product);
    CreateFile(kMsiFile);
    Host().Registry().SetDword(RegistryRoot::LocalMachine, kUninstallKey, L"WindowsInstaller", 0,
                               platform::kRegistryView64);
    Host().Registry().SetString(RegistryRoot::LocalMachine, kUninstallKey, L"DisplayIcon", L"C:\\Setup.exe,0",
                                platform::kRegistryView64);
  }

  ProductRecord installed_{L"QB::P", L"2024.00.00", true, L"", false};
};

TEST_F(UninstallFromCacheTest, RemovesTheProductWithItsCachedMsiFile) {
  ArrangeInstalledProduct();
  const SetupResult result = UninstallFromCache(App().Platform(), App().Log(), installed_, 3);
  EXPECT_EQ(result.kind, 0);
  EXPECT_EQ(result.installerCode, 0u);
  EXPECT_TRUE(result.reported);

  auto& installer = Host().Installer();
  ASSERT_EQ(installer.installCalls.size(), 1u);
  EXPECT_EQ(installer.installCalls[0].packagePath, kMsiFile);
  EXPECT_EQ(installer.installCalls[0].properties, L"REMOVE=ALL ");
  EXPECT_EQ(installer.installCalls[0].uiLevel, 3);
  EXPECT_EQ(installer.FindProduct(kProductCode), nullptr);
  // The log was handed to the installer for the call.
  ASSERT_EQ(installer.enableLogCalls.size(), 1u);
  EXPECT_EQ(installer.enableLogCalls[0].path, testing::kLogPath);

  // The Add/Remove Programs entry is Windows Installer's own again.
  const auto key = Host().Registry().Open(RegistryRoot::LocalMachine, kUninstallKey, platform::RegistryAccess::Read,
                                          false, platform::kRegistryView64);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->QueryValue(L"WindowsInstaller")->data, std::string("\1\0\0\0", 4));
  EXPECT_FALSE(key->QueryValue(L"DisplayIcon"));
}

TEST_F(UninstallFromCacheTest, MissingOrAmbiguousMsiFileGivesKindNine) {
  ArrangeInstalledProduct();
  CreateFile(L"C:\\ProgramData\\Tarquel\\{9ACC0000-1111-2222-3333-444444444444}\\other.msi");
  SetupResult result = UninstallFromCache(App().Platform(), App().Log(), installed_, 2);
  EXPECT_EQ(result.kind, kResultNoMsiForUninstall);
  EXPECT_EQ(result.installerCode, 0u);
  EXPECT_FALSE(result.reported);
  EXPECT_TRUE(Host().Installer().installCalls.empty());

  ProductRecord unknown(L"QB::P", L"2022.00.00", true, L"", false);  // no installed product matches
  result = UninstallFromCache(App().Platform(), App().Log(), unknown, 2);
  EXPECT_EQ(result.kind, kResultNoMsiForUninstall);
}

TEST_F(UninstallFromCacheTest, InstallerFailureGivesKindTwoAndRestartCodesCountAsSuccess) {
  ArrangeInstalledProduct();
  Host().Installer().SetResult(kMsiFile, 1603);
  SetupResult result = UninstallFromCache(App().Platform(), App().Log(), installed_, 2);
  EXPECT_EQ(result.kind, kResultInstallFailed);
  EXPECT_EQ(result.installerCode, 1603u);
  EXPECT_FALSE(result.reported);

  Host().Installer().SetResult(kMsiFile, 3010);
  result = UninstallFromCache(App().Platform(), App().Log(), installed_, 2);
  EXPECT_EQ(result.kind, 0);
}

TEST_F(UninstallFromCacheTest, RemovingAConflictLogsItAndTellsOfAMissingMsiFile) {
  ArrangeInstalledProduct();
  CreateFile(L"C:\\ProgramData\\Tarquel\\{9ACC0000-1111-2222-3333-444444444444}\\other.msi");
  const std::size_t before = LogSize();
  EXPECT_FALSE(RemoveConflictingInstallation(App(), installed_));
  EXPECT_EQ(LogSince(before),
            L"SIC - Automatic uninstallation of product Tarquel Quibrix 2024 Professional Edition (x64).\r\n"
            L"SIC - Uninstall failed - (9) Could not find MSI-file\r\n");
  ASSERT_EQ(Host().Ui().messageBoxes.size(), 1u);
  EXPECT_EQ(Host().Ui().messageBoxes[0].text,
            L"The wizard failed to locate the necessary resources to remove Tarquel Quibrix 2024 Professional Edition "
            L"(x64). Please remove the product manually.");
  EXPECT_EQ(Host().Ui().messageBoxes[0].icon, platform::MessageBoxIcon::None);
  EXPECT_EQ(App().Result().kind, kResultNoMsiForUninstall);
  EXPECT_FALSE(App().Result().reported);
}

TEST_F(UninstallFromCacheTest, RemovingAConflictRunsSilentlyWhenTheLauncherDoes) {
  Start({L"/L*v", testing::kLogPath, L"/qn"});
  ArrangeInstalledProduct();
  EXPECT_TRUE(RemoveConflictingInstallation(App(), installed_));
  ASSERT_EQ(Host().Installer().installCalls.size(), 1u);
  EXPECT_EQ(Host().Installer().installCalls[0].uiLevel, kUiLevelNone);
  EXPECT_EQ(App().Result().kind, 0);
}

}  // namespace
}  // namespace setup
