#include "foundation/path.h"

#include <gtest/gtest.h>

#include "foundation/text.h"

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

TEST(NormalisedPath, SpellingsOfOneFolderCompareEqual) {
  const std::wstring base = NormalisedPath(L"C:\\ProgramData\\Tarquel");
  EXPECT_EQ(base, L"c:\\programdata\\tarquel");
  EXPECT_EQ(NormalisedPath(L"C:/ProgramData//Tarquel/"), base);
  EXPECT_EQ(NormalisedPath(L"C:\\ProgramData\\Tarquel\\..."), base);
  EXPECT_EQ(NormalisedPath(L"C:\\ProgramData\\Tarquel\\. "), base);
  EXPECT_EQ(NormalisedPath(L"C:\\ProgramData\\Tarquel\\.. "), L"c:\\programdata");
  EXPECT_EQ(NormalisedPath(L"C:\\ProgramData\\Tarquel\\{A}.\\..\\{B} "), base + L"\\{b}");
  EXPECT_EQ(NormalisedPath(L"C:\\..\\..\\Windows"), L"c:\\windows");
  EXPECT_EQ(NormalisedPath(L"\\\\Server\\Share\\x."), L"\\\\server\\share\\x");
}

TEST(NamesDevice, DeviceNamesInAnyFolderAndWithAnyExtension) {
  for (const wchar_t* device : {L"NUL", L"nul", L"CON", L"PRN", L"AUX", L"COM1", L"com9", L"LPT1", L"CONIN$",
                                L"C:\\x\\NUL", L"C:\\x\\nul.txt", L"NUL.tar.gz", L"D:/y/COM1.json",
                                L"NUL ", L"CON .txt", L"C:NUL", L"COM\u00B9", L"\\\\.\\COM1",
                                L"\\\\.\\C:\\x.json", L"\\\\?\\GLOBALROOT\\Device\\Null"}) {
    EXPECT_TRUE(NamesDevice(device)) << ToUtf8(device);
  }
  for (const wchar_t* file : {L"C:\\x\\workload.json", L"NULL", L"nul1", L"COM10", L"LPT", L"CONSOLE.txt",
                              L"C:\\NUL\\file.json", L"\\\\?\\C:\\x\\w.json", L"\\\\?\\UNC\\s\\h\\w.json",
                              L"\\\\server\\share\\w.json", L"my.nul"}) {
    EXPECT_FALSE(NamesDevice(file)) << ToUtf8(file);
  }
}

}  // namespace
}  // namespace setup
