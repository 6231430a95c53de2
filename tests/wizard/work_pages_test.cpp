// The unpack, install and finish pages in a frame on the host: packages unpacked from their
// cabinets by the worker thread, installed by the host installer, and the outcome told.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>

#include "foundation/file_utilities.h"
#include "run/log_lines.h"
#include "support/test_cabinets.h"
#include "wizard/finish_wizard_page.h"
#include "wizard/install_wizard_page.h"
#include "wizard/system_integrity_wizard_page.h"
#include "wizard/unpack_wizard_page.h"
#include "wizard/wizard_fixture.h"

namespace setup {
namespace {

using testing::CabinetFile;
using testing::LateClick;

std::wstring ProductCode(int index) { return Format(L"{AAAAAAA%d-0000-0000-0000-000000000001}", index); }
std::wstring PackageCode(int index) { return Format(L"{BBBBBBB%d-0000-0000-0000-000000000001}", index); }
std::wstring PackageFolder(int index) { return L"C:\\ProgramData\\Tarquel\\" + PackageCode(index); }

class WorkPagesTest : public testing::WizardTest {
 protected:
  // `count` MSI packages, each a cabinet with its ".msi" that installs its own product.
  void AddPackages(int count) {
    for (int i = 0; i < count; ++i) {
      const std::wstring msi = Format(L"package%d.msi", i);
      const std::string cabinet = testing::PackedCabinet(temp_.Path() / "cabinets" / std::to_string(i),
                                                         {CabinetFile{ToUtf8(msi), platform::host::HostPlatform::PackageFileBytes(PackageCode(i))}});
      Host().Resources().AddPackageResource(Format(L"PACKAGE_%d", i), 1033,
                                            testing::PackageResource(cabinet, static_cast<std::uint32_t>(cabinet.size())));
      SetupPackage package;
      package.main = i == 0;
      package.productName = Format(L"Tarquel Product %d", i);
      package.productCode = ProductCode(i);
      package.packageCode = PackageCode(i);
      package.productId = L"QB::P";
      package.is64Bit = true;
      package.dataName = Format(L"PACKAGE_%d", i);
      package.transformPattern = Format(L"PACKAGE_%d_%%s", i);
      package.packageFolder = PackageFolder(i);
      package.handle = true;
      packages_.packages.push_back(package);
      Host().Installer().AddPackageFile(PackageFolder(i) + L"\\" + msi, {ProductCode(i), {{L"PackageCode", PackageCode(i)}}});
    }
    Host().Resources().AddPackageText(L"PRODUCT_NAME_0", L"Tarquel Product 0");
  }

  // The frame with the pages of an MSI run: a start page to press Next on, unpack, install,
  // the empty entry of a single package, finish.
  CWizardDialog& WorkFrame(bool withStartPage = true) {
    CWizardDialog& frame = Frame(withStartPage ? std::vector<std::wstring>{L"Start"} : std::vector<std::wstring>{});
    frame.AddPage(std::make_unique<UnpackWizardPage>(frame, cancel_));
    frame.AddPage(std::make_unique<InstallWizardPage>(frame, quickInstall_, nullptr));
    if (packages_.packages.size() <= 1) frame.AddEmptyEntry();
    frame.AddFinishPage(std::make_unique<FinishWizardPage>(frame, quickInstall_));
    return frame;
  }

  // The texts shown on the pages, in creation order.
  std::vector<std::wstring> ShownTexts() {
    std::vector<std::wstring> texts;
    CollectTexts(Gui().FindControl(Gui().ActiveDialog(), IDC_PAGE_AREA), texts);
    return texts;
  }
  void CollectTexts(platform::WindowHandle window, std::vector<std::wstring>& texts) {
    const platform::host::HostWindow& info = Gui().Window(window);
    if (!info.visible) return;
    if ((info.kind == platform::host::HostWindowKind::StaticText || info.kind == platform::host::HostWindowKind::CheckBox) &&
        !info.text.empty()) {
      texts.push_back(info.text);
    }
    for (const platform::WindowHandle child : info.children) CollectTexts(child, texts);
  }
  std::wstring NextLabel() { return Gui().Text(Control(platform::kIdOk)); }

  std::atomic<bool> cancel_ = false;
};

TEST_F(WorkPagesTest, AnAttendedRunUnpacksInstallsAndTellsTheSuccessOnTheFinishPage) {
  AddPackages(2);
  CWizardDialog& frame = WorkFrame();
  Press(platform::kIdOk);
  std::vector<std::wstring> finishTexts;
  While([&] { finishTexts = ShownTexts(); });
  Press(platform::kIdOk);
  EXPECT_EQ(frame.DoModal(), platform::kDialogOk);

  EXPECT_EQ(result_.kind, kResultSuccess);
  EXPECT_TRUE(Host().Installer().FindProduct(ProductCode(0)));
  EXPECT_TRUE(Host().Installer().FindProduct(ProductCode(1)));
  EXPECT_EQ(finishTexts, (std::vector<std::wstring>{L"Setup completed", L"Setup has successfully installed Tarquel Product 0.",
                                                    L"Click Finish to exit the wizard."}));
  EXPECT_EQ(PageLines(), (std::vector<std::wstring>{
                             L"Deactivating dialog Start", L"Deactivating dialog UnpackMSIFromEXE",
                             L"Deactivating dialog Install (hidden)", L"Deactivating dialog Finish",
                             L"Activating dialog Start", L"Deactivating dialog Start",
                             L"Activating dialog UnpackMSIFromEXE", L"Deactivating dialog UnpackMSIFromEXE",
                             L"Activating dialog Install (hidden)", L"Deactivating dialog Install (hidden)",
                             L"Activating dialog Finish", L"Deactivating dialog Finish"}));
  const std::wstring log = LogText();
  EXPECT_NE(log.find(L"TSL (c): Created SetupWorkerThread\r\n"), std::wstring::npos);
  EXPECT_NE(log.find(L"TSL (c): Worker-thread stopped\r\n"), std::wstring::npos);
}

// The worker hands the detail line over as a posted message and never touches the page's
// windows itself: a Cancel that waits for the worker on the page's thread cannot deadlock.
TEST_F(WorkPagesTest, TheDetailLineAndTheProgressReachThePageAsPostedMessages) {
  AddPackages(2);
  CWizardDialog& frame = WorkFrame();
  Press(platform::kIdOk);
  int barPosition = -1;
  While([&] {
    EXPECT_EQ(NextLabel(), L"&Finish");
    barPosition = Gui().Window(Gui().FindControl(Gui().ActiveDialog(), IDC_UNPACK_PROGRESS)).progressPosition;
  });
  frame.DoModal();

  int details = 0;
  int finalProgress = 0;
  for (const auto& posted : Host().Ui().PostedMessages()) {
    if (posted.message == kUnpackDetailMessage) ++details;
    if (posted.message == kUnpackProgressMessage) finalProgress = static_cast<int>(posted.wParam);
  }
  EXPECT_EQ(details, 2);
  EXPECT_EQ(finalProgress, kUnpackProgressRange);
  EXPECT_EQ(barPosition, kUnpackProgressRange);
}

TEST_F(WorkPagesTest, CancelDuringUnpackingEndsAbortedWithTheUserExit) {
  AddPackages(2);
  CWizardDialog& frame = WorkFrame();
  LateClick cancel([&] { Gui().Click(Control(platform::kIdCancel)); });
  std::vector<std::wstring> finishTexts;
  While([&] {
    // Queued before Next: the unpack page takes it from the queue while the worker runs.
    platform::ControlSpec spec;
    spec.kind = platform::ControlKind::Window;
    const platform::WindowHandle clicker = Gui().CreateControl(Control(IDC_PAGE_AREA), spec, &cancel);
    Gui().Post(clicker, platform::kUserMessage + 9, 0, 0);
    Gui().Click(Control(platform::kIdOk));
  });
  While([&] { finishTexts = ShownTexts(); });
  Press(platform::kIdOk);
  EXPECT_EQ(frame.DoModal(), platform::kDialogOk);

  EXPECT_EQ(result_.kind, kResultUserCancelled);
  EXPECT_TRUE(cancel_);
  EXPECT_TRUE(Host().Installer().installCalls.empty());
  ASSERT_FALSE(finishTexts.empty());
  EXPECT_EQ(finishTexts[0], L"Setup aborted");
}

TEST_F(WorkPagesTest, AFailedInstallationShowsTheFailureTextsAndNoToolOffer) {
  AddPackages(2);
  packages_.packages[0].productName = L"Tarquel Trandel Server 2024";
  Host().Installer().SetResult(PackageFolder(0) + L"\\package0.msi", 1603);
  CWizardDialog& frame = WorkFrame();
  Press(platform::kIdOk);
  std::vector<std::wstring> finishTexts;
  While([&] { finishTexts = ShownTexts(); });
  Press(platform::kIdOk);
  frame.DoModal();
  EXPECT_EQ(result_.kind, kResultInstallFailed);
  EXPECT_EQ(finishTexts, (std::vector<std::wstring>{
                             L"Setup aborted",
                             L"The wizard was interrupted before Tarquel Trandel Server 2024 could be completely installed.",
                             L"To install this program at a later time, please run the installation again.",
                             L"Click Finish to exit the wizard."}));
}

TEST_F(WorkPagesTest, OneSuccessfulPackageEndsAfterTheInstallPageWithoutTheFinishPage) {
  AddPackages(1);
  CWizardDialog& frame = WorkFrame(false);
  EXPECT_EQ(frame.DoModal(), platform::kDialogOk);
  EXPECT_EQ(result_.kind, kResultSuccess);
  EXPECT_EQ(LogText().find(L"Activating dialog Finish"), std::wstring::npos);
}

TEST_F(WorkPagesTest, AnUnattendedRunWalksEveryPageWithTheFrameHidden) {
  Start({L"/L*v", testing::kLogPath, L"/qn"});
  AddPackages(2);
  CWizardDialog& frame = WorkFrame(false);
  EXPECT_EQ(frame.DoModal(), platform::kDialogOk);
  EXPECT_EQ(result_.kind, kResultSuccess);
  EXPECT_EQ(PageLines(), (std::vector<std::wstring>{
                             L"Deactivating dialog UnpackMSIFromEXE", L"Deactivating dialog Install (hidden)",
                             L"Deactivating dialog Finish", L"Activating dialog UnpackMSIFromEXE",
                             L"Deactivating dialog UnpackMSIFromEXE", L"Activating dialog Install (hidden)",
                             L"Deactivating dialog Install (hidden)", L"Activating dialog Finish",
                             L"Deactivating dialog Finish"}));
}

// The finish page of a multi-package quick install waits for the user: the system-integrity
// page before it, once its own walk returns, must not press Next for them.
TEST_F(WorkPagesTest, AQuickInstallOfTwoPackagesWaitsOnItsFinishPage) {
  AddPackages(2);
  quickInstall_.emplace_back(L"QB::P", L"23.0.0.1", false, L"en", false);
  CWizardDialog& frame = Frame({});
  frame.AddPage(std::make_unique<SystemIntegrityWizardPage>(frame));
  frame.AddPage(std::make_unique<UnpackWizardPage>(frame, cancel_));
  frame.AddPage(std::make_unique<InstallWizardPage>(frame, quickInstall_, nullptr));
  frame.AddFinishPage(std::make_unique<FinishWizardPage>(frame, quickInstall_));
  std::vector<std::wstring> finishTexts;
  While([&] { finishTexts = ShownTexts(); });
  Press(platform::kIdOk);
  EXPECT_EQ(frame.DoModal(), platform::kDialogOk);

  EXPECT_EQ(result_.kind, kResultSuccess);
  EXPECT_EQ(seen_.size(), 1u);
  ASSERT_FALSE(finishTexts.empty());
  EXPECT_EQ(finishTexts[0], L"Setup completed");
  const std::vector<std::wstring> lines = PageLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), L"Activating dialog Finish"), 1);
}

class FinishToolsTest : public WorkPagesTest {
 protected:
  static constexpr const wchar_t* kShared = L"C:\\ProgramData\\Tarquel\\SharedBetweenVersions";
  static constexpr const wchar_t* kCatalog =
      L"C:\\ProgramData\\Tarquel\\SharedBetweenVersions\\CatalogKeeperFrontend.exe";
  static constexpr const wchar_t* kSchema =
      L"C:\\ProgramData\\Tarquel\\SharedBetweenVersions\\SchemaKeeperFrontend.exe";
  const platform::AccessEntry everyoneModifies_{0x1301FF, true, platform::TrusteeForm::Sid, L"Everyone", L"S-1-1-0"};

  // A successful installation of a product that offers both tools, with both tools there.
  FinishToolsTest() {
    AddPackages(2);
    packages_.packages[0].productName = L"Tarquel Paloric Server 2024";
    ICBSFileUtilities(Host()).CreateFolderTree(kShared);
    Host().Files().WriteFile(kCatalog, "catalog tool");
    Host().Files().WriteFile(kSchema, "schema tool");
  }
  platform::WindowHandle Box(int id) { return Gui().FindControl(Gui().ActiveDialog(), id); }
  // Walks to the finish page, notes which boxes it shows, ticks both (shown or not), runs
  // `meanwhile` and presses Finish; the command lines started.
  std::vector<std::wstring> Finish(std::function<void()> meanwhile = [] {}) {
    CWizardDialog& frame = WorkFrame();
    Press(platform::kIdOk);
    While([&] {
      catalogShown_ = Gui().IsShown(Box(IDC_FINISH_CATALOG_TOOL));
      schemaShown_ = Gui().IsShown(Box(IDC_FINISH_SCHEMA_TOOL));
      Gui().SetChecked(Box(IDC_FINISH_CATALOG_TOOL), true);
      Gui().SetChecked(Box(IDC_FINISH_SCHEMA_TOOL), true);
      meanwhile();
    });
    Press(platform::kIdOk);
    EXPECT_EQ(frame.DoModal(), platform::kDialogOk);
    EXPECT_EQ(result_.kind, kResultSuccess);
    std::vector<std::wstring> started;
    for (const auto& process : Host().Processes().started) started.push_back(process.start.commandLine);
    return started;
  }

  bool catalogShown_ = false;
  bool schemaShown_ = false;
};

// The tools run with the launcher's administrator rights. A tool is offered and started where
// only administrators may change it; one that became changeable by others while the page
// waited is not started after all.
TEST_F(FinishToolsTest, ToolsThatOnlyAdministratorsMayChangeAreOfferedAndStarted) {
  const std::vector<std::wstring> started =
      Finish([&] { Host().Files().AddAccessEntry(kSchema, everyoneModifies_); });
  EXPECT_TRUE(catalogShown_);
  EXPECT_TRUE(schemaShown_);
  EXPECT_EQ(started, std::vector<std::wstring>{L"\"" + std::wstring(kCatalog) + L"\""});
  EXPECT_NE(LogText().find(LogLineText(log_lines::kToolNotStarted, kSchema,
                                       L"accounts other than Administrators and SYSTEM may change it")),
            std::wstring::npos)
      << ToUtf8(LogText());
}

// A tool that another user may have planted or changed is neither offered nor started, even
// with its hidden box ticked.
TEST_F(FinishToolsTest, ToolsThatOthersMayChangeAreNeitherOfferedNorStarted) {
  Host().Files().AddAccessEntry(kShared, everyoneModifies_);
  Host().Files().DeleteFile(kSchema);
  EXPECT_TRUE(Finish().empty());
  EXPECT_FALSE(catalogShown_);
  EXPECT_FALSE(schemaShown_);
  const std::wstring log = LogText();
  EXPECT_NE(log.find(LogLineText(log_lines::kToolNotOffered, kCatalog,
                              L"its folder cannot be trusted: accounts other than Administrators and SYSTEM may "
                              L"change it")),
            std::wstring::npos)
      << ToUtf8(log);
  EXPECT_NE(log.find(LogLineText(log_lines::kToolNotOffered, kSchema, L"it is not there")), std::wstring::npos);
}

TEST(FinishTexts, EachRunAndOutcomeHasItsTexts) {
  struct Case {
    const char* name;
    FinishRun run;
    bool succeeded;
    FinishTexts expected;
  };
  const Case cases[] = {
      {"installed", FinishRun::Install, true, {IDS_FINISH_TITLE_COMPLETED, IDS_FINISH_INSTALLED, 0}},
      {"installation failed", FinishRun::Install, false,
       {IDS_FINISH_TITLE_ABORTED, IDS_FINISH_INSTALL_INTERRUPTED, IDS_FINISH_INSTALL_LATER}},
      {"removed", FinishRun::Removal, true, {IDS_FINISH_TITLE_COMPLETED, IDS_FINISH_UNINSTALLED, 0}},
      {"removal failed", FinishRun::Removal, false,
       {IDS_FINISH_TITLE_ABORTED, IDS_FINISH_UNINSTALL_INTERRUPTED, IDS_FINISH_SYSTEM_NOT_MODIFIED}},
      {"repaired", FinishRun::Repair, true, {IDS_FINISH_TITLE_COMPLETED, IDS_FINISH_REPAIRED, 0}},
      {"repair failed", FinishRun::Repair, false, {IDS_FINISH_TITLE_ABORTED, IDS_FINISH_REPAIR_INTERRUPTED, 0}},
      {"modified", FinishRun::Modify, true, {IDS_FINISH_TITLE_COMPLETED, IDS_FINISH_MODIFIED, 0}},
      {"modification failed", FinishRun::Modify, false, {IDS_FINISH_TITLE_ABORTED, IDS_FINISH_MODIFY_INTERRUPTED, 0}},
  };
  for (const Case& c : cases) {
    const FinishTexts texts = FinishTextsFor(c.run, c.succeeded);
    EXPECT_EQ(texts.title, c.expected.title) << c.name;
    EXPECT_EQ(texts.main, c.expected.main) << c.name;
    EXPECT_EQ(texts.secondary, c.expected.secondary) << c.name;
  }
}

}  // namespace
}  // namespace setup
