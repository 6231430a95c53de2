// The launcher runs elevated on machines where other users may have been before it: a base
// folder prepared by someone else is refused, and the clean-up at exit deletes nothing but
// package folders right below the base folder.
#include <filesystem>

#include "foundation/file_utilities.h"
#include "launcher_fixture.h"

namespace setup {
namespace {

using testing::kLogPath;
using testing::LauncherTest;

constexpr wchar_t kBase[] = L"C:\\ProgramData\\Tarquel";

class PackageFolderSafetyTest : public LauncherTest {
 protected:
  std::filesystem::path HostPath(std::wstring_view path) { return Host().Files().HostPath(path); }
};

TEST_F(PackageFolderSafetyTest, ABaseFolderThatIsALinkFailsTheRunWithoutGrantingAnything) {
  AddSinglePackageSetup();
  ICBSFileUtilities utilities(Host());
  utilities.CreateFolderTree(L"C:\\Windows\\System32");
  utilities.CreateFolderTree(L"C:\\ProgramData");
  std::filesystem::create_directory_symlink(HostPath(L"C:\\Windows\\System32"), HostPath(kBase));

  EXPECT_EQ(Run({L"/L", kLogPath}), kResultInstallFailed);
  EXPECT_TRUE(LogHas(L"TSL (c): Package folder root C:\\ProgramData\\Tarquel refused: it is a link or not owned "
                     L"by Administrators or SYSTEM.\r\nTSL (c): ERROR: Installation failed.\r\n"))
      << LogText();
  EXPECT_FALSE(LogHas(L"Reading package information"));
  EXPECT_TRUE(Host().Files().ExplicitAccessEntries(L"C:\\Windows\\System32")->empty());
  ASSERT_EQ(Host().Ui().messageBoxes.size(), 1u);
  EXPECT_TRUE(Host().Ui().messageBoxes[0].text.starts_with(L"The folder C:\\ProgramData\\Tarquel, which holds"))
      << ToUtf8(Host().Ui().messageBoxes[0].text);
  EXPECT_EQ(Host().Ui().messageBoxes[0].icon, platform::MessageBoxIcon::Error);
}

TEST_F(PackageFolderSafetyTest, ABaseFolderOfAnotherOwnerFailsAQuietRunWithoutABox) {
  AddSinglePackageSetup();
  ICBSFileUtilities(Host()).CreateFolderTree(kBase);
  Host().Files().SetOwnerSid(kBase, L"S-1-5-21-1-2-3-1001");
  EXPECT_EQ(Run({L"/qn", L"/L", kLogPath}), kResultInstallFailed);
  EXPECT_TRUE(LogHas(L"refused: it is a link or not owned by Administrators or SYSTEM.\r\n")) << LogText();
  EXPECT_TRUE(Host().Ui().messageBoxes.empty());
  EXPECT_TRUE(Host().Files().ExplicitAccessEntries(kBase)->empty());
}

TEST_F(PackageFolderSafetyTest, APackageCodeWithTrailingDotsGetsNoFolderAndTheBaseFolderSurvives) {
  AddSinglePackageSetup();
  Host().Resources().AddPackageText(L"PACKAGE_CODE_0", L"...");
  ICBSFileUtilities(Host()).CreateFolderTree(std::wstring(kBase) + L"\\{66666666-7777-8888-9999-000000000001}");
  CSetupApp& app = Start({L"/qn", L"/L", kLogPath});
  app.InitInstance();
  ASSERT_EQ(app.Context().packages.packages.size(), 1u);
  EXPECT_EQ(app.Context().packages.packages[0].packageFolder, L"");
  app.ExitInstance();
  EXPECT_FALSE(LogHas(L"Deleting MSI folder")) << LogText();
  EXPECT_TRUE(ICBSFileUtilities(Host()).FolderExists(std::wstring(kBase) + L"\\{66666666-7777-8888-9999-000000000001}"));
}

TEST_F(PackageFolderSafetyTest, TheCleanUpDeletesOnlyFoldersRightBelowTheBaseFolder) {
  ICBSFileUtilities utilities(Host());
  utilities.CreateFolderTree(L"C:\\Victim");
  Host().Files().WriteFile(L"C:\\Victim\\data.txt", "x");
  utilities.CreateFolderTree(std::wstring(kBase) + L"\\{A}");
  Host().Files().WriteFile(std::wstring(kBase) + L"\\{A}\\package.msi", "x");
  CSetupApp& app = Start({L"/L", kLogPath});
  for (const std::wstring& folder : {std::wstring(kBase) + L"\\{A}\\..\\..\\..\\Victim", std::wstring(kBase) + L"\\. ",
                                    std::wstring(kBase) + L"\\{A}"}) {
    SetupPackage package;
    package.productCode = L"{00000000-0000-0000-0000-000000000001}";
    package.packageFolder = folder;
    app.Context().packages.packages.push_back(package);
  }
  app.Context().packages.packages.front().main = true;
  app.Context().result.Record(kResultInstallFailed, 0, true);
  EXPECT_EQ(app.ExitInstance(), kResultInstallFailed);
  EXPECT_TRUE(utilities.FileExists(L"C:\\Victim\\data.txt"));
  EXPECT_TRUE(utilities.FolderExists(kBase));
  EXPECT_FALSE(utilities.FileExists(std::wstring(kBase) + L"\\{A}"));
  EXPECT_TRUE(LogHas(L"TSL (c): Deleting MSI folder C:\\ProgramData\\Tarquel\\{A}\r\n")) << LogText();
  EXPECT_FALSE(LogHas(L"Victim")) << LogText();
}

TEST_F(PackageFolderSafetyTest, NoSelfDeletingBatchForAMainFolderThatIsNotRightBelowTheBaseFolder) {
  ICBSFileUtilities(Host()).CreateFolderTree(kBase);
  CSetupApp& app = Start({L"/x"});
  for (const wchar_t* folder : {L"C:\\ProgramData\\Tarquel\\. ", L"C:\\ProgramData\\Tarquel\\{SUB}"}) {
    SetupPackage package;
    package.productCode = L"{00000000-0000-0000-0000-000000000001}";
    package.packageFolder = folder;
    app.Context().packages.packages.push_back(package);
  }
  app.Context().packages.packages.front().main = true;
  EXPECT_EQ(app.ExitInstance(), 0);
  EXPECT_FALSE(Host().Files().Attributes(L"C:\\ProgramData\\Tarquel\\SetupCleanup\\SelfDelete.bat").has_value());
  EXPECT_TRUE(Host().Processes().started.empty());
  EXPECT_TRUE(ICBSFileUtilities(Host()).FolderExists(kBase));
}

}  // namespace
}  // namespace setup
