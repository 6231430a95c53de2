// The backup page in a frame: when it shows, what the measurement sets, the example-solutions
// choice, the warning before Next, and Cancel while the measurement runs.
#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/file_utilities.h"
#include "resources/resource_ids.h"
#include "server_config/pm_options_wizard_page.h"
#include "wizard/general_pages_fixture.h"

namespace setup::testing {
namespace {

constexpr int kNext = platform::kIdOk;
constexpr int kCancel = platform::kIdCancel;
constexpr wchar_t kData[] = L"C:\\ProgramData\\Tarquel\\PellomarServer";

class PMOptionsPageTest : public GeneralPagesTest {
 protected:
  PMOptionsPageTest() { Start(); }

  void WriteFile(const std::wstring& path, std::string_view text) {
    ASSERT_TRUE(ICBSFileUtilities(host_).CreateFolderTree(path.substr(0, path.rfind(L'\\'))));
    ASSERT_TRUE(host_.Files().WriteFile(path, text));
  }
  // A database of `megabytes` that takes no room on the host disk.
  void WriteDatabase(std::uintmax_t megabytes) {
    WriteFile(std::wstring(kData) + L"\\pellomar.db", "");
    std::filesystem::resize_file(host_.Files().HostPath(std::wstring(kData) + L"\\pellomar.db"),
                                 megabytes * kBytesPerMegabyte);
  }
  // Welcome (a test page), the backup page, SystemIntegrity (a test page) and Finish, in a new
  // frame.
  PMOptionsWizardPage& BackupFrame() {
    packages_.packages.clear();
    pages_.clear();
    AddPackage(L"PS::Z", L"2024.0.0.0", L"Tarquel Pellomar Server 2024");
    NewFrame();
    AddTestPage(L"Welcome");
    PMOptionsWizardPage& page = AddPage<PMOptionsWizardPage>(cancel_);
    AddTestPage(L"SystemIntegrity");
    AddTestPage(L"Finish");
    return page;
  }
  platform::WindowHandle PageControl(const WizardPageBase& page, int id) { return Gui().FindControl(page.Window(), id); }
  bool Checked(const WizardPageBase& page, int id) { return Gui().IsChecked(PageControl(page, id)); }
  bool Shown(const WizardPageBase& page, int id) { return Gui().IsShown(PageControl(page, id)); }

  std::atomic<bool> cancel_ = false;
};

TEST_F(PMOptionsPageTest, ShortSpaceChecksSkipBackupAndTheSizesShowInGigabytes) {
  WriteFile(std::wstring(kData) + L"\\pellomarserver.cfg", "[server]\n");
  WriteDatabase(3072);
  host_.Files().freeSpace = 6144 * kBytesPerMegabyte;
  PMOptionsWizardPage& page = BackupFrame();
  Press(kNext);
  While([&] {
    EXPECT_EQ(ShownPage(), L"");
    EXPECT_TRUE(Gui().IsShown(page.Window()));
    EXPECT_EQ(ShownTexts(page),
              (std::vector<std::wstring>{
                  L"Preparing installers...",
                  L"The installer can create a backup of your existing Pellomar Server data files.",
                  L"Size of backup:", L"3 GB", L"Available on disk:", L"6 GB", L"Skip backup", L"Reset Database",
                  L"This option will delete the Pellomar database of your previous installation and create a new "
                  L"database for you"}));
    EXPECT_TRUE(Checked(page, IDC_BACKUP_SKIP));
    EXPECT_TRUE(ButtonEnabled(kNext));
  });
  Press(kNext);
  Press(kNext);
  Press(kNext);
  frame_->DoModal();
  EXPECT_EQ(frame_->backupProperties, L"SKIP_BACKUP=true");
  ASSERT_EQ(Host().Ui().askedBoxes.size(), 1u);
  EXPECT_EQ(Host().Ui().askedBoxes[0].style, 0x31u);
  EXPECT_NE(LogText().find(L"TSL (c): CreatedBackupWorkerThread\r\n"), std::wstring::npos);
  EXPECT_EQ(result_.kind, kResultSuccess);
}

TEST_F(PMOptionsPageTest, EnoughSpaceLeavesTheBackupOnUnlessTheInstallerSectionAvoidsIt) {
  const std::pair<const char*, bool> cases[] = {
      {"[installer]\navoidbackuponupgrade=1\n", true},
      {"[server]\navoidbackuponupgrade=1\n", false},
  };
  for (const auto& [configuration, skipped] : cases) {
    SCOPED_TRACE(configuration);
    ICBSFileUtilities(host_).DeleteFolderTree(kData);
    // The cancel of the case before is no longer pending.
    result_ = SetupResult();
    WriteFile(std::wstring(kData) + L"\\pellomarserver.cfg", configuration);
    WriteDatabase(1024);
    host_.Files().freeSpace = 10000 * kBytesPerMegabyte;
    PMOptionsWizardPage& page = BackupFrame();
    Press(kNext);
    While([&] {
      EXPECT_EQ(Checked(page, IDC_BACKUP_SKIP), skipped);
      EXPECT_EQ(ShownTexts(page)[3], L"1024 MB");
    });
    Press(kCancel);
    Press(kCancel);
    frame_->DoModal();
    // A cancel on this page is the user's exit, as on any other.
    EXPECT_EQ(result_.kind, kResultUserCancelled);
  }
}

TEST_F(PMOptionsPageTest, ResetDatabaseOffersTheExampleSolutionsAndWarnsBeforeNext) {
  WriteFile(std::wstring(kData) + L"\\pellomarserver.cfg", "");
  WriteDatabase(1);
  PMOptionsWizardPage& page = BackupFrame();
  Press(kNext);
  While([&] {
    EXPECT_FALSE(Shown(page, IDC_BACKUP_SAMPLES));
    Gui().Click(PageControl(page, IDC_BACKUP_RESET_DATABASE));
    EXPECT_TRUE(Shown(page, IDC_BACKUP_SAMPLES));
    Gui().Click(PageControl(page, IDC_BACKUP_RESET_DATABASE));
    EXPECT_FALSE(Shown(page, IDC_BACKUP_SAMPLES));
    Gui().Click(PageControl(page, IDC_BACKUP_RESET_DATABASE));
    Gui().Click(PageControl(page, IDC_BACKUP_SAMPLES));
    Host().Ui().answer = platform::kDialogCancel;
  });
  // Cancel in the warning keeps the page.
  Press(kNext);
  While([&] {
    EXPECT_TRUE(Gui().IsShown(page.Window()));
    Host().Ui().answer = platform::kDialogOk;
  });
  Press(kNext);
  Press(kNext);
  Press(kNext);
  frame_->DoModal();
  ASSERT_EQ(Host().Ui().askedBoxes.size(), 2u);
  EXPECT_EQ(Host().Ui().askedBoxes[1].text, Run().languages.Text(IDS_BACKUP_WARN_RESET));
  EXPECT_EQ(frame_->backupProperties, L"RESET_DATABASE=true UPGRADE_SAMPLES_PARAM=--nosamples");
}

TEST_F(PMOptionsPageTest, WithoutConfigurationOnlyTheExampleSolutionsAreOffered) {
  PMOptionsWizardPage& page = BackupFrame();
  Press(kNext);
  While([&] {
    EXPECT_EQ(ShownTexts(page),
              (std::vector<std::wstring>{L"Preparing installers...",
                                         L"The installer can integrate example solutions into the server database.",
                                         L"Install example solutions"}));
    EXPECT_TRUE(Checked(page, IDC_BACKUP_SAMPLES));
  });
  Press(kNext);
  Press(kNext);
  Press(kNext);
  frame_->DoModal();
  EXPECT_EQ(frame_->backupProperties, L"");
  EXPECT_TRUE(Host().Ui().askedBoxes.empty());
}

TEST_F(PMOptionsPageTest, PassesByWhenThereIsNothingToOfferOrTheRunIsNoFreshInstall) {
  const std::pair<const char*, std::vector<std::wstring>> cases[] = {
      {"a database without configuration", {L"/L*v", kLogPath}},
      {"a repair", {L"/L*v", kLogPath, L"/f"}},
      {"a quiet run", {L"/L*v", kLogPath, L"/qn"}},
  };
  WriteDatabase(1);
  for (const auto& [name, arguments] : cases) {
    SCOPED_TRACE(name);
    Start(arguments);
    result_ = SetupResult();
    Gui().idleActions.clear();
    if (arguments.size() > 2) WriteFile(std::wstring(kData) + L"\\pellomarserver.cfg", "");
    BackupFrame();
    Press(kNext);
    Press(kNext);
    Press(kNext);
    frame_->DoModal();
    const auto lines = PageLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"Activating dialog Finish"), lines.end());
    EXPECT_EQ(LogText().find(L"CreatedBackupWorkerThread"), std::wstring::npos);
  }
}

TEST_F(PMOptionsPageTest, CancelWhileMeasuringStopsTheWorkerAndTheUserExitFollows) {
  WriteFile(std::wstring(kData) + L"\\pellomarserver.cfg", "");
  for (int folder = 0; folder < 50; ++folder) {
    WriteFile(std::wstring(kData) + L"\\SolutionFiles\\F" + std::to_wstring(folder) + L"\\s.zip", "x");
  }
  PMOptionsWizardPage& page = BackupFrame();
  LateClick cancel([&] { Gui().Click(Control(kCancel)); });
  std::vector<std::wstring> afterCancel;
  While([&] {
    platform::ControlSpec spec;
    spec.kind = platform::ControlKind::Window;
    const platform::WindowHandle clicker = Gui().CreateControl(Control(IDC_PAGE_AREA), spec, &cancel);
    Gui().Post(clicker, platform::kUserMessage + 9, 0, 0);
    Gui().Click(Control(kNext));
  });
  While([&] {
    EXPECT_TRUE(Gui().IsShown(page.Window()));
    EXPECT_EQ(ShownTexts(page)[2], L"Size of backup:");
  });
  Press(kNext);
  While([&] { afterCancel.push_back(ShownPage()); });
  Press(kNext);
  frame_->DoModal();
  EXPECT_TRUE(cancel_);
  EXPECT_EQ(result_.kind, kResultUserCancelled);
  EXPECT_EQ(afterCancel, std::vector<std::wstring>{L"Finish"});
  EXPECT_NE(LogText().find(L"TSL (c): Worker-thread stopped\r\n"), std::wstring::npos);
}

}  // namespace
}  // namespace setup::testing
