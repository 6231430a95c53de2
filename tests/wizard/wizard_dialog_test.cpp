// The page protocol of the wizard frame: the moves on Next, Back and Cancel, refusals, the
// jump to the finish page, the empty entry after the install page and the unattended walk.
#include <gtest/gtest.h>

#include <ostream>

#include "install/installer_error.h"
#include "wizard/wizard_fixture.h"

namespace setup::testing {
namespace {

constexpr int kNext = platform::kIdOk;
constexpr int kBack = IDC_BACK;
constexpr int kCancel = platform::kIdCancel;

struct WalkCase {
  const char* name;
  std::vector<std::wstring> pages;
  // Replaces answers of the pages before the dialog runs.
  std::function<void(WizardTest&)> arrange;
  std::vector<int> presses;
  // The page shown at each press.
  std::vector<std::wstring> seen;
  int dialogResult;
  std::int32_t kind;
  int reports;
};

void PrintTo(const WalkCase& walk, std::ostream* out) { *out << walk.name; }

// Answers false the first time, true afterwards.
std::function<bool()> RefuseOnce() {
  return [refused = false]() mutable { return std::exchange(refused, true); };
}

// Records the installer failure 1603 and agrees.
std::function<bool()> FailWith(WizardTest& test, std::uint32_t code) {
  return [&test, code] {
    test.RecordFailure(code);
    return true;
  };
}

class WizardWalk : public WizardTest, public ::testing::WithParamInterface<WalkCase> {};

const std::vector<std::wstring> kThreePages{L"Welcome", L"Unpack", L"Finish"};
const std::vector<std::wstring> kOnePackage{L"Welcome", L"Install", L"", L"Finish"};

const WalkCase kWalks[] = {
    {"NextThroughEveryPage", kThreePages, nullptr, {kNext, kNext, kNext}, {L"Welcome", L"Unpack", L"Finish"},
     platform::kDialogOk, kResultSuccess, 0},
    {"RefusedNextActivatesTheSamePageAgain", kThreePages,
     [](WizardTest& t) { t.PageNamed(L"Welcome").onNext = RefuseOnce(); }, {kNext, kNext, kNext, kNext},
     {L"Welcome", L"Welcome", L"Unpack", L"Finish"}, platform::kDialogOk, kResultSuccess, 0},
    {"BackReturnsToThePreviousPage", kThreePages, nullptr, {kNext, kBack, kNext, kNext, kNext},
     {L"Welcome", L"Unpack", L"Welcome", L"Unpack", L"Finish"}, platform::kDialogOk, kResultSuccess, 0},
    {"RefusedBackStays", kThreePages, [](WizardTest& t) { t.PageNamed(L"Unpack").onBack = RefuseOnce(); },
     {kNext, kBack, kNext, kNext}, {L"Welcome", L"Unpack", L"Unpack", L"Finish"}, platform::kDialogOk,
     kResultSuccess, 0},
    {"BackOnTheFirstPageCancels", kThreePages, nullptr, {kBack, kNext}, {L"Welcome", L"Finish"}, platform::kDialogOk,
     kResultUserCancelled, 1},
    {"CancelJumpsToFinishAndCancelThereEnds", kThreePages, nullptr, {kNext, kCancel, kCancel},
     {L"Welcome", L"Unpack", L"Finish"}, platform::kDialogCancel, kResultUserCancelled, 1},
    {"RefusedCancelStays", kThreePages, [](WizardTest& t) { t.PageNamed(L"Unpack").onCancel = RefuseOnce(); },
     {kNext, kCancel, kNext, kNext}, {L"Welcome", L"Unpack", L"Unpack", L"Finish"}, platform::kDialogOk,
     kResultSuccess, 0},
    {"PendingErrorJumpsToFinishAndIsReportedOnce", kThreePages,
     [](WizardTest& t) { t.PageNamed(L"Welcome").onNext = FailWith(t, kInstallerFatalError); }, {kNext, kNext},
     {L"Welcome", L"Finish"}, platform::kDialogOk, kResultInstallFailed, 1},
    {"EmptyEntryEndsTheWizardAfterTheInstallPage", kOnePackage, nullptr, {kNext, kNext}, {L"Welcome", L"Install"},
     platform::kDialogOk, kResultSuccess, 0},
    {"PendingErrorOnTheInstallPageShowsFinishInsteadOfTheEmptyEntry", kOnePackage,
     [](WizardTest& t) { t.PageNamed(L"Install").onNext = FailWith(t, kInstallerFatalError); },
     {kNext, kNext, kNext}, {L"Welcome", L"Install", L"Finish"}, platform::kDialogOk, kResultInstallFailed, 1},
    {"WithoutFinishPageCancelEndsTheDialog", {L"Welcome", L"Unpack"}, nullptr, {kNext, kCancel},
     {L"Welcome", L"Unpack"}, platform::kDialogCancel, kResultUserCancelled, 0},
};

TEST_P(WizardWalk, PressesMoveThroughThePages) {
  const WalkCase& walk = GetParam();
  Start({L"/L*v", kLogPath});
  CWizardDialog& frame = Frame(walk.pages);
  if (walk.arrange) walk.arrange(*this);
  for (const int id : walk.presses) Press(id);

  EXPECT_EQ(frame.DoModal(), walk.dialogResult);
  EXPECT_EQ(seen_, walk.seen);
  EXPECT_TRUE(Gui().idleActions.empty());
  EXPECT_EQ(result_.kind, walk.kind);
  EXPECT_EQ(reports_, walk.reports);
}

INSTANTIATE_TEST_SUITE_P(Cases, WizardWalk, ::testing::ValuesIn(kWalks),
                         [](const auto& info) { return std::string(info.param.name); });

// Activation enables the three buttons before the page shows itself, so that a page can take
// a button away (the welcome page disables Back unless it offers a quick install).
TEST_F(WizardTest, APageThatDisablesBackKeepsItDisabledAfterComingBack) {
  Start();
  CWizardDialog& frame = Frame(kThreePages);
  PageNamed(L"Welcome").onShow = [this] { Gui().Enable(Control(kBack), false); };
  std::vector<bool> backEnabled;
  const auto noteBack = [&] { While([&] { backEnabled.push_back(Gui().IsEnabled(Control(kBack))); }); };
  noteBack();
  Press(kNext);
  noteBack();
  Press(kBack);
  noteBack();
  Press(kCancel);
  Press(kCancel);
  frame.DoModal();
  EXPECT_EQ(backEnabled, (std::vector<bool>{false, true, false}));
}

TEST_F(WizardTest, UnattendedRunWalksEveryPageHiddenAndLogsEachMove) {
  Start({L"/qn", L"/L*v", kLogPath});
  CWizardDialog& frame = Frame(kThreePages);
  EXPECT_FALSE(frame.IsAttended());
  bool everShown = false;
  PageNamed(L"Unpack").onNext = [&] {
    everShown = everShown || Gui().IsShown(Gui().ActiveDialog());
    return true;
  };

  EXPECT_EQ(frame.DoModal(), platform::kDialogOk);
  EXPECT_FALSE(everShown);
  EXPECT_EQ(PageLines(), (std::vector<std::wstring>{
                             L"Deactivating dialog Welcome", L"Deactivating dialog Unpack",
                             L"Deactivating dialog Finish", L"Activating dialog Welcome",
                             L"Deactivating dialog Welcome", L"Activating dialog Unpack",
                             L"Deactivating dialog Unpack", L"Activating dialog Finish",
                             L"Deactivating dialog Finish"}));
  EXPECT_EQ(result_.kind, kResultSuccess);
}

TEST_F(WizardTest, QuickInstallWalksByItselfAtTheFullLevel) {
  Start();
  quickInstall_.emplace_back(L"QB::P", L"23.0.0.1", false, L"en", false);
  CWizardDialog& frame = Frame(kThreePages);
  EXPECT_FALSE(frame.IsAttended());
  EXPECT_EQ(frame.DoModal(), platform::kDialogOk);
  EXPECT_TRUE(seen_.empty());
}

// A page that refuses Next in a run nobody attends is not walked into again: the run ends on
// the finish page with a failure, reported once.
TEST_F(WizardTest, AnUnattendedRefusalEndsOnTheFinishPageAsAFailure) {
  Start({L"/qr", L"/L*v", kLogPath});
  CWizardDialog& frame = Frame(kThreePages);
  int asked = 0;
  PageNamed(L"Unpack").onNext = [&] { return ++asked > 100; };
  EXPECT_EQ(frame.DoModal(), platform::kDialogOk);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(result_.kind, kResultInstallFailed);
  EXPECT_EQ(reports_, 1);
  EXPECT_EQ(PageLines().back(), L"Deactivating dialog Finish");
}

TEST_F(WizardTest, UnattendedFailureShowsTheFrameOnTheFinishPage) {
  Start({L"/qb", L"/L*v", kLogPath});
  CWizardDialog& frame = Frame(kThreePages);
  PageNamed(L"Welcome").onNext = FailWith(*this, kInstallerFatalError);
  bool finishShownInFront = false;
  PageNamed(L"Finish").onNext = [&] {
    finishShownInFront = Gui().Foreground() == Gui().ActiveDialog() && Gui().IsShown(Gui().ActiveDialog());
    return true;
  };
  EXPECT_EQ(frame.DoModal(), platform::kDialogOk);
  EXPECT_TRUE(finishShownInFront);
  EXPECT_EQ(reports_, 1);
  EXPECT_EQ(PageLines().back(), L"Deactivating dialog Finish");
}

}  // namespace
}  // namespace setup::testing
