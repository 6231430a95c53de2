// The welcome page: its texts for each kind of run and language, and the quick-install offer
// on the Back button.
#include <gtest/gtest.h>

#include <ostream>

#include "resources/resource_ids.h"
#include "wizard/general_pages_fixture.h"
#include "wizard/welcome_wizard_page.h"

namespace setup::testing {
namespace {

constexpr int kNext = platform::kIdOk;
constexpr int kBack = IDC_BACK;
constexpr int kCancel = platform::kIdCancel;
constexpr wchar_t kProduct[] = L"Tarquel Quibrix 2024";
constexpr wchar_t kLegalEn[] = L"This program is protected by copyright law and international treaties.";
constexpr wchar_t kLegalDe[] = L"Dieses Programm ist durch Urheberrechtsgesetze und internationale Verträge geschützt.";

struct WelcomeCase {
  const char* name;
  std::vector<std::wstring> arguments;
  const wchar_t* language;
  // The main product counts as installed (a maintenance run).
  bool mainInstalled;
  // Installations on the machine: product id and version.
  std::vector<std::pair<std::wstring, std::wstring>> installed;
  std::uint32_t welcomeTextId;
  std::vector<std::wstring> texts;  // top to bottom
  std::wstring back;
  bool backEnabled;
};

void PrintTo(const WelcomeCase& c, std::ostream* out) { *out << c.name; }

const WelcomeCase kWelcomeCases[] = {
    {"FreshInstallEnglish", {}, L"English", false, {}, IDS_WELCOME_SUPPORTED_OS_DEFAULT,
     {L"Welcome to the installer for ", kProduct,
      L"This wizard will install Tarquel Quibrix 2024 on your computer.\n\nClick Next to continue or Cancel to leave "
      L"the installer.",
      kLegalEn},
     L"< &Back", false},
    {"FreshInstallGermanWithTheSystemsWelcomeText", {}, L"German", false, {}, IDS_WELCOME_SUPPORTED_OS_WIN7,
     {L"Willkommen beim Installationsprogramm für ", kProduct,
      L"Dieser Assistent installiert Tarquel Quibrix 2024 auf Ihrem Computer. Das Produkt läuft unter Windows 7 und "
      L"neueren Windows-Versionen.\n\nKlicken Sie auf „Weiter“, um fortzufahren, oder auf „Abbrechen“, um das "
      L"Installationsprogramm zu verlassen.",
      kLegalDe},
     L"< &Zurück", false},
    {"RepairEnglish", {L"/f"}, L"English", true, {}, IDS_WELCOME_SUPPORTED_OS_DEFAULT,
     {L"Welcome to the installer for ", kProduct, L"This wizard will help you to repair installation of your product.",
      kLegalEn},
     L"< &Back", false},
    {"RemovalGerman", {L"/x"}, L"German", true, {}, IDS_WELCOME_SUPPORTED_OS_DEFAULT,
     {L"Willkommen beim Installationsprogramm für ", kProduct,
      L"Das Setup führt Sie durch die Deinstallation Ihres Produkts.", kLegalDe},
     L"< &Zurück", false},
    {"MaintenanceEnglishOffersNoQuickInstall", {}, L"English", true, {{L"QB::P", L"2024.00.00"}},
     IDS_WELCOME_SUPPORTED_OS_DEFAULT,
     {L"Welcome to the installer for ", kProduct, L"This wizard will help to modify the installation of your product.",
      kLegalEn},
     L"< &Back", false},
    {"MaintenanceGerman", {}, L"German", true, {}, IDS_WELCOME_SUPPORTED_OS_DEFAULT,
     {L"Willkommen beim Installationsprogramm für ", kProduct,
      L"Dieser Assistent hilft Ihnen, die Installation Ihres Produkts zu ändern.", kLegalDe},
     L"< &Zurück", false},
    {"SameMajorOfferReplacesTheInstallation", {}, L"English", false, {{L"QB::P", L"2024.00.00"}},
     IDS_WELCOME_SUPPORTED_OS_DEFAULT,
     {L"Upgrading to", kProduct,
      L"We have found Tarquel Quibrix 2024 Professional Edition on your system. You are about to replace your current "
      L"installation.",
      L"To install this version with the same options as your current product select 'Quick Install'. To continue "
      L"with the Installer Wizard and pick different options select 'Next'.",
      kLegalEn},
     L"&Quick Install", true},
    {"NewMajorOfferGerman", {}, L"German", false, {{L"QB::P", L"2023.00.00"}}, IDS_WELCOME_SUPPORTED_OS_DEFAULT,
     {L"Aktualisierung auf", kProduct,
      L"Auf Ihrem System wurde Tarquel Quibrix 2023 Professional Edition gefunden. Sie sind dabei, eine neue "
      L"Hauptversion dieses Produkts zu installieren.",
      L"Um diese Version mit denselben Optionen wie Ihr aktuelles Produkt zu installieren, wählen Sie "
      L"„Schnellinstallation“. Um mit dem Installationsassistenten fortzufahren und andere Optionen zu wählen, "
      L"wählen Sie „Weiter“.",
      kLegalDe},
     L"&Schnellinstallation", true},
};

class WelcomePageTest : public GeneralPagesTest {
 protected:
  WelcomeWizardPage& WelcomeFrame(std::uint32_t welcomeTextId = IDS_WELCOME_SUPPORTED_OS_DEFAULT) {
    NewFrame();
    WelcomeWizardPage& welcome = AddPage<WelcomeWizardPage>(quickInstall_, nullptr, welcomeTextId);
    AddTestPage(L"Unpack");
    AddTestPage(L"Finish");
    return welcome;
  }
};

class WelcomeTextsTest : public WelcomePageTest, public ::testing::WithParamInterface<WelcomeCase> {};

TEST_P(WelcomeTextsTest, ShowsTheTextsOfTheRun) {
  const WelcomeCase& c = GetParam();
  std::vector<std::wstring> arguments{L"/L*v", kLogPath};
  arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
  Start(arguments);
  languages_.SelectByName(c.language);
  AddPackage(L"QB::P", L"2024.00.01", kProduct).registered = c.mainInstalled;
  for (const auto& [productId, version] : c.installed) Install(productId, version);
  WelcomeWizardPage& welcome = WelcomeFrame(c.welcomeTextId);
  While([&] {
    EXPECT_EQ(ShownTexts(welcome), c.texts);
    EXPECT_EQ(ButtonText(kBack), c.back);
    EXPECT_EQ(ButtonEnabled(kBack), c.backEnabled);
    EXPECT_TRUE(ButtonEnabled(kNext));
    EXPECT_EQ(Gui().Focused(), Control(kNext));
  });
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
}

INSTANTIATE_TEST_SUITE_P(Runs, WelcomeTextsTest, ::testing::ValuesIn(kWelcomeCases),
                         [](const auto& info) { return info.param.name; });

TEST_F(WelcomePageTest, TheLegalLineSitsAtTheBottomOfThePage) {
  AddPackage(L"QB::P", L"2024.00.01", kProduct);
  WelcomeWizardPage& welcome = WelcomeFrame();
  While([&] {
    const platform::Size page = Gui().ClientSize(welcome.Window());
    for (const platform::WindowHandle child : Gui().Window(welcome.Window()).children) {
      const auto& window = Gui().Window(child);
      if (window.text != kLegalEn) continue;
      EXPECT_EQ(window.rect.y + window.rect.height, page.height);
      return;
    }
    ADD_FAILURE() << "no legal line";
  });
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
}

TEST_F(WelcomePageTest, NextLeavesTheOfferAndRestoresTheBackButton) {
  AddPackage(L"QB::P", L"2024.00.01", kProduct);
  Install(L"QB::P", L"2024.00.00");
  WelcomeFrame();
  platform::Rect wide;
  platform::Rect plain;
  While([&] { wide = ButtonRect(kBack); });
  Press(kNext);
  While([&] {
    plain = ButtonRect(kBack);
    // While the offer stands the button reaches 10 pixels further left.
    EXPECT_EQ(wide, (platform::Rect{plain.x - 10, plain.y, plain.width + 10, plain.height}));
    EXPECT_EQ(ButtonText(kBack), L"< &Back");
    EXPECT_EQ(ShownPage(), L"Unpack");
  });
  // Back to the welcome page: the offer is made again, and the button widened once only.
  Press(kBack);
  While([&] {
    EXPECT_EQ(ButtonRect(kBack), wide);
    EXPECT_EQ(ButtonText(kBack), L"&Quick Install");
  });
  Press(kCancel);
  // Cancelled from the offer: the finish page has the plain button.
  While([&] { EXPECT_EQ(ButtonRect(kBack), plain); });
  Press(kCancel);
  frame_->DoModal();
  EXPECT_TRUE(quickInstall_.empty());
}

TEST_F(WelcomePageTest, QuickInstallFillsTheListAndWalksToTheEnd) {
  AddPackage(L"QB::P", L"2024.00.01", kProduct);
  Install(L"QB::P", L"2024.00.00");
  WelcomeFrame();
  Press(kBack);
  EXPECT_EQ(frame_->DoModal(), platform::kDialogOk);
  ASSERT_EQ(quickInstall_.size(), 1u);
  EXPECT_EQ(quickInstall_.front().DisplayName(), L"Tarquel Quibrix 2024 Professional Edition");
  // Only the welcome page waited for the user.
  EXPECT_EQ(seen_, (std::vector<std::wstring>{L""}));
  EXPECT_EQ(PageLines(), (std::vector<std::wstring>{
                             L"Deactivating dialog Welcome", L"Deactivating dialog Unpack", L"Deactivating dialog Finish",
                             L"Activating dialog Welcome", L"Deactivating dialog Welcome", L"Activating dialog Unpack",
                             L"Deactivating dialog Unpack", L"Activating dialog Finish", L"Deactivating dialog Finish"}));
  EXPECT_EQ(result_.kind, kResultSuccess);
}

TEST_F(WelcomePageTest, TheOfferSwitchesToTheLanguageOfThePreviousInstallation) {
  AddPackage(L"QB::P", L"2024.00.01", kProduct);
  Install(L"QB::P", L"2024.00.00", false, L"de");
  WelcomeWizardPage& welcome = WelcomeFrame();
  While([&] {
    EXPECT_EQ(languages_.Current()->name, L"German");
    EXPECT_EQ(ShownTexts(welcome).front(), L"Aktualisierung auf");
    EXPECT_EQ(ButtonText(kBack), L"&Schnellinstallation");
    EXPECT_TRUE(Gui().IsShown(Control(IDC_LANGUAGE)));
  });
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
}

TEST_F(WelcomePageTest, TheMobileServerIsAlwaysAReplacement) {
  AddPackage(L"PS::A", L"8.0", L"Tarquel Pellomar Server 8");
  Install(L"PS::A", L"7.1");
  WelcomeWizardPage& welcome = WelcomeFrame();
  While([&] {
    const auto texts = ShownTexts(welcome);
    ASSERT_GE(texts.size(), 3u);
    EXPECT_TRUE(texts[2].ends_with(L"You are about to replace your current installation.")) << texts[2];
  });
  Press(kCancel);
  Press(kCancel);
  frame_->DoModal();
}

}  // namespace
}  // namespace setup::testing
