// The frame's chrome (title, icon, background, fonts, page windows), the language chooser and
// the page utilities, on the host GUI.
#include <gtest/gtest.h>

#include "wizard/wizard_fixture.h"

namespace setup::testing {
namespace {

class WizardFrameTest : public WizardTest {
 protected:
  WizardFrameTest() { Host().Resources().AddPackageText(L"PRODUCT_NAME_0", L"Tarquel Quillbook 2024"); }
};

TEST_F(WizardFrameTest, ShowsTitleIconBackgroundAndPagesInThePageArea) {
  Start();
  CWizardDialog& frame = Frame({L"Welcome", L"Finish"});
  While([&] {
    const platform::WindowHandle dialog = Gui().ActiveDialog();
    EXPECT_TRUE(Gui().IsShown(dialog));
    EXPECT_EQ(Gui().Text(dialog), L"Tarquel Quillbook 2024 - Installer Wizard");
    EXPECT_EQ(Gui().IconSize(Gui().WindowIcon(dialog)), (platform::Size{32, 32}));
    EXPECT_EQ(Gui().Text(Control(platform::kIdOk)), L"&Next >");
    EXPECT_EQ(Gui().Text(Control(IDC_BACK)), L"< &Back");
    EXPECT_EQ(Gui().Text(Control(platform::kIdCancel)), L"Cancel");
    EXPECT_FALSE(Gui().IsShown(Control(IDC_LANGUAGE)));
    // The picture covers the client area down to the separator line (191 dialog units).
    const auto painted = Gui().PaintBackground(dialog);
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].target, (platform::Rect{0, 0, 498, 310}));
    EXPECT_EQ(Gui().BitmapSize(painted[0].bitmap), (platform::Size{166, 103}));
    // Pages fill the page area (322 x 135 dialog units) less 20 pixels left and right and 10
    // above and below, and draw their controls on white.
    const TestPage& welcome = PageNamed(L"Welcome");
    EXPECT_EQ(Gui().WindowRect(welcome.Window()).x - Gui().WindowRect(Control(IDC_PAGE_AREA)).x, 20);
    EXPECT_EQ(welcome.createdSize, (platform::Size{443, 200}));
    const auto colours = Gui().ControlColoursOf(welcome.label);
    ASSERT_TRUE(colours);
    EXPECT_EQ(Gui().BrushColour(colours->brush), kWhite);
    EXPECT_EQ(ShownPage(), L"Welcome");
  });
  Press(platform::kIdCancel);
  Press(platform::kIdCancel);
  frame.DoModal();
}

TEST_F(WizardFrameTest, CreatesTheFiveFontsAndReleasesEverythingWithTheFrame) {
  Start();
  CWizardDialog& frame = Frame({L"Welcome", L"Finish"});
  Press(platform::kIdCancel);
  Press(platform::kIdCancel);
  frame.DoModal();
  const struct {
    DialogFont font;
    const wchar_t* face;
    int points;
    int weight;
    int pixelHeight;
  } fonts[] = {{DialogFont::Tahoma9Bold, L"Tahoma", 9, 700, 12},
               {DialogFont::Tahoma8Bold, L"Tahoma", 8, 700, 11},
               {DialogFont::Tahoma9, L"Tahoma", 9, 400, 12},
               {DialogFont::Tahoma8, L"Tahoma", 8, 400, 11},
               {DialogFont::Arial7, L"Arial", 7, 400, 9}};
  for (const auto& expected : fonts) {
    const platform::host::HostFont& font = Gui().FontInfo(frame.Font(expected.font));
    EXPECT_EQ(font.face, expected.face);
    EXPECT_EQ(font.points, expected.points);
    EXPECT_EQ(font.weight, expected.weight);
    EXPECT_EQ(font.pixelHeight, expected.pixelHeight);
  }
  frame_.reset();
  EXPECT_EQ(Gui().LiveFonts(), 0u);
  EXPECT_EQ(Gui().LiveBrushes(), 0u);
  EXPECT_EQ(Gui().LiveBitmaps(), 0u);
}

TEST_F(WizardFrameTest, ChoosingALanguageRelabelsTheFrameAndThePageWithoutLeavingIt) {
  Start();
  for (LanguageEntry& entry : languages_.Entries()) entry.available = entry.name == L"English" || entry.name == L"German";
  CWizardDialog& frame = Frame({L"Welcome", L"Unpack", L"Finish"});
  Press(platform::kIdOk);
  int updatesBefore = 0;
  While([&] {
    const platform::WindowHandle combo = Control(IDC_LANGUAGE);
    EXPECT_EQ(Gui().Window(combo).comboItems, (std::vector<std::wstring>{L"English", L"German"}));
    EXPECT_EQ(Gui().ComboSelectedText(combo), L"English");
    updatesBefore = PageNamed(L"Unpack").textUpdates;
    EXPECT_TRUE(Gui().ChooseComboItem(combo, L"German"));
  });
  While([&] {
    const platform::WindowHandle dialog = Gui().ActiveDialog();
    EXPECT_EQ(Gui().Text(dialog), L"Tarquel Quillbook 2024 - Installations-Assistent");
    EXPECT_EQ(Gui().Text(Control(platform::kIdOk)), L"&Weiter >");
    EXPECT_EQ(Gui().Text(Control(IDC_BACK)), L"< &Zurück");
    EXPECT_EQ(Gui().Text(Control(platform::kIdCancel)), L"Abbrechen");
    EXPECT_EQ(Gui().Window(Control(IDC_LANGUAGE)).comboItems, (std::vector<std::wstring>{L"Englisch", L"Deutsch"}));
    EXPECT_EQ(Gui().ComboSelectedText(Control(IDC_LANGUAGE)), L"Deutsch");
    const TestPage& unpack = PageNamed(L"Unpack");
    EXPECT_EQ(unpack.textUpdates, updatesBefore + 1);
    EXPECT_EQ(Gui().Text(unpack.label), L"Abbrechen");
    EXPECT_EQ(ShownPage(), L"Unpack");
    EXPECT_EQ(frame.CurrentIndex(), 1);
  });
  Press(platform::kIdCancel);
  Press(platform::kIdCancel);
  frame.DoModal();
}

// The host measures deterministically: lines as high as the font's pixel height, characters
// half as wide (Tahoma 9 pt: 12 and 6 pixels; the system font 11 and 5).
TEST_F(WizardFrameTest, PageUtilitiesMeasureSizeAndPlaceControls) {
  Start();
  CWizardDialog& frame = Frame({L"Welcome", L"Finish"});
  While([&] {
    TestPage& page = PageNamed(L"Welcome");
    const platform::FontHandle font = frame.Font(DialogFont::Tahoma9);
    EXPECT_EQ(page.MeasureText(L"one two three", font, {4, 5, 50, 0}, false), (platform::Rect{4, 5, 42, 24}));
    EXPECT_EQ(page.MeasureText(L"one two three", font, {4, 5, 50, 0}, true), (platform::Rect{4, 5, 78, 12}));
    EXPECT_EQ(page.TextHeight(L"a long first line\nb", font, false), 24);
    EXPECT_EQ(page.TextHeight(L"a long first line\nb", font, true), 12);

    Gui().SetText(page.label, L"a\nb\nc");
    EXPECT_EQ(page.FitHeightToText(page.label), 13);
    EXPECT_EQ(page.GetRectInParent(page.label), (platform::Rect{0, 0, 443, 33}));
    EXPECT_EQ(page.FitWidthToText(page.label, true), 25 - 443);
    page.MoveInParent(page.label, 7, 9);
    EXPECT_EQ(page.GetRectInParent(page.label), (platform::Rect{7, 9, 25, 33}));

    page.FocusFrameControl(platform::kIdOk);
  });
  While([&] { EXPECT_EQ(Gui().Focused(), Control(platform::kIdOk)); });
  Press(platform::kIdCancel);
  Press(platform::kIdCancel);
  frame.DoModal();
}

}  // namespace
}  // namespace setup::testing
