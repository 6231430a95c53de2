// The system-integrity page: what it shows and which buttons it offers for blocking and for
// replaceable conflicts, when it passes by itself, and a removal that fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "resources/resource_ids.h"
#include "wizard/general_pages_fixture.h"
#include "wizard/system_integrity_wizard_page.h"

namespace setup::testing {
namespace {

constexpr int kNext = platform::kIdOk;
constexpr int kBack = IDC_BACK;
constexpr int kCancel = platform::kIdCancel;
constexpr wchar_t kInstalledName[] = L"Tarquel Quibrix 2024 Professional Edition";

struct IntegrityCase {
  const char* name;
  std::vector<std::wstring> arguments;
  const wchar_t* language;
  bool fromSuite;  // the installed product came with the suite: a blocking conflict
  // Empty: the page passes by itself to the next one.
  std::vector<std::wstring> texts;
  std::wstring next;
  std::wstring back;
  bool nextEnabled;
};

void PrintTo(const IntegrityCase& c, std::ostream* out) { *out << c.name; }

const IntegrityCase kIntegrityCases[] = {
    {"ReplaceableEnglish", {}, L"English", false,
     {L"A conflict with your current installations has been detected.",
      L"This setup will replace parts of your current installation.",
      L"The following products will be removed from your system:\n    Tarquel Quibrix 2024 Professional Edition",
      L"Select 'Remove' to let the wizard uninstall these products and continue with the setup."},
     L"&Remove", L"Retry", true},
    {"ReplaceableGerman", {}, L"German", false,
     {L"Es wurde ein Konflikt mit Ihren aktuellen Installationen erkannt.",
      L"Dieses Setup ersetzt Teile Ihrer aktuellen Installation.",
      L"Die folgenden Produkte werden von Ihrem System entfernt:\n    Tarquel Quibrix 2024 Professional Edition",
      L"Wählen Sie „Entfernen“, damit der Assistent diese Produkte deinstalliert und mit dem Setup fortfährt."},
     L"&Entfernen", L"Wiederholen", true},
    {"BlockingEnglish", {}, L"English", true,
     {L"A conflict with your current installations has been detected.",
      L"This product cannot be installed because you already have following Tarquel Fendral product on your "
      L"system:\nTarquel Quibrix 2024 Professional Edition.\n\n",
      L"Installation cannot continue."},
     L"&Next >", L"< &Back", false},
    {"BlockingGerman", {}, L"German", true,
     {L"Es wurde ein Konflikt mit Ihren aktuellen Installationen erkannt.",
      L"Dieses Produkt kann nicht installiert werden, da das folgende Tarquel Fendral-Produkt bereits auf Ihrem "
      L"System vorhanden ist:\nTarquel Quibrix 2024 Professional Edition.\n\n",
      L"Die Installation kann nicht fortgesetzt werden."},
     L"&Weiter >", L"< &Zurück", false},
    // The check is for installations only.
    {"RemovalPassesBy", {L"/x"}, L"English", true, {}, L"", L"", true},
    {"RepairPassesBy", {L"/f"}, L"English", true, {}, L"", L"", true},
};

class SystemIntegrityPageTest : public GeneralPagesTest {
 protected:
  // Welcome (a test page), the system-integrity page, Unpack and Finish.
  SystemIntegrityWizardPage& IntegrityFrame() {
    AddPackage(L"QB::P", L"2024.00.01", L"Tarquel Quibrix 2024");
    NewFrame();
    AddTestPage(L"Welcome");
    SystemIntegrityWizardPage& page = AddPage<SystemIntegrityWizardPage>();
    AddTestPage(L"Unpack");
    AddTestPage(L"Finish");
    return page;
  }
};

class IntegrityTextsTest : public SystemIntegrityPageTest, public ::testing::WithParamInterface<IntegrityCase> {};

TEST_P(IntegrityTextsTest, ShowsTheFindingAndItsButtons) {
  const IntegrityCase& c = GetParam();
  std::vector<std::wstring> arguments{L"/L*v", kLogPath};
  arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
  Start(arguments);
  languages_.SelectByName(c.language);
  Install(L"QB::P", L"2024.00.00", c.fromSuite);
  SystemIntegrityWizardPage& page = IntegrityFrame();
  Press(kNext);
  While([&] {
    if (c.texts.empty()) {
      EXPECT_EQ(ShownPage(), L"Unpack");
      return;
    }
    EXPECT_TRUE(Gui().IsShown(page.Window()));
    EXPECT_EQ(ShownTexts(page), c.texts);
    EXPECT_EQ(ButtonText(kNext), c.next);
    EXPECT_EQ(ButtonText(kBack), c.back);
    EXPECT_EQ(ButtonEnabled(kNext), c.nextEnabled);
    EXPECT_TRUE(ButtonEnabled(kBack));
  });
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
}

INSTANTIATE_TEST_SUITE_P(Findings, IntegrityTextsTest, ::testing::ValuesIn(kIntegrityCases),
                         [](const auto& info) { return info.param.name; });

TEST_F(SystemIntegrityPageTest, WithoutConflictsThePagePassesByItself) {
  SystemIntegrityWizardPage& page = IntegrityFrame();
  Press(kNext);
  Press(kNext);
  Press(kNext);
  EXPECT_EQ(frame_->DoModal(), platform::kDialogOk);
  EXPECT_EQ(seen_, (std::vector<std::wstring>{L"Welcome", L"Unpack", L"Finish"}));
  EXPECT_TRUE(page.RemovalList().empty());
}

TEST_F(SystemIntegrityPageTest, BlockingConflictInASilentRunEndsAsCancelled) {
  Start({L"/L*v", kLogPath, L"/qn"});
  Install(L"QB::P", L"2024.00.00", true);
  IntegrityFrame();
  frame_->DoModal();
  EXPECT_EQ(result_.kind, kResultUserCancelled);
  EXPECT_EQ(reports_, 1);
  EXPECT_NE(LogText().find(L"SIC - Conflicts have been detected. Installation will abort.\r\n"), std::wstring::npos);
  // The page was left once, and Unpack never came.
  const auto lines = PageLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), L"Activating dialog Unpack"), 0);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), L"Activating dialog Finish"), 1);
}

TEST_F(SystemIntegrityPageTest, AFailedRemovalEndsOnTheFinishPageWithItsResult) {
  // Installed without a cached MSI file to remove it from.
  Install(L"QB::P", L"2024.00.00");
  IntegrityFrame();
  Press(kNext);
  Press(kNext);
  // The frame window is usable again on the finish page.
  While([&] { EXPECT_TRUE(Gui().IsEnabled(frame_->Window())); });
  Press(kNext);
  frame_->DoModal();
  // "" is the system-integrity page, which is not a test page.
  EXPECT_EQ(seen_, (std::vector<std::wstring>{L"Welcome", L"", L"Finish"}));
  EXPECT_EQ(result_.kind, kResultNoMsiForUninstall);
  EXPECT_EQ(reports_, 1);
  EXPECT_NE(LogText().find(L"SIC - Automatic uninstallation of product Tarquel Quibrix 2024 Professional Edition.\r\n"),
            std::wstring::npos);
}

TEST(RemovalProductLines, ListsFourProductsAndThenAnEllipsis) {
  const auto products = [](int count) {
    std::vector<ProductRecord> records;
    for (int i = 0; i < count; ++i) records.emplace_back(L"QB::P", L"2024.00.00", i % 2 == 1, L"", false);
    return records;
  };
  const std::wstring line = std::wstring(L"\n    ") + kInstalledName;
  const std::wstring line64 = line + L" (x64)";
  const struct {
    int count;
    std::wstring lines;
  } cases[] = {
      {0, L""},
      {1, line},
      {4, line + line64 + line + line64},
      {6, line + line64 + line + line64 + L"\n    ..."},
  };
  for (const auto& c : cases) EXPECT_EQ(RemovalProductLines(products(c.count)), c.lines) << c.count;
}

}  // namespace
}  // namespace setup::testing
