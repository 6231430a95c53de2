// The GUI of a run that never shows a window (the quiet interface levels): the wizard walks
// its pages as always, but on windows that exist only in memory. Nothing is drawn, no window
// system is needed (a session without a desktop, Wine without a display), and no time goes
// into making windows nobody sees. Posted messages may come from any thread; a modal dialog
// waits for them, for its timers and for its end.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui.h"
#include "platform/windowless/dialog_layout.h"

namespace setup::platform {

class WindowlessGui : public Gui {
 public:
  // The layout of a dialog template by its id; none when the template is missing.
  using LayoutReader = std::function<std::optional<DialogLayout>(std::uint32_t templateId)>;

  explicit WindowlessGui(LayoutReader layouts) : layouts_(std::move(layouts)) {}

  int RunModalDialog(std::uint32_t templateId, DialogEvents& events) override;
  std::uint32_t DialogCreationError() const override { return 0; }
  void EndDialog(WindowHandle dialog, int result) override;
  WindowHandle DialogItem(WindowHandle dialog, int controlId) const override;
  void PostFocusControl(WindowHandle, WindowHandle) override {}

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
  void SendToBack(WindowHandle) override {}
  void Invalidate(WindowHandle, bool) override {}
  // Nobody sees the window; it stays hidden.
  void BringToForeground(WindowHandle) override {}
  void SetWindowIcons(WindowHandle, IconHandle) override {}

  void SetChecked(WindowHandle checkBox, bool checked) override;
  bool IsChecked(WindowHandle checkBox) const override;
  void SetIconImage(WindowHandle, IconHandle) override {}
  void SetProgressRange(WindowHandle, int) override {}
  void SetProgressPosition(WindowHandle, int) override {}
  void SetProgressMarquee(WindowHandle, int) override {}
  void ComboClear(WindowHandle combo) override;
  void ComboAdd(WindowHandle combo, std::wstring_view text) override;
  void ComboSelect(WindowHandle combo, std::wstring_view text) override;
  std::wstring ComboSelectedText(WindowHandle combo) const override;
  void TabAdd(WindowHandle tabs, std::wstring_view text, std::intptr_t data) override;
  int TabCount(WindowHandle tabs) const override;
  std::optional<std::intptr_t> TabSelectedData(WindowHandle tabs) const override;
  Rect FirstTabRect(WindowHandle) const override { return {}; }
  void SetRichText(WindowHandle control, const std::vector<TextRun>& runs) override;
  void AddToolTip(WindowHandle, WindowHandle, std::wstring_view) override {}
  std::optional<std::wstring> ChooseExistingFile(WindowHandle) override { return std::nullopt; }

  // Fonts, pictures and brushes are tokens: nothing is drawn with them.
  FontHandle MakeFont(WindowHandle, std::wstring_view, int, int) override { return NewToken(); }
  void DestroyFont(FontHandle) override {}
  void SetFont(WindowHandle window, FontHandle font, bool redraw) override;
  FontHandle Font(WindowHandle window) const override;
  // A line is as high as the templates' font and every character half as wide; wrapped text
  // fills the width it is given.
  Size MeasureText(WindowHandle window, FontHandle font, std::wstring_view text, int width,
                   bool singleLine) const override;
  IconHandle LoadIconResource(ResourceName) override { return NewToken(); }
  IconHandle LoadSizedIcon(ResourceName, int) override { return NewToken(); }
  Size IconSize(IconHandle) const override { return {}; }
  BitmapHandle LoadBitmapResource(ResourceName) override { return NewToken(); }
  void DestroyBitmap(BitmapHandle) override {}
  BrushHandle MakeBrush(Colour) override { return NewToken(); }
  void DestroyBrush(BrushHandle) override {}

  void Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  std::optional<std::uintptr_t> TakePostedMessage(WindowHandle window, std::uint32_t message) override;
  bool PumpPendingMessages() override;
  void SetTimer(WindowHandle window, std::uintptr_t timerId, unsigned intervalMs) override;
  void KillTimer(WindowHandle window, std::uintptr_t timerId) override;

 private:
  using Clock = std::chrono::steady_clock;

  struct Window {
    WindowHandle parent = 0;
    int id = 0;
    std::wstring text;
    Rect rect;  // in the parent's client coordinates
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    FontHandle font = 0;
    WindowEvents* events = nullptr;
    std::vector<WindowHandle> children;
    std::vector<std::wstring> comboItems;
    int comboSelection = -1;
    std::vector<std::intptr_t> tabData;
  };
  struct Posted {
    WindowHandle window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  struct Timer {
    Clock::duration interval;
    Clock::time_point due;
  };

  std::uintptr_t NewToken() { return nextHandle_++; }
  WindowHandle NewWindow(WindowHandle parent, Window window);
  Window& At(WindowHandle window);
  const Window& At(WindowHandle window) const;
  // Delivers the first waiting message of a window that still exists; false when none waits.
  bool DeliverOne();
  // Runs the timers that are due; false when none was.
  bool RunDueTimers();
  // Waits until a message is posted or the next timer is due.
  void WaitForWork();

  LayoutReader layouts_;
  std::map<WindowHandle, Window> windows_;
  std::map<std::pair<WindowHandle, std::uintptr_t>, Timer> timers_;
  std::map<WindowHandle, std::optional<int>> dialogResults_;
  std::uintptr_t nextHandle_ = 0x100;

  std::mutex queueLock_;
  std::condition_variable posted_;
  std::deque<Posted> queue_;
};

}  // namespace setup::platform
