// The install page of packages that Windows Installer does not install, in a frame on the host:
// the installer runs on the page's worker thread, its status text and progress reach the page
// as posted messages, its result becomes the run's, and Cancel stops it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "install/taxonomy_installer.h"
#include "packages/non_msi_registration.h"
#include "packages/package_product_records.h"
#include "wizard/finish_wizard_page.h"
#include "wizard/non_msi_install_wizard_page.h"
#include "wizard/wizard_fixture.h"

namespace setup {
namespace {

using testing::LateClick;

constexpr wchar_t kProductCode[] = L"{5C1F7A24-7C55-4E3B-9C6B-0A1A2B3C4D01}";

// Does nothing but tell which operation the page chose; Install may wait for a cancel.
class ScriptedInstaller : public SetupAsyncInstallProcessIF {
 public:
  SetupResult Install(PackageList&, SetupReportAsyncProgressIF& progress) override {
    called = L"Install";
    progress.SetStatusText(L"Working");
    progress.StepProgress(30);
    if (onWorker) onWorker();
    if (!waitForCancel) return outcome;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!cancelled && std::chrono::steady_clock::now() < limit) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return SetupResult{kResultUserCancelled, 0, false};
  }
  SetupResult Modify(PackageList&, SetupReportAsyncProgressIF&) override { return Called(L"Modify"); }
  SetupResult Repair(PackageList&, SetupReportAsyncProgressIF&) override { return Called(L"Repair"); }
  SetupResult Remove(PackageList&, SetupReportAsyncProgressIF&) override { return Called(L"Remove"); }
  SetupResult Extract(PackageList&, SetupReportAsyncProgressIF&) override { return Called(L"Extract"); }
  void Cancel() override { cancelled = true; }

  SetupResult outcome;
  bool waitForCancel = false;
  std::function<void()> onWorker;
  std::wstring called;
  std::atomic<bool> cancelled = false;

 private:
  SetupResult Called(const wchar_t* name) {
    called = name;
    return outcome;
  }
};

class NonMsiInstallPageTest : public testing::WizardTest {
 protected:
  NonMsiInstallPageTest() { Host().Resources().AddPackageText(L"PRODUCT_NAME_0", L"XBRL Taxonomies 2024"); }

  SetupPackage& AddTaxonomyPackage() {
    SetupPackage package;
    package.main = true;
    package.productName = L"XBRL Taxonomies 2024";
    package.productCode = kProductCode;
    package.packageCode = L"{5C1F7A24-7C55-4E3B-9C6B-0A1A2B3C4D02}";
    package.productId = L"TAX_XBRL::Z";
    package.products = BuildPackageProductRecords(L"TAX_XBRL::Z", L"2024.00.00.01", false).records;
    package.installerType = L"taxonomy";
    package.packageFolder = L"C:\\ProgramData\\Tarquel\\" + package.packageCode;
    package.handle = true;
    for (const wchar_t* folder : {L"C:\\ProgramData", L"C:\\ProgramData\\Tarquel"}) Host().Files().CreateDirectory(folder);
    Host().Files().CreateDirectory(package.packageFolder);
    Host().Files().CreateDirectory(L"C:\\Setup");
    Host().Files().WriteFile(Host().System().modulePath, "launcher");
    packages_.packages.push_back(package);
    return packages_.packages.back();
  }

  // Start, the install page with `installer`, finish.
  NonMSIInstallWizardPage& PageFrame(std::unique_ptr<SetupAsyncInstallProcessIF> installer) {
    CWizardDialog& frame = Frame({L"Start"});
    auto page = std::make_unique<NonMSIInstallWizardPage>(frame, std::move(installer));
    NonMSIInstallWizardPage& added = *page;
    frame.AddPage(std::move(page));
    frame.AddFinishPage(std::make_unique<FinishWizardPage>(frame, quickInstall_));
    return added;
  }

  const platform::host::HostWindow& PageControl(const WizardPageBase& page, platform::host::HostWindowKind kind) {
    for (const platform::WindowHandle child : Gui().Window(page.Window()).children) {
      if (Gui().Window(child).kind == kind) return Gui().Window(child);
    }
    throw std::logic_error("no such control on the page");
  }
  // The first text shown in the page area: the title of the page shown.
  std::wstring FinishTitle() { return FirstText(Control(IDC_PAGE_AREA)); }
  std::wstring FirstText(platform::WindowHandle window) {
    const platform::host::HostWindow& info = Gui().Window(window);
    if (!info.visible) return L"";
    if (info.kind == platform::host::HostWindowKind::StaticText && !info.text.empty()) return info.text;
    for (const platform::WindowHandle child : info.children) {
      if (std::wstring text = FirstText(child); !text.empty()) return text;
    }
    return L"";
  }
};

TEST_F(NonMsiInstallPageTest, ATaxonomyPackageInstallsWithTheStepsShownAndTheBarAtItsEnd) {
  const SetupPackage& package = AddTaxonomyPackage();
  NonMSIInstallWizardPage& page = PageFrame(std::make_unique<TaxonomyInstaller>(Run()));
  Press(platform::kIdOk);
  std::wstring finishTitle;
  std::wstring status;
  platform::host::HostWindow bar;
  While([&] {
    finishTitle = FinishTitle();
    status = PageControl(page, platform::host::HostWindowKind::StaticText).text;
    bar = PageControl(page, platform::host::HostWindowKind::ProgressBar);
  });
  Press(platform::kIdOk);
  EXPECT_EQ(frame_->DoModal(), platform::kDialogOk);

  EXPECT_EQ(result_.kind, kResultSuccess);
  EXPECT_EQ(finishTitle, L"Setup completed");
  EXPECT_TRUE(IsNonMsiPackageRegistered(Host().Registry(), package.productCode, false));
  EXPECT_EQ(status, L"Install action 10");
  EXPECT_EQ(bar.progressPosition, 100);
  EXPECT_EQ(bar.progressMaximum, 100);
  EXPECT_EQ(PageLines()[5], L"Activating dialog NonMSIInstall");
}

struct OutcomeCase {
  const char* name;
  SetupResult outcome;
  bool cancelByUser;
  std::int32_t kind;
  // An unreported failure on the page before the finish page ends the wizard at once, reported.
  bool finishShown;
  int reports;
};

class NonMsiInstallOutcomeTest : public NonMsiInstallPageTest, public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(NonMsiInstallOutcomeTest, TheInstallersResultBecomesTheRunsAndAFailureIsNeverASuccess) {
  const OutcomeCase& c = GetParam();
  auto installer = std::make_unique<ScriptedInstaller>();
  ScriptedInstaller& scripted = *installer;
  scripted.outcome = c.outcome;
  scripted.waitForCancel = c.cancelByUser;
  PageFrame(std::move(installer));
  LateClick cancel([&] { Gui().Click(Control(platform::kIdCancel)); });
  if (c.cancelByUser) {
    // Queued before Next: the page takes it from the queue while the worker waits.
    While([&] {
      platform::ControlSpec spec;
      spec.kind = platform::ControlKind::Window;
      const platform::WindowHandle clicker = Gui().CreateControl(Control(IDC_PAGE_AREA), spec, &cancel);
      Gui().Post(clicker, platform::kUserMessage + 9, 0, 0);
      Gui().Click(Control(platform::kIdOk));
    });
  } else {
    Press(platform::kIdOk);
  }
  std::wstring finishTitle;
  While([&] { finishTitle = FinishTitle(); });
  Press(platform::kIdOk);
  EXPECT_EQ(frame_->DoModal(), platform::kDialogOk);

  EXPECT_EQ(result_.kind, c.kind);
  EXPECT_EQ(scripted.cancelled.load(), c.cancelByUser);
  EXPECT_EQ(finishTitle, c.finishShown ? L"Setup completed" : L"");
  const std::vector<std::wstring> lines = PageLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), L"Activating dialog Finish"), c.finishShown ? 1 : 0);
  EXPECT_EQ(reports_, c.reports);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, NonMsiInstallOutcomeTest,
    ::testing::Values(
        OutcomeCase{"Success", SetupResult{}, false, kResultSuccess, true, 0},
        OutcomeCase{"Failure", SetupResult{kResultInstallFailed, 0, false}, false, kResultInstallFailed, false, 1},
        OutcomeCase{"AlreadyInstalled", SetupResult{kResultAlreadyInstalled, 0, false}, false, kResultAlreadyInstalled,
                    false, 1},
        OutcomeCase{"CancelOnThePage", SetupResult{}, true, kResultUserCancelled, false, 1}),
    [](const ::testing::TestParamInfo<OutcomeCase>& info) { return std::string(info.param.name); });

TEST_F(NonMsiInstallPageTest, TheRunChoosesTheOperation) {
  struct Case {
    const char* name;
    std::vector<std::wstring> arguments;
    bool installed;
    std::wstring operation;
  };
  const Case cases[] = {
      {"first installation", {}, false, L"Install"},
      {"installed", {}, true, L"Modify"},
      {"removal", {L"/x"}, true, L"Remove"},
      {"repair", {L"/fa"}, true, L"Repair"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    pages_.clear();
    frame_.reset();
    Gui().idleActions.clear();
    packages_.packages.clear();
    std::vector<std::wstring> arguments{L"/L*v", testing::kLogPath};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    Start(arguments);
    AddTaxonomyPackage().registered = c.installed;
    auto installer = std::make_unique<ScriptedInstaller>();
    ScriptedInstaller& scripted = *installer;
    PageFrame(std::move(installer));
    Press(platform::kIdOk);
    Press(platform::kIdOk);
    frame_->DoModal();
    EXPECT_EQ(scripted.called, c.operation);
  }
}

TEST_F(NonMsiInstallPageTest, WithoutAnInstallerThePagePassesOn) {
  result_.Record(kResultSuccess, 0, true);
  PageFrame(nullptr);
  Press(platform::kIdOk);
  std::wstring finishTitle;
  While([&] { finishTitle = FinishTitle(); });
  Press(platform::kIdOk);
  frame_->DoModal();
  EXPECT_EQ(finishTitle, L"Setup completed");
  EXPECT_EQ(result_.kind, kResultSuccess);
}

}  // namespace
}  // namespace setup
