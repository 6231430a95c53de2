// Port: the windowing the wizard needs: a modal dialog from a template, child windows and the
// standard controls on it, fonts and text measurement, icons, bitmaps and brushes, posted
// messages, pumping and timers. Windows are addressed by handle; what happens to a window is
// told to the WindowEvents object given when the window was made.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/user_interface.h"

namespace setup::platform {

using FontHandle = std::uintptr_t;
using IconHandle = std::uintptr_t;
using BitmapHandle = std::uintptr_t;
using BrushHandle = std::uintptr_t;

// A rectangle in pixels: position and size. Every pixel number of the port is one of a 96-DPI
// screen; the adapter scales it to the DPI in force, so that layouts keep their proportions.
struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// A colour as red, green and blue bytes (the COLORREF layout).
using Colour = std::uint32_t;
constexpr Colour Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) | (static_cast<Colour>(blue) << 16);
}

// A resource of the executable, by number or by name.
using ResourceName = std::variant<std::uint32_t, std::wstring_view>;

// Control ids the dialog manager gives a meaning of their own: the default button and the
// cancel button (also Escape).
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
// The id of controls that are never addressed by id.
inline constexpr int kIdStatic = 0xFFFF;

// Results of a modal dialog.
inline constexpr int kDialogOk = 1;
inline constexpr int kDialogCancel = 2;
// The result of a modal dialog that the window system could not create.
inline constexpr int kDialogNotCreated = -1;

// What a control tells its parent in a command: a button was pressed, a combo box's
// selection changed.
inline constexpr std::uint16_t kNotifyClicked = 0;
inline constexpr std::uint16_t kNotifySelectionChanged = 1;
// A tab control's selected tab changed.
inline constexpr std::uint16_t kNotifyTabChanged = 2;

enum class ControlKind {
  Window,       // a plain child window that holds controls of its own (a wizard page)
  StaticText,
  StaticIcon,
  Button,
  CheckBox,     // automatic check box with tab stop, starting a group
  ProgressBar,  // smooth progress bar
  ComboBox,     // drop-down list with a vertical scroll bar
  TabControl,   // tabs along the top, each carrying a number of its own
  RichText,     // read-only multi-line rich-edit text, parts of it in bold
  RadioButton,  // automatic radio button with tab stop; `groupStart` begins its group
  NumberEdit,   // one-line edit field with a border that takes digits only, with tab stop
};

enum class TextAlignment { Left, Centre, Right };

struct ControlSpec {
  ControlKind kind = ControlKind::Window;
  int id = 0;
  std::wstring_view text;
  Rect rect;                // in the parent's client coordinates
  bool visible = true;
  // Static texts: word-wrapped in the given alignment, or one line left-aligned without
  // wrapping. Check boxes: several lines.
  bool wrap = true;
  TextAlignment alignment = TextAlignment::Left;
  // Radio buttons: the first of its group.
  bool groupStart = false;
};

// The colours a control is drawn with; the brush paints its background.
struct ControlColours {
  std::optional<Colour> text;
  Colour background = Rgb(255, 255, 255);
  BrushHandle brush = 0;
};

// Where a window's background is painted; offered after the system erased it.
class Canvas {
 public:
  virtual ~Canvas() = default;
  // Stretches the whole bitmap onto `target` (client coordinates), copying pixels unchanged.
  virtual void StretchBitmap(BitmapHandle bitmap, const Rect& target) = 0;
};

// A piece of a rich text and its weight.
struct TextRun {
  std::wstring text;
  bool bold = false;
  bool operator==(const TextRun&) const = default;
};

// What happens to a window. Every operation has a default that does nothing.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  // A child control of `window` was pressed or changed.
  virtual void OnCommand(WindowHandle window, int controlId, std::uint16_t notification) {
    (void)window, (void)controlId, (void)notification;
  }
  // A message posted to `window` (kUserMessage and above); true when handled.
  virtual bool OnPostedMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) {
    (void)window, (void)message, (void)wParam, (void)lParam;
    return false;
  }
  virtual void OnTimer(WindowHandle window, std::uintptr_t timerId) { (void)window, (void)timerId; }
  // The colours of `control`, asked first of the control's own events and then of its
  // parent's; none leaves the system's colours.
  virtual std::optional<ControlColours> OnControlColour(WindowHandle control) {
    (void)control;
    return std::nullopt;
  }
  virtual void OnEraseBackground(WindowHandle window, Canvas& canvas) { (void)window, (void)canvas; }
  // The window is gone (with its parent, or by DestroyWindow); its handle is no longer valid.
  virtual void OnDestroyed(WindowHandle window) { (void)window; }
};

class DialogEvents : public WindowEvents {
 public:
  // The dialog and its template controls exist and are not shown yet.
  virtual void OnInitDialog(WindowHandle dialog) = 0;
};

class Gui {
 public:
  virtual ~Gui() = default;

  // Dialogs. The modal loop runs until EndDialog; its result is the value given there, or
  // kDialogNotCreated when the dialog could not be made (DialogCreationError then tells why).
  virtual int RunModalDialog(std::uint32_t templateId, DialogEvents& events) = 0;
  // The system's error code of the last dialog that could not be created; 0 when it gave none.
  virtual std::uint32_t DialogCreationError() const = 0;
  virtual void EndDialog(WindowHandle dialog, int result) = 0;
  virtual WindowHandle DialogItem(WindowHandle dialog, int controlId) const = 0;
  // Moves the focus to `control` once the current message is done.
  virtual void PostFocusControl(WindowHandle dialog, WindowHandle control) = 0;

  // Windows. A window is created as a child of `parent`; `events` (may be null) outlives it.
  virtual WindowHandle CreateControl(WindowHandle parent, const ControlSpec& spec, WindowEvents* events) = 0;
  virtual void DestroyWindow(WindowHandle window) = 0;
  virtual WindowHandle Parent(WindowHandle window) const = 0;
  virtual void SetText(WindowHandle window, std::wstring_view text) = 0;
  virtual std::wstring Text(WindowHandle window) const = 0;
  virtual void Show(WindowHandle window, bool visible) = 0;
  // The window's own visibility, whatever its parents'.
  virtual bool IsShown(WindowHandle window) const = 0;
  virtual void Enable(WindowHandle window, bool enabled) = 0;
  virtual bool IsEnabled(WindowHandle window) const = 0;
  // The window's outer rectangle in screen coordinates.
  virtual Rect WindowRect(WindowHandle window) const = 0;
  virtual Size ClientSize(WindowHandle window) const = 0;
  // Screen coordinates to the client coordinates of `window`.
  virtual Rect ScreenToClient(WindowHandle window, const Rect& rect) const = 0;
  // Places the window in its parent's client coordinates without activating it; `toTop`
  // also raises it above its siblings.
  virtual void Place(WindowHandle window, const Rect& rect, bool toTop) = 0;
  // Puts the window below all its siblings, so that they are drawn over it. A new window goes
  // below the siblings made before it.
  virtual void SendToBack(WindowHandle window) = 0;
  virtual void Invalidate(WindowHandle window, bool erase) = 0;
  // Shows the top-level window, brings it to the foreground and activates it.
  virtual void BringToForeground(WindowHandle window) = 0;
  virtual void SetWindowIcons(WindowHandle window, IconHandle icon) = 0;

  // Controls.
  virtual void SetChecked(WindowHandle checkBox, bool checked) = 0;
  virtual bool IsChecked(WindowHandle checkBox) const = 0;
  virtual void SetIconImage(WindowHandle staticIcon, IconHandle icon) = 0;
  virtual void SetProgressRange(WindowHandle bar, int maximum) = 0;
  virtual void SetProgressPosition(WindowHandle bar, int position) = 0;
  // The bar runs a marquee that moves every `intervalMs` (indeterminate progress).
  virtual void SetProgressMarquee(WindowHandle bar, int intervalMs) = 0;
  virtual void ComboClear(WindowHandle combo) = 0;
  virtual void ComboAdd(WindowHandle combo, std::wstring_view text) = 0;
  virtual void ComboSelect(WindowHandle combo, std::wstring_view text) = 0;
  virtual std::wstring ComboSelectedText(WindowHandle combo) const = 0;
  // Appends a tab; `data` comes back with the selection.
  virtual void TabAdd(WindowHandle tabs, std::wstring_view text, std::intptr_t data) = 0;
  virtual int TabCount(WindowHandle tabs) const = 0;
  // The data of the selected tab; none without a selection.
  virtual std::optional<std::intptr_t> TabSelectedData(WindowHandle tabs) const = 0;
  // The rectangle of the first tab in the tab control's client coordinates; the control's
  // first tab when it has none yet.
  virtual Rect FirstTabRect(WindowHandle tabs) const = 0;
  // Replaces the whole text of a rich-text control.
  virtual void SetRichText(WindowHandle control, const std::vector<TextRun>& runs) = 0;
  // A tooltip that shows `text` while the pointer rests on `control` of `dialog`.
  virtual void AddToolTip(WindowHandle dialog, WindowHandle control, std::wstring_view text) = 0;
  // The open-file dialog: a file that exists, none when cancelled.
  virtual std::optional<std::wstring> ChooseExistingFile(WindowHandle owner) = 0;

  // Fonts and text. A font's height follows the vertical resolution of the window's screen.
  virtual FontHandle MakeFont(WindowHandle window, std::wstring_view face, int points, int weight) = 0;
  virtual void DestroyFont(FontHandle font) = 0;
  virtual void SetFont(WindowHandle window, FontHandle font, bool redraw) = 0;
  // The window's font; 0 for the system font.
  virtual FontHandle Font(WindowHandle window) const = 0;
  // The size a text needs in `font` on the window's device context: word-wrapped within
  // `width`, or on one line.
  virtual Size MeasureText(WindowHandle window, FontHandle font, std::wstring_view text, int width,
                           bool singleLine) const = 0;

  // Icons, bitmaps and brushes. Icons live as long as the process; bitmaps and brushes are
  // destroyed by their owners.
  virtual IconHandle LoadIconResource(ResourceName name) = 0;
  // The icon's image nearest to `pixels` square, scaled to that size.
  virtual IconHandle LoadSizedIcon(ResourceName name, int pixels) = 0;
  // The icon's size; (0, 0) for none.
  virtual Size IconSize(IconHandle icon) const = 0;
  virtual BitmapHandle LoadBitmapResource(ResourceName name) = 0;
  virtual void DestroyBitmap(BitmapHandle bitmap) = 0;
  virtual BrushHandle MakeBrush(Colour colour) = 0;
  virtual void DestroyBrush(BrushHandle brush) = 0;

  // Messages and timers. Posting is safe from any thread; the rest runs on the
  // user-interface thread.
  virtual void Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Removes one pending `message` for `window` from the queue; its wParam, none when none
  // was pending.
  virtual std::optional<std::uintptr_t> TakePostedMessage(WindowHandle window, std::uint32_t message) = 0;
  // Dispatches every message that is waiting, then returns; false when it met the quit
  // message, which it leaves in the queue for the loop that owns it.
  virtual bool PumpPendingMessages() = 0;
  virtual void SetTimer(WindowHandle window, std::uintptr_t timerId, unsigned intervalMs) = 0;
  virtual void KillTimer(WindowHandle window, std::uintptr_t timerId) = 0;
};

}  // namespace setup::platform
