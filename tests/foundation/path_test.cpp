#include "foundation/path.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

TEST(FolderPath, RootsComponentsAndStringForms) {
  const ICBSFolderPath drive(L"C:\\ProgramData/Tarquel\\\\{A}\\");
  EXPECT_EQ(drive.Root(), L"C:");
  EXPECT_EQ(drive.Components(), (std::vector<std::wstring>{L"ProgramData", L"Tarquel", L"{A}"}));
  EXPECT_EQ(drive.String(false), L"C:\\ProgramData/Tarquel\\\\{A}");
  EXPECT_EQ(drive.String(true), L"C:\\ProgramData/Tarquel\\\\{A}\\");

  const ICBSFolderPath network(L"//server/share\\dir");
  EXPECT_EQ(network.Root(), L"\\\\server");
  EXPECT_EQ(network.Components(), (std::vector<std::wstring>{L"share", L"dir"}));

  const ICBSFolderPath relative(L"a\\b");
  EXPECT_EQ(relative.Root(), L"");
  EXPECT_EQ(relative.Components(), (std::vector<std::wstring>{L"a", L"b"}));

  EXPECT_EQ(ICBSFolderPath(L"C:\\").String(true), L"C:\\");
  EXPECT_EQ(ICBSFolderPath(L"").String(true), L"");
}

TEST(FilePath, NamePartsAndFolder) {
  const ICBSFilePath file(L"C:\\dir.v2/sub\\archive.tar.gz");
  EXPECT_EQ(file.FileName(), L"archive.tar.gz");
  EXPECT_EQ(file.BaseName(), L"archive.tar");
  EXPECT_EQ(file.Extension(), L"gz");
  EXPECT_EQ(file.Folder().Text(), L"C:\\dir.v2/sub");

  const ICBSFilePath bare(L"README");
  EXPECT_EQ(bare.FileName(), L"README");
  EXPECT_EQ(bare.BaseName(), L"README");
  EXPECT_EQ(bare.Extension(), L"");
  EXPECT_EQ(bare.Folder().Text(), L"");

  EXPECT_EQ(ICBSFilePath(ICBSFolderPath(L"C:\\Temp\\"), L"setup", L"log").FullText(), L"C:\\Temp\\setup.log");
  EXPECT_EQ(ICBSFilePath(ICBSFolderPath(L"C:\\Temp"), L"setup.exe").FullText(), L"C:\\Temp\\setup.exe");
}

}  // namespace
}  // namespace setup
