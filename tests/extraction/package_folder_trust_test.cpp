#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "extraction/package_folder.h"
#include "foundation/file_utilities.h"
#include "packages/package_folder_trust.h"
#include "platform/host/host_database_files.h"
#include "platform/host/host_platform.h"
#include "run/log_lines.h"
#include "support/run_fixture.h"
#include "support/temp_folder.h"

namespace setup {
namespace {

constexpr wchar_t kPackageCode[] = L"{61ED57E6-FC69-4A94-BBA3-38F7AE7A963E}";
constexpr wchar_t kFolder[] = L"C:\\ProgramData\\Tarquel\\{61ED57E6-FC69-4A94-BBA3-38F7AE7A963E}";
constexpr wchar_t kMsi[] = L"C:\\ProgramData\\Tarquel\\{61ED57E6-FC69-4A94-BBA3-38F7AE7A963E}\\Quibrix.msi";

class PackageFolderTrustTest : public testing::RunTest {
 protected:
  PackageFolderTrustTest() {
    Start();
    ICBSFileUtilities(Host()).CreateFolderTree(L"C:\\ProgramData\\Tarquel");
  }
  // A folder as the unpacking makes it, holding an MSI with the given package code.
  void MakeOwnFolder(std::wstring_view packageCode = kPackageCode) {
    ASSERT_TRUE(CreatePackageFolder(Host(), log_, kFolder));
    WriteMsi(kMsi, packageCode);
  }
  void WriteMsi(std::wstring_view path, std::wstring_view packageCode) {
    platform::host::HostDatabaseFile msi = platform::host::HostDatabaseFile::Package();
    msi.packageCode = packageCode;
    Host().Files().WriteFile(path, msi.Serialize());
  }
  std::wstring Trusted() { return TrustedUnpackedMsi(Host(), log_, kFolder, kPackageCode); }
  std::wstring NotUsedLine(std::wstring_view reason) {
    return LogLineText(log_lines::kPackageFolderNotTrusted, kFolder, reason);
  }
  bool Exists(std::wstring_view path) { return Host().Files().Attributes(path).has_value(); }
};

TEST_F(PackageFolderTrustTest, OwnFolderWithThisSetupsPackageIsUsed) {
  MakeOwnFolder();
  const std::size_t before = LogSize();
  EXPECT_EQ(Trusted(), kMsi);
  EXPECT_EQ(LogSince(before), L"");
  EXPECT_TRUE(RemoveUntrustedPackageFolder(Host(), log_, kFolder));
  EXPECT_TRUE(Exists(kMsi));
  Host().Files().DeleteFile(kMsi);
  Host().Files().RemoveDirectory(kFolder);
  EXPECT_EQ(Trusted(), L"");  // missing folder: nothing to use, nothing logged
  EXPECT_EQ(LogSince(before), L"");
}

TEST_F(PackageFolderTrustTest, FolderThatCannotBeTrustedIsRemovedWithTheReason) {
  const struct {
    const char* what;
    std::function<void()> arrange;
    const wchar_t* reason;
  } cases[] = {
      {"made by another user",
       [this] {
         MakeOwnFolder();
         Host().Files().SetOwnerSid(kFolder, L"S-1-5-21-1-2-3-1001");
       },
       L"it is a link or not owned by Administrators or SYSTEM"},
      {"open to everyone",
       [this] {
         Host().Files().CreateDirectory(kFolder);
         Host().Files().AddAccessEntry(kFolder, {0x1301FF, true, platform::TrusteeForm::Sid, L"Everyone", L"S-1-1-0"});
         WriteMsi(kMsi, kPackageCode);
       },
       L"accounts other than Administrators and SYSTEM may change it"},
      {"users may add files",
       [this] {
         MakeOwnFolder();
         Host().Files().AddAccessEntry(kFolder, {0x2, true, platform::TrusteeForm::Sid, L"Users", L"S-1-5-32-545"});
       },
       L"accounts other than Administrators and SYSTEM may change it"},
      {"foreign package",
       [this] { MakeOwnFolder(L"{00000000-0000-0000-0000-00000000BAD0}"); },
       L"its MSI file is not this setup's package"},
      {"no package at all",
       [this] {
         MakeOwnFolder();
         Host().Files().WriteFile(kMsi, "not a database");
       },
       L"its MSI file is not this setup's package"},
      {"two packages",
       [this] {
         MakeOwnFolder();
         WriteMsi(std::wstring(kFolder) + L"\\Other.msi", kPackageCode);
       },
       L"it does not hold exactly one MSI file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.arrange();
    const std::size_t before = LogSize();
    EXPECT_EQ(Trusted(), L"");
    EXPECT_EQ(LogSince(before), NotUsedLine(c.reason));
    EXPECT_FALSE(Exists(kFolder));
  }
}

TEST_F(PackageFolderTrustTest, FolderToUnpackIntoIsRemovedOnlyWhenOthersMayChangeIt) {
  MakeOwnFolder(L"{00000000-0000-0000-0000-00000000BAD0}");  // the contents are replaced by the unpacking
  EXPECT_TRUE(RemoveUntrustedPackageFolder(Host(), log_, kFolder));
  EXPECT_TRUE(Exists(kMsi));
  Host().Files().SetOwnerSid(kFolder, L"S-1-5-21-1-2-3-1001");
  const std::size_t before = LogSize();
  EXPECT_TRUE(RemoveUntrustedPackageFolder(Host(), log_, kFolder));
  EXPECT_EQ(LogSince(before), NotUsedLine(L"it is a link or not owned by Administrators or SYSTEM"));
  EXPECT_FALSE(Exists(kFolder));
}

// A program the launcher would start with its rights: the file and its folder must both be
// beyond the reach of other users.
TEST(ProgramFileTrust, TheFileAndItsFolderMustBeChangeableByAdministratorsAlone) {
  constexpr wchar_t kShared[] = L"C:\\ProgramData\\Tarquel\\SharedBetweenVersions";
  constexpr wchar_t kTool[] = L"C:\\ProgramData\\Tarquel\\SharedBetweenVersions\\CatalogKeeperFrontend.exe";
  const platform::AccessEntry everyoneModifies{0x1301FF, true, platform::TrusteeForm::Sid, L"Everyone", L"S-1-1-0"};
  const platform::AccessEntry usersDelete{0x10000, true, platform::TrusteeForm::Sid, L"Users", L"S-1-5-32-545"};
  const platform::AccessEntry everyoneReads{0x1200A9, true, platform::TrusteeForm::Sid, L"Everyone", L"S-1-1-0"};
  const struct {
    const char* what;
    std::function<void(platform::host::HostFileSystem&)> arrange;
    const wchar_t* reason;
  } cases[] = {
      {"trusted, others may read", [&](auto& files) { files.AddAccessEntry(kTool, everyoneReads); }, L""},
      {"not there", [&](auto& files) { files.DeleteFile(kTool); }, L"it is not there"},
      {"file of another user", [&](auto& files) { files.SetOwnerSid(kTool, L"S-1-5-21-1-2-3-1001"); },
       L"it is not owned by Administrators or SYSTEM"},
      {"file everyone may change", [&](auto& files) { files.AddAccessEntry(kTool, everyoneModifies); },
       L"accounts other than Administrators and SYSTEM may change it"},
      {"folder everyone may change", [&](auto& files) { files.AddAccessEntry(kShared, everyoneModifies); },
       L"its folder cannot be trusted: accounts other than Administrators and SYSTEM may change it"},
      {"folder from which users may delete", [&](auto& files) { files.AddAccessEntry(kShared, usersDelete); },
       L"its folder cannot be trusted: accounts other than Administrators and SYSTEM may change it"},
      {"folder of another user", [&](auto& files) { files.SetOwnerSid(kShared, L"S-1-5-21-1-2-3-1001"); },
       L"its folder cannot be trusted: it is a link or not owned by Administrators or SYSTEM"},
      {"a folder of that name",
       [&](auto& files) {
         files.DeleteFile(kTool);
         files.CreateDirectory(kTool);
       },
       L"it is a link or a folder"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::TempFolder temp;
    platform::host::HostPlatform host(temp.Path());
    ICBSFileUtilities(host).CreateFolderTree(kShared);
    host.Files().WriteFile(kTool, "a tool");
    c.arrange(host.Files());
    EXPECT_EQ(ProgramFileDistrust(host, kTool), c.reason);
  }
  // A link to a trusted program elsewhere is no program of this folder.
  testing::TempFolder temp;
  platform::host::HostPlatform host(temp.Path());
  ICBSFileUtilities(host).CreateFolderTree(kShared);
  host.Files().WriteFile(L"C:\\ProgramData\\elsewhere.exe", "a tool");
  std::filesystem::create_symlink(host.Files().HostPath(L"C:\\ProgramData\\elsewhere.exe"),
                                  host.Files().HostPath(kTool));
  EXPECT_EQ(ProgramFileDistrust(host, kTool), L"it is a link or a folder");
}

}  // namespace
}  // namespace setup
