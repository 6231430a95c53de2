// A package's installation state, its package folder below the cache root and the MSI file
// an earlier run left there.
#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/file_utilities.h"
#include "foundation/text.h"
#include "packages/package_cache.h"
#include "packages/package_installation_state.h"
#include "packages/setup_package_builder.h"
#include "platform/host/host_database_files.h"
#include "support/detection_fixture.h"

namespace setup {
namespace {

using testing::DetectionTest;

constexpr wchar_t kProductCode[] = L"{12345678-9ABC-DEF0-1234-56789ABCDEF0}";
constexpr wchar_t kPackageCode[] = L"{61ED57E6-FC69-4A94-BBA3-38F7AE7A963E}";

class PackageStateTest : public DetectionTest {
 protected:
  SetupPackage Build(std::wstring installerType = L"msi", std::wstring productCode = kProductCode) {
    PackageDescription description;
    description.productName = L"Tarquel Quibrix 2024";
    description.productCode = std::move(productCode);
    description.packageCode = kPackageCode;
    description.productId = L"QB::P";
    description.version = L"2024.00.00.00";
    description.installerType = std::move(installerType);
    return BuildSetupPackage({Context(), cacheRoot_, true, &log_}, description);
  }

  PackageCacheRoot cacheRoot_{host_};
  SetupLog log_{host_.Files(), host_.Installer()};
};

TEST_F(PackageStateTest, NothingInstalled) {
  const SetupPackage package = Build();
  EXPECT_FALSE(package.registered);
  EXPECT_FALSE(package.installedFromOtherInstaller);
  EXPECT_FALSE(IsPackageInstalled(Context(), package));
  ASSERT_EQ(package.products.size(), 1u);
  EXPECT_EQ(package.products[0].ProductId(), L"QB::P");
  EXPECT_EQ(package.installerType, L"msi");
}

TEST_F(PackageStateTest, InstalledByThisBuildIsAskedAfreshOnEveryUse) {
  AddMsiProduct(kProductCode, L"QB::P", L"2024.00.00", L"Tarquel Quibrix 2024",
                L"{61ed57e6-fc69-4a94-bba3-38f7ae7a963e}");
  const SetupPackage package = Build();
  EXPECT_TRUE(package.registered);
  EXPECT_FALSE(package.installedFromOtherInstaller);
  EXPECT_TRUE(IsPackageInstalled(Context(), package));
  host_.Installer().RemoveProduct(kProductCode);
  EXPECT_FALSE(IsPackageInstalled(Context(), package));
  EXPECT_TRUE(package.registered);
}

TEST_F(PackageStateTest, InstalledUnderAnotherPackageCodeIsNotInstalled) {
  AddMsiProduct(kProductCode, L"QB::P", L"2024.00.00", L"Tarquel Quibrix 2024", L"{00000000-0000-0000-0000-000000000000}");
  const SetupPackage package = Build();
  EXPECT_TRUE(package.registered);
  EXPECT_TRUE(package.installedFromOtherInstaller);
  EXPECT_FALSE(IsPackageInstalled(Context(), package));
}

TEST_F(PackageStateTest, ProductCodesAreComparedExactlyAndAnUnreadablePackageCodeCountsAsOurs) {
  host_.Installer().AddProduct({kProductCode, {}});
  EXPECT_FALSE(Build(L"msi", L"{12345678-9abc-def0-1234-56789abcdef0}").registered);
  const SetupPackage package = Build();
  EXPECT_TRUE(package.registered);
  EXPECT_FALSE(package.installedFromOtherInstaller);
  EXPECT_FALSE(Build(L"msi", L"").registered);
}

TEST_F(PackageStateTest, NonMsiPackagesAreKnownByTheirRegistrationKey) {
  EXPECT_FALSE(Build(L"taxonomy").registered);
  const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\87654321CBA90FED21436587A9CBED0F";
  host_.Registry().SetString(platform::RegistryRoot::CurrentUser, key, L"PackageGUID", kPackageCode);
  SetupPackage package = Build(L"taxonomy");
  EXPECT_TRUE(package.registered);
  EXPECT_FALSE(package.installedFromOtherInstaller);
  EXPECT_TRUE(IsPackageInstalled(Context(), package));
  host_.Registry().SetString(platform::RegistryRoot::CurrentUser, key, L"PackageGUID", L"{OTHER}");
  package = Build(L"taxonomy");
  EXPECT_TRUE(package.installedFromOtherInstaller);
  EXPECT_FALSE(IsPackageInstalled(Context(), package));
}

TEST_F(PackageStateTest, CacheRootIsCreatedAndOpenedToEveryoneOnce) {
  const std::wstring& root = cacheRoot_.Path();
  EXPECT_EQ(root, L"C:\\ProgramData\\Tarquel");
  const auto entries = host_.Files().ExplicitAccessEntries(root);
  ASSERT_TRUE(entries.has_value());
  ASSERT_EQ(entries->size(), 1u);
  EXPECT_TRUE(EqualsIgnoreCase((*entries)[0].account, L"EVERYONE"));
  // Everyone may list, read, create files and folders and write them, but neither delete nor
  // rename what another user made, nor change an owner or a list.
  const std::uint32_t mask = (*entries)[0].accessMask;
  constexpr std::uint32_t kListAddFileAddFolder = 0x1 | 0x2 | 0x4, kDelete = 0x10000, kDeleteChild = 0x40;
  constexpr std::uint32_t kWriteDac = 0x40000, kWriteOwner = 0x80000;
  EXPECT_EQ(mask & kListAddFileAddFolder, kListAddFileAddFolder);
  EXPECT_EQ(mask & (kDelete | kDeleteChild | kWriteDac | kWriteOwner | platform::kGenericAll | platform::kGenericWrite), 0u);
  PackageCacheRoot again(host_);
  EXPECT_EQ(again.Path(), root);
  EXPECT_EQ(host_.Files().ExplicitAccessEntries(root)->size(), 1u);  // the grant is not added twice
}

TEST_F(PackageStateTest, CacheRootFullGrantOfAnEarlierRunIsNarrowed) {
  ICBSFileUtilities(host_).CreateFolderTree(L"C:\\ProgramData\\Tarquel");
  host_.Files().AddAccessEntry(L"C:\\ProgramData\\Tarquel", {platform::kGenericAll, true, platform::TrusteeForm::Sid, L"Everyone"});
  const auto entries = host_.Files().ExplicitAccessEntries(cacheRoot_.Path());
  ASSERT_TRUE(entries.has_value());
  ASSERT_EQ(entries->size(), 1u);
  EXPECT_EQ((*entries)[0].accessMask & platform::kGenericAll, 0u);
}

TEST_F(PackageStateTest, CacheRootStaysEmptyWithoutCommonAppData) {
  host_.Files().knownFolders[platform::KnownFolder::CommonAppData] = L"";
  EXPECT_EQ(cacheRoot_.Path(), L"");
  EXPECT_EQ(Build().packageFolder, L"");
  host_.Files().knownFolders[platform::KnownFolder::CommonAppData] = L"C:\\ProgramData";
  EXPECT_EQ(cacheRoot_.Path(), L"C:\\ProgramData\\Tarquel");
}

TEST_F(PackageStateTest, CachedMsiOnlyWhenThePackageFolderHoldsExactlyOne) {
  const std::wstring folder = std::wstring(L"C:\\ProgramData\\Tarquel\\") + kPackageCode;
  ICBSFileUtilities(host_).CreateFolderTree(folder);
  platform::host::HostDatabaseFile msi = platform::host::HostDatabaseFile::Package();
  msi.packageCode = kPackageCode;
  host_.Files().WriteFile(folder + L"\\Quibrix.msi", msi.Serialize());
  host_.Files().WriteFile(folder + L"\\Quibrix.mst", "mst");
  SetupPackage package = Build();
  EXPECT_EQ(package.packageFolder, folder);
  EXPECT_EQ(package.packageFile, folder + L"\\Quibrix.msi");
  host_.Files().WriteFile(folder + L"\\Other.msi", "msi");
  EXPECT_EQ(Build().packageFile, L"");
}

TEST(PackageFolderPath, OnlyABracedGuidNamesAFolder) {
  const std::wstring root = L"C:\\ProgramData\\Tarquel";
  EXPECT_EQ(PackageFolderPath(root, kPackageCode), root + L"\\" + kPackageCode);
  EXPECT_EQ(PackageFolderPath(root, L"{61ed57e6-fc69-4a94-bba3-38f7ae7a963e}"),
            root + L"\\{61ed57e6-fc69-4a94-bba3-38f7ae7a963e}");
  // The system drops trailing dots and blanks: these would name the root itself or another
  // package's folder, and the clean-up would delete it.
  for (const wchar_t* code : {L"", L".", L"..", L"...", L" ", L". ", L".. ", L"x.", L"{A}", L"..\\..\\Windows",
                              L"{61ED57E6-FC69-4A94-BBA3-38F7AE7A963E}.", L"{61ED57E6-FC69-4A94-BBA3-38F7AE7A963E} ",
                              L"61ED57E6-FC69-4A94-BBA3-38F7AE7A963E", L"{61ED57E6-FC69-4A94-BBA3-38F7AE7A963G}",
                              L"{61ED57E6+FC69-4A94-BBA3-38F7AE7A963E}", L"{61ED57E6-FC69-4A94-BBA3\\38F7AE7A963E}"}) {
    EXPECT_EQ(PackageFolderPath(root, code), L"") << ToUtf8(code);
  }
  EXPECT_EQ(PackageFolderPath(L"", kPackageCode), L"");
}

TEST(PackageFolderPath, OnlyFoldersRightBelowTheRootCountAsPackageFolders) {
  const std::wstring root = L"C:\\ProgramData\\Tarquel";
  EXPECT_TRUE(IsPackageFolderOf(root, root + L"\\{MAIN}"));
  EXPECT_TRUE(IsPackageFolderOf(root, L"c:/programdata/TARQUEL/{MAIN}"));
  for (const std::wstring& folder : {root, root + L"\\", root + L"\\...", root + L"\\. ", root + L"\\{A}\\..",
                                    root + L"\\..\\Other", root + L"\\{A}\\{B}", std::wstring(L"C:\\ProgramData"),
                                    std::wstring(L"C:\\ProgramData\\TarquelX\\{A}"), std::wstring()}) {
    EXPECT_FALSE(IsPackageFolderOf(root, folder)) << ToUtf8(folder);
  }
  EXPECT_FALSE(IsPackageFolderOf(L"", L"C:\\{A}"));
}

TEST_F(PackageStateTest, CacheRootThatIsALinkIsRefusedAndLeftAlone) {
  ICBSFileUtilities(host_).CreateFolderTree(L"C:\\Windows\\System32");
  ICBSFileUtilities(host_).CreateFolderTree(L"C:\\ProgramData");
  std::filesystem::create_directory_symlink(host_.Files().HostPath(L"C:\\Windows\\System32"),
                                            host_.Files().HostPath(L"C:\\ProgramData\\Tarquel"));
  EXPECT_EQ(cacheRoot_.Path(), L"");
  EXPECT_TRUE(cacheRoot_.Refused());
  EXPECT_EQ(cacheRoot_.Location(), L"C:\\ProgramData\\Tarquel");
  EXPECT_TRUE(host_.Files().ExplicitAccessEntries(L"C:\\Windows\\System32")->empty());  // nothing granted
  EXPECT_EQ(Build().packageFolder, L"");
}

TEST_F(PackageStateTest, CacheRootOwnedByAnotherUserIsRefused) {
  ICBSFileUtilities(host_).CreateFolderTree(L"C:\\ProgramData\\Tarquel");
  host_.Files().SetOwnerSid(L"C:\\ProgramData\\Tarquel", L"S-1-5-21-1-2-3-1001");
  EXPECT_EQ(cacheRoot_.Path(), L"");
  EXPECT_TRUE(cacheRoot_.Refused());
  EXPECT_TRUE(host_.Files().ExplicitAccessEntries(L"C:\\ProgramData\\Tarquel")->empty());
  for (const std::wstring& owner : {std::wstring(L"S-1-5-18"), std::wstring(L"S-1-5-32-544"), *host_.System().userSid}) {
    host_.Files().SetOwnerSid(L"C:\\ProgramData\\Tarquel", owner);  // system, Administrators, this user
    PackageCacheRoot trusted(host_);
    EXPECT_EQ(trusted.Path(), L"C:\\ProgramData\\Tarquel") << ToUtf8(owner);
    EXPECT_FALSE(trusted.Refused());
  }
}

}  // namespace
}  // namespace setup
