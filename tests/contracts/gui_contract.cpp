// Contract of the GUI port: the wizard's dialog template runs modally until EndDialog; its
// controls are found by id; windows made in it keep their text, visibility, enabled state and
// place; text measurement wraps within the width; posted messages reach the window's events
// or are taken from the queue; icons and bitmaps of the launcher load. (Exact pixel sizes
// differ between the host metrics and real fonts, so only their relations are checked.)
#include "contracts/platform_under_test.h"

#include <functional>
#include <vector>

#include "resources/resource_ids.h"

namespace setup::contracts {
namespace {

class GuiContract : public ContractTest {};

// Runs `check` inside the dialog's initialisation, then ends the dialog.
class CheckingDialog : public platform::DialogEvents {
 public:
  CheckingDialog(platform::Gui& gui, std::function<void(platform::WindowHandle)> check)
      : gui_(gui), check_(std::move(check)) {}
  void OnInitDialog(platform::WindowHandle dialog) override {
    check_(dialog);
    gui_.EndDialog(dialog, 7);
  }

 private:
  platform::Gui& gui_;
  std::function<void(platform::WindowHandle)> check_;
};

class RecordingEvents : public platform::WindowEvents {
 public:
  bool OnPostedMessage(platform::WindowHandle, std::uint32_t message, std::uintptr_t wParam, std::intptr_t) override {
    received.push_back({message, wParam});
    return true;
  }
  void OnDestroyed(platform::WindowHandle) override { destroyed = true; }
  std::vector<std::pair<std::uint32_t, std::uintptr_t>> received;
  bool destroyed = false;
};

platform::ControlSpec Control(platform::ControlKind kind, int id, std::wstring_view text, platform::Rect rect) {
  platform::ControlSpec spec;
  spec.kind = kind;
  spec.id = id;
  spec.text = text;
  spec.rect = rect;
  return spec;
}

TEST_F(GuiContract, TheWizardTemplateRunsUntilEndDialogWithItsControls) {
  platform::Gui& gui = *Ports().gui;
  bool checked = false;
  CheckingDialog dialog(gui, [&](platform::WindowHandle frame) {
    checked = true;
    for (const int id : {IDC_PAGE_AREA, IDC_FRAME_SEPARATOR, IDC_LANGUAGE, IDC_BACK, platform::kIdOk, platform::kIdCancel}) {
      EXPECT_NE(gui.DialogItem(frame, id), 0u) << id;
    }
    EXPECT_FALSE(gui.IsShown(gui.DialogItem(frame, IDC_LANGUAGE)));
    EXPECT_TRUE(gui.IsShown(gui.DialogItem(frame, platform::kIdOk)));
    EXPECT_EQ(gui.Text(gui.DialogItem(frame, platform::kIdOk)), L"&Next >");
    // The separator lies below the page area and spans the dialog.
    const platform::Rect area = gui.ScreenToClient(frame, gui.WindowRect(gui.DialogItem(frame, IDC_PAGE_AREA)));
    const platform::Rect line = gui.ScreenToClient(frame, gui.WindowRect(gui.DialogItem(frame, IDC_FRAME_SEPARATOR)));
    EXPECT_GT(area.width, 300);
    EXPECT_GT(line.y, area.y + area.height);
    EXPECT_GT(line.width, area.width);
  });
  EXPECT_EQ(gui.RunModalDialog(IDD_WIZARD, dialog), 7);
  EXPECT_TRUE(checked);
}

TEST_F(GuiContract, ChildWindowsKeepTheirStateAndPlace) {
  platform::Gui& gui = *Ports().gui;
  RecordingEvents pageEvents;
  CheckingDialog dialog(gui, [&](platform::WindowHandle frame) {
    const platform::WindowHandle area = gui.DialogItem(frame, IDC_PAGE_AREA);
    platform::ControlSpec pageSpec = Control(platform::ControlKind::Window, IDC_PAGE, L"", {20, 10, 300, 150});
    pageSpec.visible = false;
    const platform::WindowHandle page = gui.CreateControl(area, pageSpec, &pageEvents);
    ASSERT_NE(page, 0u);
    EXPECT_EQ(gui.Parent(page), area);
    EXPECT_FALSE(gui.IsShown(page));
    EXPECT_EQ(gui.ClientSize(page), (platform::Size{300, 150}));
    const platform::Rect inArea = gui.ScreenToClient(area, gui.WindowRect(page));
    EXPECT_EQ(inArea, (platform::Rect{20, 10, 300, 150}));

    const platform::WindowHandle text =
        gui.CreateControl(page, Control(platform::ControlKind::StaticText, 3001, L"First", {5, 6, 100, 20}), nullptr);
    EXPECT_EQ(gui.Text(text), L"First");
    gui.SetText(text, L"Zweite Zeile");
    EXPECT_EQ(gui.Text(text), L"Zweite Zeile");
    EXPECT_TRUE(gui.IsShown(text));
    gui.Show(text, false);
    EXPECT_FALSE(gui.IsShown(text));
    gui.Enable(text, false);
    EXPECT_FALSE(gui.IsEnabled(text));
    gui.Place(text, {7, 8, 60, 30}, true);
    EXPECT_EQ(gui.ScreenToClient(page, gui.WindowRect(text)), (platform::Rect{7, 8, 60, 30}));

    const platform::WindowHandle box =
        gui.CreateControl(page, Control(platform::ControlKind::CheckBox, 3002, L"Keep", {5, 40, 100, 20}), nullptr);
    EXPECT_FALSE(gui.IsChecked(box));
    gui.SetChecked(box, true);
    EXPECT_TRUE(gui.IsChecked(box));

    const platform::WindowHandle combo = gui.DialogItem(frame, IDC_LANGUAGE);
    gui.ComboAdd(combo, L"English");
    gui.ComboAdd(combo, L"Deutsch");
    gui.ComboSelect(combo, L"Deutsch");
    EXPECT_EQ(gui.ComboSelectedText(combo), L"Deutsch");
    gui.ComboClear(combo);
    EXPECT_EQ(gui.ComboSelectedText(combo), L"");
  });
  EXPECT_EQ(gui.RunModalDialog(IDD_WIZARD, dialog), 7);
  EXPECT_TRUE(pageEvents.destroyed);
}

TEST_F(GuiContract, TextMeasurementWrapsWithinTheWidth) {
  platform::Gui& gui = *Ports().gui;
  CheckingDialog dialog(gui, [&](platform::WindowHandle frame) {
    const platform::FontHandle font = gui.MakeFont(frame, L"Tahoma", 9, 400);
    ASSERT_NE(font, 0u);
    const std::wstring text = L"one two three four five six seven eight";
    const platform::Size line = gui.MeasureText(frame, font, text, 1, true);
    const platform::Size wrapped = gui.MeasureText(frame, font, text, line.width / 2, false);
    EXPECT_GT(line.height, 0);
    EXPECT_GE(wrapped.height, 2 * line.height);
    EXPECT_LE(wrapped.width, line.width / 2);
    EXPECT_EQ(gui.MeasureText(frame, font, L"a\nb", 500, false).height, 2 * line.height);
    const platform::FontHandle bigger = gui.MakeFont(frame, L"Tahoma", 18, 700);
    EXPECT_GT(gui.MeasureText(frame, bigger, text, 1, true).height, line.height);
    gui.DestroyFont(bigger);
    gui.DestroyFont(font);
  });
  gui.RunModalDialog(IDD_WIZARD, dialog);
}

TEST_F(GuiContract, PostedMessagesAreTakenOrDeliveredInOrder) {
  platform::Gui& gui = *Ports().gui;
  RecordingEvents events;
  CheckingDialog dialog(gui, [&](platform::WindowHandle frame) {
    const platform::WindowHandle page = gui.CreateControl(
        gui.DialogItem(frame, IDC_PAGE_AREA), Control(platform::ControlKind::Window, IDC_PAGE, L"", {0, 0, 10, 10}),
        &events);
    const std::uint32_t progress = platform::kUserMessage + 1;
    const std::uint32_t detail = platform::kUserMessage + 3;
    gui.Post(page, progress, 5, 0);
    gui.Post(page, detail, 1, 0);
    gui.Post(page, progress, 9, 0);
    EXPECT_EQ(gui.TakePostedMessage(page, progress), std::optional<std::uintptr_t>(5));
    EXPECT_TRUE(gui.PumpPendingMessages());
    EXPECT_EQ(events.received, (std::vector<std::pair<std::uint32_t, std::uintptr_t>>{{detail, 1}, {progress, 9}}));
    EXPECT_EQ(gui.TakePostedMessage(page, progress), std::nullopt);
  });
  gui.RunModalDialog(IDD_WIZARD, dialog);
}

TEST_F(GuiContract, TheLaunchersPicturesLoad) {
  platform::Gui& gui = *Ports().gui;
  const platform::IconHandle icon = gui.LoadIconResource(std::uint32_t{IDI_WIZARD});
  ASSERT_NE(icon, 0u);
  const platform::Size size = gui.IconSize(icon);
  EXPECT_GE(size.width, 16);
  EXPECT_EQ(size.width, size.height);
  EXPECT_EQ(gui.IconSize(0), (platform::Size{}));
  const platform::IconHandle product = gui.LoadSizedIcon(std::wstring_view(L"IDB_PRODUCT_IMAGE"), 48);
  ASSERT_NE(product, 0u);
  EXPECT_EQ(gui.IconSize(product), (platform::Size{48, 48}));
  const platform::BitmapHandle bitmap = gui.LoadBitmapResource(std::uint32_t{IDB_WIZARD_BACKGROUND});
  EXPECT_NE(bitmap, 0u);
  gui.DestroyBitmap(bitmap);
  EXPECT_EQ(gui.LoadIconResource(std::wstring_view(L"NO_SUCH_ICON")), 0u);
  const platform::BrushHandle brush = gui.MakeBrush(platform::Rgb(255, 255, 255));
  EXPECT_NE(brush, 0u);
  gui.DestroyBrush(brush);
}

}  // namespace
}  // namespace setup::contracts
