#include "packages/default_install_folder.h"

#include <gtest/gtest.h>

#include <map>

namespace setup {
namespace {

using platform::KnownFolder;

// A file system that knows only its special folders, enough for the install-folder rule.
class KnownFoldersOnly : public platform::FileSystem {
 public:
  explicit KnownFoldersOnly(std::map<KnownFolder, std::wstring> folders) : folders_(std::move(folders)) {}

  std::wstring KnownFolderPath(KnownFolder folder) const override {
    const auto found = folders_.find(folder);
    return found == folders_.end() ? std::wstring() : found->second;
  }

  std::unique_ptr<platform::WritableFile> OpenForWriting(std::wstring_view, platform::OpenMode) override {
    return nullptr;
  }
  std::unique_ptr<platform::FileStream> OpenStream(std::wstring_view, std::uint32_t, std::uint32_t,
                                                   platform::StreamDisposition) override {
    return nullptr;
  }
  std::optional<platform::FileAttributes> Attributes(std::wstring_view) const override { return std::nullopt; }
  bool SetReadOnly(std::wstring_view, bool) override { return false; }
  std::vector<platform::DirectoryEntry> List(std::wstring_view, std::wstring_view) const override { return {}; }
  platform::DeleteResult DeleteFile(std::wstring_view) override { return platform::DeleteResult::Failed; }
  bool RemoveDirectory(std::wstring_view) override { return false; }
  platform::CreateResult CreateDirectory(std::wstring_view) override { return platform::CreateResult::Failed; }
  bool CopyFile(std::wstring_view, std::wstring_view, bool) override { return false; }
  std::optional<std::uint64_t> FileSize(std::wstring_view) const override { return std::nullopt; }
  platform::FolderSizes SumFolder(std::wstring_view, const std::atomic<bool>&) const override { return {}; }
  std::optional<std::uint64_t> VolumeFreeBytes(std::wstring_view) const override { return std::nullopt; }
  bool IsRegularDiskFile(std::wstring_view) const override { return false; }
  std::optional<platform::FileVersionNumbers> FileVersion(std::wstring_view) const override { return std::nullopt; }
  std::optional<std::string> ReadFile(std::wstring_view) const override { return std::nullopt; }
  bool WriteFile(std::wstring_view, std::string_view) override { return false; }
  std::wstring CurrentFolder() const override { return {}; }
  std::string ToAnsi(std::wstring_view) const override { return {}; }
  std::wstring FromAnsi(std::string_view) const override { return {}; }

 private:
  std::map<KnownFolder, std::wstring> folders_;
};

// What the shipped 32-bit launcher is handed on 64-bit Windows: both folders carry " (x86)".
const KnownFoldersOnly kThirtyTwoBitProcessOn64BitWindows({
    {KnownFolder::ProgramFiles, L"C:\\Program Files (x86)"},
    {KnownFolder::ProgramFilesX86, L"C:\\Program Files (x86)"},
});

std::wstring FolderOf(std::wstring_view id, std::wstring_view version, bool is64Bit = false, bool fromSuite = false,
                      const platform::FileSystem& files = kThirtyTwoBitProcessOn64BitWindows, bool systemIs64Bit = true) {
  return DefaultInstallFolder(ProductRecord(id, version, is64Bit, L"", fromSuite), files, systemIs64Bit);
}

TEST(DefaultInstallFolder, ThirtyTwoAndSixtyFourBitProgramFiles) {
  EXPECT_EQ(FolderOf(L"QB::P", L"2023"), L"C:\\Program Files (x86)\\Tarquel\\Quibrix2023");
  EXPECT_EQ(FolderOf(L"PS::A", L"7.2", true), L"C:\\Program Files\\Tarquel\\PellomarServer");
}

TEST(DefaultInstallFolder, AsksForTheThirtyTwoBitFolderOnlyForThirtyTwoBitProductsOn64BitWindows) {
  const KnownFoldersOnly files({{KnownFolder::ProgramFiles, L"C:\\Native"}, {KnownFolder::ProgramFilesX86, L"C:\\X86"}});
  EXPECT_EQ(FolderOf(L"QB::P", L"2023", false, false, files, true), L"C:\\X86\\Tarquel\\Quibrix2023");
  EXPECT_EQ(FolderOf(L"QB::P", L"2023", true, false, files, true), L"C:\\Native\\Tarquel\\Quibrix2023");
  EXPECT_EQ(FolderOf(L"QB::P", L"2023", false, false, files, false), L"C:\\Native\\Tarquel\\Quibrix2023");
}

TEST(DefaultInstallFolder, FolderNamesAndVersionsByProduct) {
  const struct {
    const wchar_t* id;
    const wchar_t* version;
    bool fromSuite;
    const wchar_t* folder;
  } cases[] = {
      {L"PD::Z", L"8.2", false, L"PellomarDesigner8.2"},
      {L"PD::Z", L"7.1", false, L"PellomarDesigner7"},
      {L"CB::E", L"2023", false, L"Corbiel2023"},
      {L"CB::IntegrationPackage::E", L"2023", false, L"Corbiel2023"},
      {L"QB::IntegrationPackage::E,P", L"2023", false, L"Quibrix2023"},
      {L"TR::AddOn_HL7", L"2023", false, L"Trandel2023"},
      {L"TQ::P", L"2023", false, L"Trandel2023"},
      {L"TV::A", L"2023", false, L"TrandelServer2023"},
      {L"MB::Z", L"2024", true, L"Mebrant2024"},
      {L"MB::Z", L"2024", false, L"MebrantClient2024"},
      {L"MB::S", L"2024", true, L"MebrantServer2024"},
      {L"PS::Z", L"7.2", false, L"PellomarServer"},
      {L"YS::L", L"2023", false, L"YarrickXBRLServer2023"},
      {L"TAX_XBRL::Z", L"2023", false, L"YarrickXBRLServer2023"},
      {L"YS::M", L"2023", false, L"YarrickServer2023"},
      {L"YQ::M", L"2023", false, L"YarrickServerDev2023"},
      {L"WK::N", L"3.1", false, L"Wendrak"},
      {L"WK::F", L"3.1", false, L"WendrakOffline"},
      {L"YX::I", L"2023", false, L"NistaAddInForExcel2023"},
      {L"GM::R", L"2023", false, L"Grelmax2023"},
      {L"SG::Z", L"2023", false, L"SorvikServer2023"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderOf(c.id, c.version, false, c.fromSuite),
              std::wstring(L"C:\\Program Files (x86)\\Tarquel\\") + c.folder)
        << c.id;
  }
}

TEST(DefaultInstallFolder, EmptyWithoutFamilyEntryOrProgramFiles) {
  EXPECT_EQ(FolderOf(L"FD::E", L"2023"), L"");
  EXPECT_EQ(FolderOf(L"FD::P", L"2023", false, true), L"");
  EXPECT_EQ(FolderOf(L"XX::Y", L"2023"), L"");
  const KnownFoldersOnly nothing({});
  EXPECT_EQ(FolderOf(L"QB::P", L"2023", false, false, nothing), L"");
}

}  // namespace
}  // namespace setup
