#include "packages/uninstall_from_cache.h"

#include <gtest/gtest.h>

#include "analysis_fixture.h"

namespace setup {
namespace {

using platform::RegistryRoot;

using testing::kMsiFile;
using testing::kProductCode;
using testing::kUninstallKey;
using UninstallFromCacheTest = testing::CachedInstallationTest;

TEST_F(UninstallFromCacheTest, RemovesTheProductWithItsCachedMsiFile) {
  ArrangeInstalledProduct();
  const SetupResult result = UninstallFromCache(Run().platform, Run().log, installed_, UiLevel::Basic());
  EXPECT_EQ(result.kind, 0);
  EXPECT_EQ(result.installerCode, 0u);
  EXPECT_TRUE(result.reported);

  auto& installer = Host().Installer();
  ASSERT_EQ(installer.installCalls.size(), 1u);
  EXPECT_EQ(installer.installCalls[0].packagePath, kMsiFile);
  EXPECT_EQ(installer.installCalls[0].properties, L"REMOVE=ALL ");
  EXPECT_EQ(installer.installCalls[0].uiLevel, UiLevel::Basic().Value());
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

TEST_F(UninstallFromCacheTest, MissingAmbiguousOrForeignMsiFileGivesKindNine) {
  ArrangeInstalledProduct();
  CreateFile(L"C:\\ProgramData\\Tarquel\\{9ACC0000-1111-2222-3333-444444444444}\\other.msi");
  SetupResult result = UninstallFromCache(Run().platform, Run().log, installed_, UiLevel::None());
  EXPECT_EQ(result.kind, kResultNoMsiForUninstall);
  EXPECT_EQ(result.installerCode, 0u);
  EXPECT_FALSE(result.reported);
  EXPECT_TRUE(Host().Installer().installCalls.empty());

  // A package that did not install the product (planted in its place) is never run to remove it.
  ASSERT_EQ(Host().Files().DeleteFile(L"C:\\ProgramData\\Tarquel\\{9ACC0000-1111-2222-3333-444444444444}\\other.msi"),
            platform::DeleteResult::Deleted);
  const std::string foreign = platform::host::HostPlatform::PackageFileBytes(L"{0BAD0000-1111-2222-3333-444444444444}");
  ASSERT_TRUE(Host().Files().WriteFile(kMsiFile, foreign));
  result = UninstallFromCache(Run().platform, Run().log, installed_, UiLevel::None());
  EXPECT_EQ(result.kind, kResultNoMsiForUninstall);
  EXPECT_TRUE(Host().Installer().installCalls.empty());

  ProductRecord unknown(L"QB::P", L"2022.00.00", true, L"", false);  // no installed product matches
  result = UninstallFromCache(Run().platform, Run().log, unknown, UiLevel::None());
  EXPECT_EQ(result.kind, kResultNoMsiForUninstall);
}

TEST_F(UninstallFromCacheTest, InstallerFailureGivesKindTwoAndRestartCodesCountAsSuccess) {
  ArrangeInstalledProduct();
  Host().Installer().SetResult(kMsiFile, 1603);
  SetupResult result = UninstallFromCache(Run().platform, Run().log, installed_, UiLevel::None());
  EXPECT_EQ(result.kind, kResultInstallFailed);
  EXPECT_EQ(result.installerCode, 1603u);
  EXPECT_FALSE(result.reported);

  Host().Installer().SetResult(kMsiFile, 3010);
  result = UninstallFromCache(Run().platform, Run().log, installed_, UiLevel::None());
  EXPECT_EQ(result.kind, 0);
}

}  // namespace
}  // namespace setup
