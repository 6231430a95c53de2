// Contract of the file-system port: files and folders as the launcher uses them, with the
// Windows rules the host stand-in imitates (read-only files, names that ignore case, wildcards,
// long paths with the extended prefix).
#include <algorithm>

#include "contracts/platform_under_test.h"
#include "foundation/text.h"

namespace setup::contracts {
namespace {

using platform::CreateResult;
using platform::DeleteResult;
using platform::OpenMode;

class FileSystemContract : public ContractTest {
 protected:
  platform::FileSystem& Files() { return *Ports().files; }
  std::wstring At(std::wstring_view name) { return Side().Folder() + L"\\" + std::wstring(name); }

  // "name" or "name/" (a folder) per entry, sorted.
  std::vector<std::wstring> Listing(std::wstring_view pattern) {
    std::vector<std::wstring> names;
    for (const auto& entry : Files().List(Side().Folder(), pattern)) names.push_back(entry.name + (entry.directory ? L"/" : L""));
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(FileSystemContract, WrittenBytesReadBackWithTheirSize) {
  const std::string bytes("line\r\n\0binary\xff", 14);
  ASSERT_TRUE(Files().WriteFile(At(L"data.bin"), bytes));
  EXPECT_EQ(Files().ReadFile(At(L"data.bin")), bytes);
  EXPECT_EQ(Files().FileSize(At(L"data.bin")), 14u);
  EXPECT_EQ(Files().ReadFile(At(L"missing.bin")), std::nullopt);
  EXPECT_EQ(Files().FileSize(At(L"missing.bin")), std::nullopt);
  EXPECT_FALSE(Files().WriteFile(At(L"no such folder\\data.bin"), bytes));
}

TEST_F(FileSystemContract, CreateAlwaysTruncatesOpenAlwaysAppendsAndReadersSeeFlushedText) {
  {
    const auto file = Files().OpenForWriting(At(L"setup.log"), OpenMode::CreateAlways);
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->Write("first "));
  }
  {
    const auto file = Files().OpenForWriting(At(L"setup.log"), OpenMode::OpenAlways);
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->Write("second"));
    EXPECT_TRUE(file->Flush());
    EXPECT_EQ(Files().ReadFile(At(L"setup.log")), "first second");  // while still open for writing
  }
  ASSERT_TRUE(Files().OpenForWriting(At(L"setup.log"), OpenMode::CreateAlways));
  EXPECT_EQ(Files().ReadFile(At(L"setup.log")), "");
  EXPECT_FALSE(Files().OpenForWriting(At(L"no such folder\\setup.log"), OpenMode::OpenAlways));
}

TEST_F(FileSystemContract, AttributesTellFoldersAndReadOnlyFiles) {
  const auto folder = Files().Attributes(Side().Folder());
  ASSERT_TRUE(folder);
  EXPECT_TRUE(folder->directory);
  ASSERT_TRUE(Files().WriteFile(At(L"file.txt"), "x"));
  EXPECT_FALSE(Files().Attributes(At(L"file.txt"))->directory);
  EXPECT_FALSE(Files().Attributes(At(L"file.txt"))->readOnly);
  EXPECT_TRUE(Files().SetReadOnly(At(L"file.txt"), true));
  EXPECT_TRUE(Files().Attributes(At(L"file.txt"))->readOnly);
  EXPECT_TRUE(Files().SetReadOnly(At(L"file.txt"), false));
  EXPECT_FALSE(Files().Attributes(At(L"file.txt"))->readOnly);
  EXPECT_EQ(Files().Attributes(At(L"missing.txt")), std::nullopt);
  EXPECT_FALSE(Files().SetReadOnly(At(L"missing.txt"), true));
}

// What the launcher checks before it reads a workload or appends to its log, and before it
// trusts the base folder of the package folders.
TEST_F(FileSystemContract, RegularFilesOpenSizesAndOwnersOfWhatTheProcessMakes) {
  ASSERT_TRUE(Files().WriteFile(At(L"data.bin"), "odd"));
  EXPECT_TRUE(Files().IsRegularDiskFile(At(L"data.bin")));
  EXPECT_FALSE(Files().IsRegularDiskFile(Side().Folder()));
  EXPECT_FALSE(Files().IsRegularDiskFile(At(L"missing.bin")));
  EXPECT_FALSE(Files().Attributes(At(L"data.bin"))->reparsePoint);
  EXPECT_FALSE(Files().Attributes(Side().Folder())->reparsePoint);
  {
    const auto file = Files().OpenForWriting(At(L"data.bin"), OpenMode::OpenAlways);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Size(), 3u);
    EXPECT_TRUE(file->Write("ab"));
    EXPECT_TRUE(file->Flush());
    EXPECT_EQ(file->Size(), 5u);
  }
  // A folder this process made belongs to Administrators, SYSTEM or the process's own user.
  const std::optional<std::wstring> owner = Files().OwnerSid(Side().Folder());
  ASSERT_TRUE(owner.has_value());
  EXPECT_TRUE(*owner == L"S-1-5-32-544" || *owner == L"S-1-5-18" || owner == Ports().system->ProcessUserSid())
      << ToUtf8(*owner);
  EXPECT_EQ(Files().OwnerSid(At(L"missing.bin")), std::nullopt);
}

// Windows also refuses to open a read-only file for writing; Wine running as root writes it,
// so only deleting is checked here.
TEST_F(FileSystemContract, ReadOnlyFilesRefuseDeleting) {
  ASSERT_TRUE(Files().WriteFile(At(L"locked.txt"), "old"));
  ASSERT_TRUE(Files().SetReadOnly(At(L"locked.txt"), true));
  EXPECT_EQ(Files().DeleteFile(At(L"locked.txt")), DeleteResult::Failed);
  EXPECT_EQ(Files().ReadFile(At(L"locked.txt")), "old");

  ASSERT_TRUE(Files().SetReadOnly(At(L"locked.txt"), false));
  EXPECT_EQ(Files().DeleteFile(At(L"locked.txt")), DeleteResult::Deleted);
  EXPECT_EQ(Files().DeleteFile(At(L"locked.txt")), DeleteResult::NotFound);
  EXPECT_EQ(Files().DeleteFile(At(L"no such folder\\locked.txt")), DeleteResult::NotFound);
}

// A package held open for the installer: others may read it, nobody may change, replace or
// delete it until the hold ends.
TEST_F(FileSystemContract, AFileHeldForReadingAloneRefusesWritersAndDeletingUntilReleased) {
  ASSERT_TRUE(Files().WriteFile(At(L"package.msi"), "ours"));
  ASSERT_TRUE(Files().WriteFile(At(L"planted.msi"), "planted"));
  auto held = Files().OpenStream(At(L"package.msi"), platform::kGenericRead, platform::kShareRead,
                                 platform::StreamDisposition::OpenExisting);
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(Files().DeleteFile(At(L"package.msi")), DeleteResult::InUse);
  EXPECT_FALSE(Files().WriteFile(At(L"package.msi"), "planted"));
  EXPECT_FALSE(Files().CopyFile(At(L"planted.msi"), At(L"package.msi"), false));
  EXPECT_EQ(Files().OpenStream(At(L"package.msi"), platform::kGenericWrite, platform::kShareRead | platform::kShareWrite,
                               platform::StreamDisposition::OpenExisting),
            nullptr);
  EXPECT_EQ(Files().ReadFile(At(L"package.msi")), "ours");

  held.reset();
  EXPECT_EQ(Files().DeleteFile(At(L"package.msi")), DeleteResult::Deleted);
}

TEST_F(FileSystemContract, CopyingKeepsOrReplacesAnExistingTarget) {
  ASSERT_TRUE(Files().WriteFile(At(L"source.txt"), "new"));
  ASSERT_TRUE(Files().WriteFile(At(L"target.txt"), "old"));
  EXPECT_FALSE(Files().CopyFile(At(L"source.txt"), At(L"target.txt"), true));
  EXPECT_EQ(Files().ReadFile(At(L"target.txt")), "old");
  EXPECT_TRUE(Files().CopyFile(At(L"source.txt"), At(L"target.txt"), false));
  EXPECT_EQ(Files().ReadFile(At(L"target.txt")), "new");
  EXPECT_TRUE(Files().CopyFile(At(L"source.txt"), At(L"fresh.txt"), true));
  EXPECT_EQ(Files().ReadFile(At(L"fresh.txt")), "new");
  EXPECT_FALSE(Files().CopyFile(At(L"missing.txt"), At(L"other.txt"), false));
  EXPECT_EQ(Files().Attributes(At(L"other.txt")), std::nullopt);
}

TEST_F(FileSystemContract, FoldersAreMadeOneLevelAtATimeAndRemovedOnlyWhenEmpty) {
  EXPECT_EQ(Files().CreateDirectory(At(L"folder")), CreateResult::Created);
  EXPECT_EQ(Files().CreateDirectory(At(L"folder")), CreateResult::AlreadyExists);
  EXPECT_EQ(Files().CreateDirectory(At(L"missing\\folder")), CreateResult::Failed);
  ASSERT_TRUE(Files().WriteFile(At(L"folder\\file.txt"), "x"));
  EXPECT_EQ(Files().DeleteFile(At(L"folder")), DeleteResult::Failed);
  EXPECT_FALSE(Files().RemoveDirectory(At(L"folder")));
  EXPECT_EQ(Files().DeleteFile(At(L"folder\\file.txt")), DeleteResult::Deleted);
  EXPECT_TRUE(Files().RemoveDirectory(At(L"folder")));
  EXPECT_FALSE(Files().RemoveDirectory(At(L"folder")));
  EXPECT_EQ(Files().Attributes(At(L"folder")), std::nullopt);
}

TEST_F(FileSystemContract, ListingMatchesWildcardsIgnoringCaseWithoutDotEntries) {
  ASSERT_TRUE(Files().WriteFile(At(L"Alpha.txt"), "a"));
  ASSERT_TRUE(Files().WriteFile(At(L"beta.TXT"), "b"));
  ASSERT_TRUE(Files().WriteFile(At(L"gamma.log"), "c"));
  ASSERT_EQ(Files().CreateDirectory(At(L"Sub.txt")), CreateResult::Created);
  EXPECT_EQ(Listing(L"*.txt"), (std::vector<std::wstring>{L"Alpha.txt", L"Sub.txt/", L"beta.TXT"}));
  EXPECT_EQ(Listing(L"*"), (std::vector<std::wstring>{L"Alpha.txt", L"Sub.txt/", L"beta.TXT", L"gamma.log"}));
  EXPECT_EQ(Listing(L"?AMMA.*"), (std::vector<std::wstring>{L"gamma.log"}));
  EXPECT_EQ(Listing(L"*.msi"), (std::vector<std::wstring>{}));
  EXPECT_TRUE(Files().List(At(L"missing"), L"*").empty());
}

TEST_F(FileSystemContract, NamesIgnoreCaseAndForwardSlashesSeparateFolders) {
  ASSERT_EQ(Files().CreateDirectory(At(L"Folder")), CreateResult::Created);
  ASSERT_TRUE(Files().WriteFile(At(L"Folder\\Mixed.txt"), "content"));
  EXPECT_EQ(Files().ReadFile(At(L"FOLDER\\mixed.TXT")), "content");
  EXPECT_EQ(Files().FileSize(At(L"folder\\MIXED.txt")), 7u);
  EXPECT_EQ(Files().ReadFile(At(L"Folder/Mixed.txt")), "content");
  EXPECT_EQ(Files().CreateDirectory(At(L"FOLDER")), CreateResult::AlreadyExists);
  EXPECT_EQ(Files().DeleteFile(At(L"folder\\mixed.txt")), DeleteResult::Deleted);
  EXPECT_EQ(Files().Attributes(At(L"Folder\\Mixed.txt")), std::nullopt);
}

TEST_F(FileSystemContract, PathsBeyondMaxPathWorkWithTheExtendedPrefix) {
  std::wstring folder = L"\\\\?\\" + Side().Folder();
  for (const wchar_t letter : {L'a', L'b'}) {
    folder += L"\\" + std::wstring(100, letter);
    ASSERT_EQ(Files().CreateDirectory(folder), CreateResult::Created);
  }
  const std::wstring file = folder + L"\\" + std::wstring(100, L'n') + L".txt";
  ASSERT_GT(file.size() - 4, 300u);
  ASSERT_TRUE(Files().WriteFile(file, "long"));
  EXPECT_EQ(Files().ReadFile(file), "long");
  EXPECT_EQ(Files().FileSize(file), 4u);
  EXPECT_TRUE(Files().CopyFile(file, file + L".copy", true));
  EXPECT_EQ(Files().DeleteFile(file), DeleteResult::Deleted);
}

TEST_F(FileSystemContract, VersionResourcesAreReadFromFilesThatHaveThem) {
  const auto version = Files().FileVersion(Side().VersionedFile());
  ASSERT_TRUE(version);
  EXPECT_EQ(version->major, SETUP_VERSION_MAJOR);
  EXPECT_EQ(version->minor, SETUP_VERSION_MINOR);
  EXPECT_EQ(version->build, SETUP_VERSION_PATCH);
  EXPECT_EQ(version->revision, SETUP_VERSION_TWEAK);
  ASSERT_TRUE(Files().WriteFile(At(L"plain.txt"), "no version"));
  EXPECT_EQ(Files().FileVersion(At(L"plain.txt")), std::nullopt);
  EXPECT_EQ(Files().FileVersion(At(L"missing.exe")), std::nullopt);
}

TEST_F(FileSystemContract, KnownFoldersAreAbsolutePathsWithoutTrailingBackslash) {
  using platform::KnownFolder;
  for (const KnownFolder folder :
       {KnownFolder::CommonAppData, KnownFolder::ProgramFiles, KnownFolder::ProgramFilesX86, KnownFolder::CommonDesktop}) {
    const std::wstring path = Files().KnownFolderPath(folder);
    SCOPED_TRACE(testing::Message() << "known folder " << static_cast<int>(folder));
    ASSERT_GT(path.size(), 3u);
    EXPECT_EQ(path.substr(1, 2), L":\\");
    EXPECT_NE(path.back(), L'\\');
  }
  EXPECT_TRUE(Files().KnownFolderPath(KnownFolder::CommonAppData).ends_with(L"\\ProgramData"));
}

// Windows keeps GENERIC_ALL in an inherit-only entry beside the mapped file rights; Wine stores
// the mapped rights only, and may list a grant to the group on a new folder already. Both list
// the grant by the group's account name once it is set.
TEST_F(FileSystemContract, EveryoneGetsAGrantThatTheListShowsByAccountName) {
  ASSERT_EQ(Files().CreateDirectory(At(L"shared")), CreateResult::Created);
  auto granted = [&] {
    const auto entries = Files().ExplicitAccessEntries(At(L"shared"));
    return entries && std::any_of(entries->begin(), entries->end(), [](const platform::AccessEntry& entry) {
             return entry.grants && entry.account == L"Everyone" && entry.trustee == platform::TrusteeForm::Sid &&
                    entry.accessMask != 0;
           });
  };
  ASSERT_TRUE(Files().ExplicitAccessEntries(At(L"shared")));
  EXPECT_TRUE(Files().SetInheritedAccess(At(L"shared"), L"EVERYONE", platform::kGenericAll));
  EXPECT_TRUE(granted());
  EXPECT_EQ(Files().ExplicitAccessEntries(At(L"missing")), std::nullopt);
  EXPECT_FALSE(Files().SetInheritedAccess(At(L"missing"), L"EVERYONE", platform::kGenericAll));
}

// A folder or file made with a list of its own is made only when it is new, and nobody but the
// accounts granted shows in its list. Wine keeps such a list only as far as the file mode can
// express it: an account granted nothing, Everyone here, is missing there as well.
TEST_F(FileSystemContract, ProtectedFoldersAndFilesAreNewAndGrantOnlyTheirAccounts) {
  const std::vector<platform::AccessGrant> administrators = {
      {platform::WellKnownAccount::System, platform::kGenericAll},
      {platform::WellKnownAccount::Administrators, platform::kGenericAll}};
  const auto grantsEveryone = [&](std::wstring_view path) {
    const auto entries = Files().ExplicitAccessEntries(path);
    return !entries || std::any_of(entries->begin(), entries->end(), [](const platform::AccessEntry& entry) {
      return entry.grants && entry.sid == L"S-1-1-0";
    });
  };
  ASSERT_EQ(Files().CreateProtectedDirectory(At(L"own"), administrators), CreateResult::Created);
  EXPECT_EQ(Files().CreateProtectedDirectory(At(L"own"), administrators), CreateResult::AlreadyExists);
  EXPECT_FALSE(grantsEveryone(At(L"own")));
  const std::wstring batch = At(L"own\\run.bat");
  ASSERT_EQ(Files().CreateProtectedFile(batch, administrators, "@ECHO OFF\n"), CreateResult::Created);
  EXPECT_EQ(Files().ReadFile(batch), std::optional<std::string>("@ECHO OFF\n"));
  EXPECT_FALSE(grantsEveryone(batch));
  EXPECT_EQ(Files().CreateProtectedFile(batch, administrators, "other"), CreateResult::AlreadyExists);
  EXPECT_EQ(Files().ReadFile(batch), std::optional<std::string>("@ECHO OFF\n"));
  EXPECT_EQ(Files().CreateProtectedFile(At(L"missing\\run.bat"), administrators, "x"), CreateResult::Failed);
}

TEST_F(FileSystemContract, AnsiTextUsesTheWesternCodePage) {
  EXPECT_EQ(Files().ToAnsi(L"Setup 2024"), "Setup 2024");
  EXPECT_EQ(Files().ToAnsi(L"Gr\u00FC\u00DFe"), "Gr\xFC\xDF" "e");
  EXPECT_EQ(Files().ToAnsi(L"\u65E5"), "?");
  EXPECT_EQ(Files().ToAnsi(L""), "");
}

}  // namespace
}  // namespace setup::contracts
