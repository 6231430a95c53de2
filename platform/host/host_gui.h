// Host stand-in of the GUI port: a headless tree of windows (text, visibility, enabled state,
// rectangle, font) built from the launcher's own dialog templates, with deterministic text
// metrics and the posted-message queue of the host user interface. A modal dialog runs until
// it ends or until nothing is left to do; a test drives it with idle actions (pressing
// buttons, choosing in combo boxes) that run whenever the queue is empty.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui.h"
#include "platform/host/host_user_interface.h"
#include "platform/host/rc_dialog_templates.h"

namespace setup::platform::host {

// The kinds of window the host knows: the port's kinds, the dialog, and the template-only
// statics.
enum class HostWindowKind {
  Dialog, Window, StaticText, StaticIcon, Button, CheckBox, RadioButton, Edit, ProgressBar, ComboBox, Separator,
  TabControl, RichText, NumberEdit,
};

struct HostWindow {
  WindowHandle handle = 0;
  WindowHandle parent = 0;
  HostWindowKind kind = HostWindowKind::Window;
  int id = 0;
  std::wstring text;
  bool visible = true;
  bool enabled = true;
  Rect rect;  // in the parent's client coordinates (the dialog's in screen coordinates)
  FontHandle font = 0;
  WindowEvents* events = nullptr;
  bool wrap = true;
  TextAlignment alignment = TextAlignment::Left;
  std::vector<WindowHandle> children;  // top of the siblings first
  bool checked = false;
  bool groupStart = false;
  IconHandle icon = 0;
  int progressMaximum = 100;
  int progressPosition = 0;
  int marqueeIntervalMs = 0;  // 0: no marquee
  std::vector<std::wstring> comboItems;
  int comboSelection = -1;
  std::vector<std::pair<std::wstring, std::intptr_t>> tabs;
  int tabSelection = -1;
  std::vector<TextRun> richText;
  std::wstring toolTip;
  int invalidations = 0;
};

struct HostFont {
  std::wstring face;
  int points;
  int weight;
  int pixelHeight;
};

// A bitmap stretched onto a window while its background was painted.
struct PaintedBitmap {
  WindowHandle window;
  BitmapHandle bitmap;
  Rect target;
  bool operator==(const PaintedBitmap&) const = default;
};

class HostGui : public Gui {
 public:
  // The result of a modal dialog that waited for input no idle action gave.
  static constexpr int kDialogStalled = -2;
  // Screen resolution of the host (pixels per inch).
  static constexpr int kDpi = 96;
  // Pixel height of the system font of dialogs and of controls without a font.
  static constexpr int kSystemFontHeight = 11;

  explicit HostGui(HostUserInterface& ui);

  int RunModalDialog(std::uint32_t templateId, DialogEvents& events) override;
  std::uint32_t DialogCreationError() const override { return refuseDialogs.value_or(0); }
  void EndDialog(WindowHandle dialog, int result) override;
  WindowHandle DialogItem(WindowHandle dialog, int controlId) const override;
  void PostFocusControl(WindowHandle dialog, WindowHandle control) override;

  WindowHandle CreateControl(WindowHandle parent, const ControlSpec& spec, WindowEvents* events) override;
  void DestroyWindow(WindowHandle window) override;
  WindowHandle Parent(WindowHandle window) const override;
  void SetText(WindowHandle window, std::wstring_view text) override;
  std::wstring Text(WindowHandle window) const override;
  void Show(WindowHandle window, bool visible) override;
  bool IsShown(WindowHandle window) const override;
  void Enable(WindowHandle window, bool enabled) override;
  bool IsEnabled(WindowHandle window) const override;
  Rect WindowRect(WindowHandle window) const override;
  Size ClientSize(WindowHandle window) const override;
  Rect ScreenToClient(WindowHandle window, const Rect& rect) const override;
  void Place(WindowHandle window, const Rect& rect, bool toTop) override;
  void SendToBack(WindowHandle window) override;
  void Invalidate(WindowHandle window, bool erase) override;
  void BringToForeground(WindowHandle window) override;
  void SetWindowIcons(WindowHandle window, IconHandle icon) override;

  void SetChecked(WindowHandle checkBox, bool checked) override;
  bool IsChecked(WindowHandle checkBox) const override;
  void SetIconImage(WindowHandle staticIcon, IconHandle icon) override;
  void SetProgressRange(WindowHandle bar, int maximum) override;
  void SetProgressPosition(WindowHandle bar, int position) override;
  void SetProgressMarquee(WindowHandle bar, int intervalMs) override;
  void ComboClear(WindowHandle combo) override;
  void ComboAdd(WindowHandle combo, std::wstring_view text) override;
  void ComboSelect(WindowHandle combo, std::wstring_view text) override;
  std::wstring ComboSelectedText(WindowHandle combo) const override;
  void TabAdd(WindowHandle tabs, std::wstring_view text, std::intptr_t data) override;
  int TabCount(WindowHandle tabs) const override;
  std::optional<std::intptr_t> TabSelectedData(WindowHandle tabs) const override;
  Rect FirstTabRect(WindowHandle tabs) const override;
  void SetRichText(WindowHandle control, const std::vector<TextRun>& runs) override;
  void AddToolTip(WindowHandle dialog, WindowHandle control, std::wstring_view text) override;
  std::optional<std::wstring> ChooseExistingFile(WindowHandle owner) override;

  FontHandle MakeFont(WindowHandle window, std::wstring_view face, int points, int weight) override;
  void DestroyFont(FontHandle font) override;
  void SetFont(WindowHandle window, FontHandle font, bool redraw) override;
  FontHandle Font(WindowHandle window) const override;
  Size MeasureText(WindowHandle window, FontHandle font, std::wstring_view text, int width,
                   bool singleLine) const override;

  IconHandle LoadIconResource(ResourceName name) override;
  IconHandle LoadSizedIcon(ResourceName name, int pixels) override;
  Size IconSize(IconHandle icon) const override;
  BitmapHandle LoadBitmapResource(ResourceName name) override;
  void DestroyBitmap(BitmapHandle bitmap) override;
  BrushHandle MakeBrush(Colour colour) override;
  void DestroyBrush(BrushHandle brush) override;

  void Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  std::optional<std::uintptr_t> TakePostedMessage(WindowHandle window, std::uint32_t message) override;
  bool PumpPendingMessages() override;
  void SetTimer(WindowHandle window, std::uintptr_t timerId, unsigned intervalMs) override;
  void KillTimer(WindowHandle window, std::uintptr_t timerId) override;

  // What tests read and do.
  const HostWindow& Window(WindowHandle window) const;
  bool Exists(WindowHandle window) const { return windows_.contains(window); }
  // The dialog of the running modal loop; 0 outside one.
  WindowHandle ActiveDialog() const { return dialogs_.empty() ? 0 : dialogs_.back(); }
  // The first window with `controlId` below `root`, depth first; 0 when none.
  WindowHandle FindControl(WindowHandle root, int controlId) const;
  // Presses the control as a user would: nothing happens when it is disabled or hidden; a
  // check box toggles first, a radio button is checked and the other radio buttons of its
  // group are cleared. True when the press reached the parent.
  bool Click(WindowHandle control);
  // Chooses the item with `text` in the combo box and tells its parent.
  bool ChooseComboItem(WindowHandle combo, std::wstring_view text);
  // Selects the tab at `index` and tells its parent.
  bool ChooseTab(WindowHandle tabs, int index);
  // What the user picks in the next open-file dialogs, in order; none cancels. An empty
  // queue cancels too.
  std::deque<std::optional<std::wstring>> chosenFiles;
  int fileDialogs = 0;
  // The system erases the window's background and lets its events paint on it.
  std::vector<PaintedBitmap> PaintBackground(WindowHandle window);
  // The window's control colours as the system would ask for them.
  std::optional<ControlColours> ControlColoursOf(WindowHandle control);
  const HostFont& FontInfo(FontHandle font) const { return fonts_.at(font); }
  std::size_t LiveFonts() const { return fonts_.size(); }
  std::size_t LiveBrushes() const { return brushes_.size(); }
  std::size_t LiveBitmaps() const { return bitmaps_.size(); }
  WindowHandle Foreground() const { return foreground_; }
  WindowHandle Focused() const { return focused_; }
  IconHandle WindowIcon(WindowHandle window) const;
  Size BitmapSize(BitmapHandle bitmap) const { return bitmaps_.at(bitmap); }
  Colour BrushColour(BrushHandle brush) const { return brushes_.at(brush); }

  // Set: no modal dialog can be created, as in a session without a window system; the value
  // is the error the system gives.
  std::optional<std::uint32_t> refuseDialogs;
  // Run one at a time whenever a modal loop finds the queue empty.
  std::deque<std::function<void()>> idleActions;

 private:
  WindowHandle NewWindow(WindowHandle parent, HostWindow window);
  HostWindow& At(WindowHandle window);
  void CheckRadioInGroup(WindowHandle radio);
  // Delivers one pending message of this GUI's windows; false when none was waiting.
  bool DeliverOne();
  int PixelHeight(FontHandle font) const;

  HostUserInterface& ui_;
  ScriptResources scripts_;
  std::map<WindowHandle, HostWindow> windows_;
  std::map<FontHandle, HostFont> fonts_;
  std::map<BitmapHandle, Size> bitmaps_;
  std::map<BrushHandle, Colour> brushes_;
  std::map<IconHandle, Size> icons_;
  std::map<WindowHandle, IconHandle> windowIcons_;
  std::map<std::pair<WindowHandle, std::uintptr_t>, unsigned> timers_;
  std::map<WindowHandle, std::optional<int>> dialogResults_;
  std::vector<WindowHandle> dialogs_;
  std::uintptr_t nextHandle_ = 0x100;
  WindowHandle foreground_ = 0;
  WindowHandle focused_ = 0;
};

}  // namespace setup::platform::host
