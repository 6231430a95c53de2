#include "foundation/file_utilities.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "foundation/text.h"
#include "platform/host/host_platform.h"
#include "support/temp_folder.h"

namespace setup {
namespace {

class FileUtilitiesTest : public ::testing::Test {
 protected:
  void MakeFile(std::wstring_view path, std::string_view bytes = "data") {
    ASSERT_TRUE(host_.Files().WriteFile(path, bytes)) << ToUtf8(path);
  }

  testing::TempFolder temp_;
  platform::host::HostPlatform host_{temp_.Path()};
  ICBSFileUtilities utilities_{host_};
};

TEST_F(FileUtilitiesTest, CreateFolderTreeCreatesEveryMissingLevel) {
  EXPECT_TRUE(utilities_.CreateFolderTree(L"C:\\One\\Two\\Three"));
  EXPECT_TRUE(utilities_.FolderExists(L"C:\\One\\Two\\Three"));
  EXPECT_TRUE(utilities_.CreateFolderTree(L"C:\\One\\Two\\Three"));  // existing counts as created
  EXPECT_TRUE(utilities_.CreateFolderTree(L"C:\\One\\Two\\Four\\"));
  EXPECT_TRUE(utilities_.FolderExists(L"C:\\One\\Two\\Four"));
  EXPECT_FALSE(utilities_.CreateFolderTree(L"C:"));
  EXPECT_FALSE(utilities_.CreateFolderTree(L"NoParent"));
  // A file in the way fails the creation and leaves what was made.
  MakeFile(L"C:\\One\\Blocker");
  EXPECT_FALSE(utilities_.CreateFolderTree(L"C:\\One\\Blocker\\Sub"));
  EXPECT_TRUE(utilities_.FileExists(L"C:\\One\\Blocker"));
  EXPECT_FALSE(utilities_.FolderExists(L"C:\\One\\Blocker"));
}

TEST_F(FileUtilitiesTest, DeleteFolderTreeRemovesReadOnlyFiles) {
  ASSERT_TRUE(utilities_.CreateFolderTree(L"C:\\Tree\\Sub\\Deeper"));
  MakeFile(L"C:\\Tree\\a.txt");
  MakeFile(L"C:\\Tree\\Sub\\Deeper\\locked.txt");
  ASSERT_TRUE(host_.Files().SetReadOnly(L"C:\\Tree\\Sub\\Deeper\\locked.txt", true));
  EXPECT_EQ(utilities_.CountFolders(L"C:\\Tree"), 3);
  EXPECT_TRUE(utilities_.DeleteFolderTree(L"C:\\Tree"));
  EXPECT_FALSE(utilities_.FileExists(L"C:\\Tree"));
}

TEST_F(FileUtilitiesTest, DeleteFolderTreeStopsAtAFileInUse) {
  ASSERT_TRUE(utilities_.CreateFolderTree(L"C:\\Busy"));
  MakeFile(L"C:\\Busy\\open.dat");
  host_.Files().MarkInUse(L"C:\\Busy\\open.dat");
  EXPECT_FALSE(utilities_.DeleteFolderTree(L"C:\\Busy"));
  EXPECT_TRUE(utilities_.FileExists(L"C:\\Busy\\open.dat"));
}

// Links planted below a folder (symbolic links on the host stand for junctions and Windows
// symbolic links) are removed themselves; what they point to stays whole.
TEST_F(FileUtilitiesTest, DeleteFolderTreeRemovesLinksWithoutFollowingThem) {
  ASSERT_TRUE(utilities_.CreateFolderTree(L"C:\\Outside\\Deep"));
  MakeFile(L"C:\\Outside\\Deep\\precious.txt");
  MakeFile(L"C:\\Outside\\secret.txt");
  host_.Files().SetReadOnly(L"C:\\Outside\\secret.txt", true);
  ASSERT_TRUE(utilities_.CreateFolderTree(L"C:\\Cache\\Package\\Sub"));
  MakeFile(L"C:\\Cache\\Package\\package.msi");
  const auto host = [&](const wchar_t* path) { return host_.Files().HostPath(path); };
  std::filesystem::create_directory_symlink(host(L"C:\\Outside"), host(L"C:\\Cache\\Package\\Sub\\junction"));
  std::filesystem::create_symlink(host(L"C:\\Outside\\secret.txt"), host(L"C:\\Cache\\Package\\file-link"));
  // A link back up would make a walk that follows links run forever.
  std::filesystem::create_directory_symlink(host(L"C:\\Cache"), host(L"C:\\Cache\\Package\\loop"));

  const auto link = host_.Files().Attributes(L"C:\\Cache\\Package\\Sub\\junction");
  ASSERT_TRUE(link.has_value());
  EXPECT_TRUE(link->reparsePoint);
  EXPECT_TRUE(link->directory);
  EXPECT_FALSE(host_.Files().Attributes(L"C:\\Cache\\Package\\Sub")->reparsePoint);
  EXPECT_EQ(utilities_.CountFolders(L"C:\\Cache\\Package"), 4);

  EXPECT_TRUE(utilities_.DeleteFolderTree(L"C:\\Cache\\Package"));
  EXPECT_FALSE(utilities_.FileExists(L"C:\\Cache\\Package"));
  EXPECT_TRUE(utilities_.FileExists(L"C:\\Outside\\Deep\\precious.txt"));
  EXPECT_TRUE(utilities_.FileExists(L"C:\\Outside\\secret.txt"));
  EXPECT_TRUE(host_.Files().Attributes(L"C:\\Outside\\secret.txt")->readOnly);  // the target is untouched
  EXPECT_TRUE(utilities_.FolderExists(L"C:\\Cache"));
}

TEST_F(FileUtilitiesTest, DeleteFolderTreeOfALinkRemovesOnlyTheLink) {
  ASSERT_TRUE(utilities_.CreateFolderTree(L"C:\\Elsewhere"));
  MakeFile(L"C:\\Elsewhere\\keep.txt");
  ASSERT_TRUE(utilities_.CreateFolderTree(L"C:\\Cache"));
  std::filesystem::create_directory_symlink(host_.Files().HostPath(L"C:\\Elsewhere"),
                                            host_.Files().HostPath(L"C:\\Cache\\{Link}"));
  EXPECT_TRUE(utilities_.DeleteFolderTree(L"C:\\Cache\\{Link}"));
  EXPECT_FALSE(utilities_.FileExists(L"C:\\Cache\\{Link}"));
  EXPECT_TRUE(utilities_.FileExists(L"C:\\Elsewhere\\keep.txt"));
}

TEST_F(FileUtilitiesTest, CopyFileCreatesFoldersAndReplacesReadOnlyTargets) {
  MakeFile(L"C:\\Work\\new.bin", "new");
  EXPECT_TRUE(utilities_.CopyFile(L"C:\\Work\\new.bin", L"C:\\Out\\Sub\\copy.bin", true));
  EXPECT_EQ(host_.Files().ReadFile(L"C:\\Out\\Sub\\copy.bin"), "new");

  MakeFile(L"C:\\Work\\old.bin", "old");
  ASSERT_TRUE(host_.Files().SetReadOnly(L"C:\\Work\\old.bin", true));
  EXPECT_FALSE(utilities_.CopyFile(L"C:\\Work\\new.bin", L"C:\\Work\\old.bin", true));
  EXPECT_TRUE(utilities_.CopyFile(L"C:\\Work\\new.bin", L"C:\\Work\\old.bin", false));
  EXPECT_EQ(host_.Files().ReadFile(L"C:\\Work\\old.bin"), "new");
}

TEST_F(FileUtilitiesTest, CopyFileToALongPath) {
  std::wstring folder = L"C:\\Long";
  while (folder.size() < 280) folder += L"\\" + std::wstring(40, L'x');
  const std::wstring target = folder + L"\\target.bin";
  ASSERT_GT(target.size(), 300u);
  MakeFile(L"C:\\Work\\source.bin", "long");
  EXPECT_TRUE(utilities_.CopyFile(L"C:\\Work\\source.bin", target, false));
  EXPECT_EQ(host_.Files().ReadFile(target), "long");
  EXPECT_EQ(utilities_.FileSize(target), 4u);
}

TEST_F(FileUtilitiesTest, FindFilesSizesAndVersions) {
  ASSERT_TRUE(utilities_.CreateFolderTree(L"C:\\Pkg\\sub.msi"));
  MakeFile(L"C:\\Pkg\\a.msi", "12345");
  MakeFile(L"C:\\Pkg\\b.MSI");
  MakeFile(L"C:\\Pkg\\c.mst");
  auto found = utilities_.FindFiles(L"C:\\Pkg", L"*.msi");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::wstring>{L"C:\\Pkg\\a.msi", L"C:\\Pkg\\b.MSI"}));
  EXPECT_EQ(utilities_.FileSize(L"C:\\Pkg\\a.msi"), 5u);
  EXPECT_EQ(utilities_.FileSize(L"C:\\Pkg\\missing"), 0u);

  EXPECT_EQ(utilities_.FileVersionText(L"C:\\Pkg\\a.msi"), L"");
  host_.Files().SetFileVersion(L"C:\\Pkg\\a.msi", {24, 1, 0, 17});
  EXPECT_EQ(utilities_.FileVersionText(L"C:\\Pkg\\a.msi"), L"24.1.0.17");
}

TEST_F(FileUtilitiesTest, FullAccessCheckAndGrant) {
  ASSERT_TRUE(utilities_.CreateFolderTree(L"C:\\ProgramData\\Tarquel"));
  const wchar_t* const folder = L"C:\\ProgramData\\Tarquel";
  EXPECT_FALSE(utilities_.HasFullAccess(folder, platform::kGenericAll, L"EVERYONE"));

  // Entries that do not count: another mask, a denial, a name trustee that is no user.
  host_.Files().AddAccessEntry(folder, {0x001F01FF, true, platform::TrusteeForm::Sid, L"Everyone"});
  host_.Files().AddAccessEntry(folder, {platform::kGenericAll, false, platform::TrusteeForm::Sid, L"Everyone"});
  host_.Files().AddAccessEntry(folder, {platform::kGenericAll, true, platform::TrusteeForm::OtherName, L"EVERYONE"});
  EXPECT_FALSE(utilities_.HasFullAccess(folder, platform::kGenericAll, L"EVERYONE"));

  EXPECT_TRUE(utilities_.GrantEveryoneAccess(folder, platform::kGenericAll));
  EXPECT_TRUE(utilities_.HasFullAccess(folder, platform::kGenericAll, L"EVERYONE"));
  EXPECT_TRUE(utilities_.HasFullAccess(folder, platform::kGenericAll, L"everyone"));
  EXPECT_FALSE(utilities_.HasFullAccess(folder, platform::kGenericAll, L"Users"));
  EXPECT_FALSE(utilities_.GrantEveryoneAccess(L"C:\\Missing", platform::kGenericAll));
}

}  // namespace
}  // namespace setup
