// The backup page's rules without windows: the server's configuration lines, the free-space
// rule, the sizes shown, the warning and the properties.
#include <gtest/gtest.h>

#include "server_config/backup_options.h"
#include "support/run_fixture.h"

namespace setup::testing {
namespace {

constexpr wchar_t kDefault[] = L"C:\\Data\\SolutionFiles";

struct ConfigurationCase {
  const char* name;
  std::vector<std::wstring> lines;
  BackupConfiguration expected;
};

TEST(BackupConfiguration, SolutionsFolderAnywhereAndAvoidBackupOnlyInTheInstallerSection) {
  const ConfigurationCase cases[] = {
      {"nothing said", {L"[server]", L"port=8080"}, {kDefault, false}},
      {"avoid-backup in the installer section", {L"  [Installer] ", L"\tavoidbackuponupgrade = 1"}, {kDefault, true}},
      {"avoid-backup outside it has no effect", {L"[server]", L"avoidbackuponupgrade=1"}, {kDefault, false}},
      {"a later section ends the installer section",
       {L"[installer]", L"[server]", L"avoidbackuponupgrade=1"}, {kDefault, false}},
      {"avoid-backup without a 1", {L"[installer]", L"avoidbackuponupgrade=0"}, {kDefault, false}},
      {"solutions folder in any section, trimmed", {L"[server]", L"solutionsworkingdir = \tD:\\Solutions \t"},
       {L"D:\\Solutions", false}},
      {"the text after the first equals sign", {L"solutionsworkingdir=D:\\a=b"}, {L"D:\\a=b", false}},
  };
  for (const ConfigurationCase& test : cases) {
    SCOPED_TRACE(test.name);
    const BackupConfiguration read = ParseBackupConfiguration(test.lines, kDefault);
    EXPECT_EQ(read.solutionsFolder, test.expected.solutionsFolder);
    EXPECT_EQ(read.avoidBackup, test.expected.avoidBackup);
  }
}

TEST(BackupSpace, TheBackupNeedsItsSizeAndFourGigabytesMore) {
  constexpr std::uint64_t kMb = kBytesPerMegabyte;
  EXPECT_TRUE(BackupSpaceShort(6144, 3072 * kMb)) << "3072 + 4096 > 6144";
  EXPECT_FALSE(BackupSpaceShort(7168, 3072 * kMb)) << "exactly enough";
  EXPECT_TRUE(BackupSpaceShort(7167, 3072 * kMb));
  EXPECT_FALSE(BackupSpaceShort(7168, 3073 * kMb - 1)) << "a part of a MB does not count";
  EXPECT_TRUE(BackupSpaceShort(4095, 0));
  EXPECT_FALSE(BackupSpaceShort(0xFFFFFFFF, 0));
}

class BackupTextTest : public RunTest {};

TEST_F(BackupTextTest, SizesAboveOneGigabyteShowInWholeGigabytes) {
  const LanguageCatalog& languages = Run().languages;
  const std::pair<std::uint64_t, const wchar_t*> cases[] = {
      {0, L"0 MB"}, {1024, L"1024 MB"}, {1025, L"1 GB"}, {2047, L"1 GB"}, {3072, L"3 GB"}, {6144, L"6 GB"},
  };
  for (const auto& [megabytes, text] : cases) EXPECT_EQ(MegabytesText(languages, megabytes), text) << megabytes;
  languages_.SelectByName(L"French");
  EXPECT_EQ(MegabytesText(languages, 3072), L"3 Go");
}

TEST_F(BackupTextTest, TheWarningNamesEveryRiskyChoice) {
  const LanguageCatalog& languages = Run().languages;
  const std::wstring skip = languages.Text(IDS_BACKUP_WARN_SKIP);
  const std::wstring reset = languages.Text(IDS_BACKUP_WARN_RESET);
  EXPECT_EQ(skip, L"You chose the \"Skip Backup\" option.\nA backup keeps a copy of your database and enables you to "
                  L"step back to your previous version of Pellomar Server.");
  EXPECT_EQ(BackupWarning(languages, {}), L"");
  EXPECT_EQ(BackupWarning(languages, {true, false, false, false}), skip);
  EXPECT_EQ(BackupWarning(languages, {false, true, false, false}), reset);
  EXPECT_EQ(BackupWarning(languages, {true, true, false, false}), skip + L"\n\n" + reset);
}

TEST(BackupPropertyString, ItemsOfTheChoiceOneBlankApart) {
  const std::pair<BackupChoice, const wchar_t*> cases[] = {
      {{}, L""},
      {{true, false, false, false}, L"SKIP_BACKUP=true"},
      {{true, true, false, false}, L"RESET_DATABASE=true SKIP_BACKUP=true"},
      {{false, true, true, false}, L"RESET_DATABASE=true UPGRADE_SAMPLES_PARAM=--nosamples"},
      {{false, false, true, true}, L""},
      {{false, false, false, false}, L""},
  };
  for (const auto& [choice, expected] : cases) EXPECT_EQ(BackupProperties(choice), expected);
}

}  // namespace
}  // namespace setup::testing
