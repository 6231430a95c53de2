// The GUI port on plain Win32 and the common controls. user32, gdi32 and comctl32 are loaded
// on first use (system_function.h), so that the console modes never start the windowing
// system. Pages are windows of a class of our own; every window made here, and the modal
// dialog, tell their WindowEvents what happens to them.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>

#include <map>

#include "platform/win32/system_function.h"
#include "platform/win32/win32_ports.h"

#define USER32(function) SETUP_CALL(L"user32.dll", function)
#define GDI32(function) SETUP_CALL(L"gdi32.dll", function)

namespace setup::platform::win32 {

namespace {

constexpr wchar_t kPageClass[] = L"SetupLauncherPage";

HWND Hwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle Handle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// The events of every window made through the port; only the user-interface thread uses it.
std::map<HWND, WindowEvents*>& EventsOf() {
  static std::map<HWND, WindowEvents*> events;
  return events;
}

WindowEvents* Find(HWND window) {
  const auto found = EventsOf().find(window);
  return found == EventsOf().end() ? nullptr : found->second;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return USER32(SendMessageW)(window, message, wParam, lParam);
}

// The port speaks in pixels of a 96-DPI screen, the numbers the pages are laid out in; here, at
// its edge, they become pixels of the DPI in force and back, so that rectangles, spacings and
// pictures grow with the fonts. The launcher declares itself DPI aware, so the DPI of the screen
// is the one it draws at (96 when the system stretches it instead).
constexpr int kLayoutDpi = 96;

int ScreenDpi() {
  static const int dpi = [] {
    HDC screen = USER32(GetDC)(nullptr);
    const int found = screen ? GDI32(GetDeviceCaps)(screen, LOGPIXELSY) : kLayoutDpi;
    if (screen) USER32(ReleaseDC)(nullptr, screen);
    return found > 0 ? found : kLayoutDpi;
  }();
  return dpi;
}

int ToDevice(int layout) { return MulDiv(layout, ScreenDpi(), kLayoutDpi); }
int ToLayout(int device) { return MulDiv(device, kLayoutDpi, ScreenDpi()); }
// A measured extent, rounded up: scaled back to the screen it covers at least what was measured.
int ExtentToLayout(int device) { return device <= 0 ? device : (device * kLayoutDpi + ScreenDpi() - 1) / ScreenDpi(); }

// Edges are scaled, not sizes, so that rectangles that meet keep meeting.
Rect ToDevice(const Rect& rect) {
  const int x = ToDevice(rect.x);
  const int y = ToDevice(rect.y);
  return {x, y, ToDevice(rect.x + rect.width) - x, ToDevice(rect.y + rect.height) - y};
}
Rect ToLayout(const RECT& rect) {
  const int x = ToLayout(rect.left);
  const int y = ToLayout(rect.top);
  return {x, y, ToLayout(rect.right) - x, ToLayout(rect.bottom) - y};
}

class DeviceCanvas : public Canvas {
 public:
  explicit DeviceCanvas(HDC dc) : dc_(dc) {}
  void StretchBitmap(BitmapHandle bitmap, const Rect& layoutTarget) override {
    const Rect target = ToDevice(layoutTarget);
    BITMAP info{};
    if (!GDI32(GetObjectW)(reinterpret_cast<HGDIOBJ>(bitmap), sizeof info, &info)) return;
    HDC memory = GDI32(CreateCompatibleDC)(dc_);
    HGDIOBJ old = GDI32(SelectObject)(memory, reinterpret_cast<HGDIOBJ>(bitmap));
    GDI32(SetStretchBltMode)(dc_, COLORONCOLOR);
    GDI32(StretchBlt)(dc_, target.x, target.y, target.width, target.height, memory, 0, 0, info.bmWidth, info.bmHeight,
                      SRCCOPY);
    GDI32(SelectObject)(memory, old);
    GDI32(DeleteDC)(memory);
  }

 private:
  HDC dc_;
};

// The colours of a control: its own events first (reflection), then its parent's.
bool ApplyControlColours(HWND parent, HDC dc, HWND control, LRESULT& brush) {
  std::optional<ControlColours> colours;
  if (WindowEvents* own = Find(control)) colours = own->OnControlColour(Handle(control));
  if (!colours) {
    if (WindowEvents* events = Find(parent)) colours = events->OnControlColour(Handle(control));
  }
  if (!colours) return false;
  if (colours->text) GDI32(SetTextColor)(dc, *colours->text);
  GDI32(SetBkColor)(dc, colours->background);
  brush = static_cast<LRESULT>(colours->brush);
  return true;
}

// What dialogs and pages handle alike; true when the message was handled, with its result.
bool HandleCommon(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  WindowEvents* events = Find(window);
  switch (message) {
    case WM_COMMAND: {
      // The dialog manager tells the dialog itself when Enter presses the focused push button
      // of a page; the command belongs to the page that holds the button.
      const auto control = reinterpret_cast<HWND>(lParam);
      HWND holder = control != nullptr && USER32(IsChild)(window, control) ? USER32(GetParent)(control) : window;
      WindowEvents* target = Find(holder);
      if (!target) holder = window, target = events;
      if (!target) return false;
      target->OnCommand(Handle(holder), LOWORD(wParam), HIWORD(wParam));
      result = 0;
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return ApplyControlColours(window, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), result);
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (!events || header->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
      events->OnCommand(Handle(window), static_cast<int>(header->idFrom), kNotifyTabChanged);
      result = 0;
      return true;
    }
    case WM_TIMER:
      if (!events) return false;
      events->OnTimer(Handle(window), wParam);
      result = 0;
      return true;
    case WM_NCDESTROY:
      EventsOf().erase(window);
      if (events) events->OnDestroyed(Handle(window));
      return false;
    default:
      if (message < WM_USER || message > 0x7FFF || !events) return false;
      result = 0;
      return events->OnPostedMessage(Handle(window), message, wParam, lParam);
  }
}

LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    const LRESULT erased = USER32(DefWindowProcW)(window, message, wParam, lParam);
    DeviceCanvas canvas(reinterpret_cast<HDC>(wParam));
    if (WindowEvents* events = Find(window)) events->OnEraseBackground(Handle(window), canvas);
    return erased;
  }
  LRESULT result = 0;
  if (HandleCommon(window, message, wParam, lParam, result)) return result;
  return USER32(DefWindowProcW)(window, message, wParam, lParam);
}

// A dialog opened from another window sits in the middle of it; one without an owner (the
// wizard at start-up) sits in the middle of the work area of its monitor.
void Centre(HWND dialog) {
  RECT outer{};
  if (HWND owner = USER32(GetWindow)(dialog, GW_OWNER)) {
    USER32(GetWindowRect)(owner, &outer);
  } else {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!USER32(GetMonitorInfoW)(USER32(MonitorFromWindow)(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    outer = monitor.rcWork;
  }
  RECT own{};
  USER32(GetWindowRect)(dialog, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  USER32(SetWindowPos)(dialog, nullptr, outer.left + (outer.right - outer.left - width) / 2,
                       outer.top + (outer.bottom - outer.top - height) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* events = reinterpret_cast<DialogEvents*>(lParam);
    EventsOf()[dialog] = events;
    events->OnInitDialog(Handle(dialog));
    Centre(dialog);
    return TRUE;
  }
  if (message == WM_ERASEBKGND) {
    // The dialog manager's own erase, then the dialog's painting on top of it.
    HDC dc = reinterpret_cast<HDC>(wParam);
    RECT client;
    USER32(GetClientRect)(dialog, &client);
    WindowEvents* events = Find(dialog);
    // A dialog that gives colours for itself is painted in its own brush.
    const std::optional<ControlColours> own = events ? events->OnControlColour(Handle(dialog)) : std::nullopt;
    HBRUSH brush = own && own->brush ? reinterpret_cast<HBRUSH>(own->brush) : USER32(GetSysColorBrush)(COLOR_BTNFACE);
    USER32(FillRect)(dc, &client, brush);
    DeviceCanvas canvas(dc);
    if (events) events->OnEraseBackground(Handle(dialog), canvas);
    return TRUE;
  }
  LRESULT result = 0;
  if (!HandleCommon(dialog, message, wParam, lParam, result)) return FALSE;
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return static_cast<INT_PTR>(result);
    default:
      return TRUE;
  }
}

void RegisterPageClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = PageProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = USER32(LoadCursorW)(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(GDI32(GetStockObject)(WHITE_BRUSH));
    windowClass.lpszClassName = kPageClass;
    return USER32(RegisterClassExW)(&windowClass) != 0;
  }();
  (void)registered;
}

void InitCommonControls() {
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
    const auto init = SETUP_CALL(L"comctl32.dll", InitCommonControlsEx);
    return init && init(&controls);
  }();
  (void)initialised;
}

// The font a new control takes: the nearest ancestor's that has one (the dialog's).
HFONT InheritedFont(HWND parent) {
  for (HWND window = parent; window != nullptr; window = USER32(GetParent)(window)) {
    if (auto font = reinterpret_cast<HFONT>(Send(window, WM_GETFONT))) return font;
  }
  return nullptr;
}

class Win32Gui : public Gui {
 public:
  int RunModalDialog(std::uint32_t templateId, DialogEvents& events) override {
    InitCommonControls();
    RegisterPageClass();
    // A dialog opened from the wizard is modal to it: the wizard waits disabled behind it.
    HWND owner = USER32(GetActiveWindow)();
    SetLastError(0);
    const INT_PTR result = USER32(DialogBoxParamW)(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
                                                   DialogProc, reinterpret_cast<LPARAM>(&events));
    if (result != -1) return static_cast<int>(result);
    // Also where the process has no window system to show windows on: a service session whose
    // desktop heap is spent, or a Wine prefix whose desktop started without a display (there
    // window creation fails without an error code).
    dialogCreationError_ = GetLastError();
    return kDialogNotCreated;
  }

  std::uint32_t DialogCreationError() const override { return dialogCreationError_; }

  void EndDialog(WindowHandle dialog, int result) override { USER32(EndDialog)(Hwnd(dialog), result); }

  WindowHandle DialogItem(WindowHandle dialog, int controlId) const override {
    return Handle(USER32(GetDlgItem)(Hwnd(dialog), controlId));
  }

  void PostFocusControl(WindowHandle dialog, WindowHandle control) override {
    USER32(PostMessageW)(Hwnd(dialog), WM_NEXTDLGCTL, static_cast<WPARAM>(control), TRUE);
  }

  WindowHandle CreateControl(WindowHandle parent, const ControlSpec& spec, WindowEvents* events) override {
    InitCommonControls();
    RegisterPageClass();
    DWORD style = WS_CHILD | (spec.visible ? WS_VISIBLE : 0);
    DWORD extended = 0;
    const wchar_t* windowClass = L"STATIC";
    switch (spec.kind) {
      case ControlKind::Window:
        windowClass = kPageClass;
        extended = WS_EX_CONTROLPARENT;
        break;
      case ControlKind::StaticText:
        style |= !spec.wrap ? SS_LEFTNOWORDWRAP
                 : spec.alignment == TextAlignment::Centre ? SS_CENTER
                 : spec.alignment == TextAlignment::Right  ? SS_RIGHT
                                                           : SS_LEFT;
        break;
      case ControlKind::StaticIcon:
        style |= SS_ICON;
        break;
      case ControlKind::Button:
        windowClass = L"BUTTON";
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
      case ControlKind::CheckBox:
        windowClass = L"BUTTON";
        style |= BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP | (spec.wrap ? BS_MULTILINE : 0);
        break;
      case ControlKind::ProgressBar:
        windowClass = PROGRESS_CLASSW;
        style |= PBS_SMOOTH;
        break;
      case ControlKind::ComboBox:
        windowClass = L"COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        break;
      case ControlKind::TabControl:
        // Its siblings lie on top of it (its page puts it below them); it must not paint over them.
        windowClass = WC_TABCONTROLW;
        style |= WS_CLIPSIBLINGS | WS_TABSTOP;
        break;
      case ControlKind::RichText:
        // It may reach under the edge of a control beside it (a button above its top line), and
        // leaves that control's pixels to it.
        windowClass = MSFTEDIT_CLASS;
        style |= ES_MULTILINE | ES_READONLY | WS_CLIPSIBLINGS;
        break;
      case ControlKind::RadioButton:
        windowClass = L"BUTTON";
        style |= BS_AUTORADIOBUTTON | WS_TABSTOP | (spec.groupStart ? WS_GROUP : 0);
        break;
      case ControlKind::NumberEdit:
        windowClass = L"EDIT";
        style |= ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
        break;
    }
    const std::wstring text(spec.text);
    const Rect rect = ToDevice(spec.rect);
    HWND window = USER32(CreateWindowExW)(extended, windowClass, text.c_str(), style, rect.x, rect.y, rect.width,
                                          rect.height, Hwnd(parent),
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                          GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) return 0;
    if (events) EventsOf()[window] = events;
    if (HFONT font = InheritedFont(Hwnd(parent))) Send(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return Handle(window);
  }

  void DestroyWindow(WindowHandle window) override { USER32(DestroyWindow)(Hwnd(window)); }
  WindowHandle Parent(WindowHandle window) const override { return Handle(USER32(GetParent)(Hwnd(window))); }

  void SetText(WindowHandle window, std::wstring_view text) override {
    const std::wstring copy(text);
    USER32(SetWindowTextW)(Hwnd(window), copy.c_str());
  }

  std::wstring Text(WindowHandle window) const override {
    const int length = USER32(GetWindowTextLengthW)(Hwnd(window));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = USER32(GetWindowTextW)(Hwnd(window), text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
  }

  void Show(WindowHandle window, bool visible) override {
    USER32(ShowWindow)(Hwnd(window), visible ? SW_SHOW : SW_HIDE);
  }
  bool IsShown(WindowHandle window) const override {
    return (USER32(GetWindowLongW)(Hwnd(window), GWL_STYLE) & WS_VISIBLE) != 0;
  }
  void Enable(WindowHandle window, bool enabled) override { USER32(EnableWindow)(Hwnd(window), enabled); }
  bool IsEnabled(WindowHandle window) const override { return USER32(IsWindowEnabled)(Hwnd(window)) != FALSE; }

  Rect WindowRect(WindowHandle window) const override {
    RECT rect{};
    USER32(GetWindowRect)(Hwnd(window), &rect);
    return ToLayout(rect);
  }

  Size ClientSize(WindowHandle window) const override {
    RECT rect{};
    USER32(GetClientRect)(Hwnd(window), &rect);
    return {ToLayout(rect.right - rect.left), ToLayout(rect.bottom - rect.top)};
  }

  Rect ScreenToClient(WindowHandle window, const Rect& rect) const override {
    POINT corner{ToDevice(rect.x), ToDevice(rect.y)};
    USER32(ScreenToClient)(Hwnd(window), &corner);
    return {ToLayout(corner.x), ToLayout(corner.y), rect.width, rect.height};
  }

  void Place(WindowHandle window, const Rect& layoutRect, bool toTop) override {
    const Rect rect = ToDevice(layoutRect);
    USER32(SetWindowPos)(Hwnd(window), toTop ? HWND_TOP : nullptr, rect.x, rect.y, rect.width, rect.height,
                         SWP_NOACTIVATE | (toTop ? 0 : SWP_NOZORDER));
  }

  void SendToBack(WindowHandle window) override {
    USER32(SetWindowPos)(Hwnd(window), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  void Invalidate(WindowHandle window, bool erase) override { USER32(InvalidateRect)(Hwnd(window), nullptr, erase); }

  void BringToForeground(WindowHandle window) override {
    USER32(ShowWindow)(Hwnd(window), SW_SHOW);
    USER32(SetForegroundWindow)(Hwnd(window));
    USER32(SetActiveWindow)(Hwnd(window));
  }

  void SetWindowIcons(WindowHandle window, IconHandle icon) override {
    Send(Hwnd(window), WM_SETICON, ICON_BIG, static_cast<LPARAM>(icon));
    Send(Hwnd(window), WM_SETICON, ICON_SMALL, static_cast<LPARAM>(icon));
  }

  void SetChecked(WindowHandle checkBox, bool checked) override {
    Send(Hwnd(checkBox), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
  }
  bool IsChecked(WindowHandle checkBox) const override { return Send(Hwnd(checkBox), BM_GETCHECK) == BST_CHECKED; }
  void SetIconImage(WindowHandle staticIcon, IconHandle icon) override {
    Send(Hwnd(staticIcon), STM_SETICON, static_cast<WPARAM>(icon));
  }

  void SetProgressRange(WindowHandle bar, int maximum) override {
    SetMarqueeStyle(Hwnd(bar), false);
    Send(Hwnd(bar), PBM_SETMARQUEE, FALSE, 0);
    Send(Hwnd(bar), PBM_SETRANGE32, 0, maximum);
  }
  void SetProgressPosition(WindowHandle bar, int position) override {
    Send(Hwnd(bar), PBM_SETPOS, static_cast<WPARAM>(position));
  }
  void SetProgressMarquee(WindowHandle bar, int intervalMs) override {
    SetMarqueeStyle(Hwnd(bar), true);
    Send(Hwnd(bar), PBM_SETMARQUEE, TRUE, intervalMs);
  }

  void ComboClear(WindowHandle combo) override { Send(Hwnd(combo), CB_RESETCONTENT); }
  void ComboAdd(WindowHandle combo, std::wstring_view text) override {
    const std::wstring copy(text);
    Send(Hwnd(combo), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(copy.c_str()));
  }
  void ComboSelect(WindowHandle combo, std::wstring_view text) override {
    const std::wstring copy(text);
    const LRESULT index = Send(Hwnd(combo), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(copy.c_str()));
    Send(Hwnd(combo), CB_SETCURSEL, static_cast<WPARAM>(index));
  }
  std::wstring ComboSelectedText(WindowHandle combo) const override {
    const LRESULT index = Send(Hwnd(combo), CB_GETCURSEL);
    if (index < 0) return {};
    const LRESULT length = Send(Hwnd(combo), CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length < 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    Send(Hwnd(combo), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
  }

  void TabAdd(WindowHandle tabs, std::wstring_view text, std::intptr_t data) override {
    std::wstring copy(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = copy.data();
    item.lParam = data;
    Send(Hwnd(tabs), TCM_INSERTITEMW, static_cast<WPARAM>(TabCount(tabs)), reinterpret_cast<LPARAM>(&item));
  }
  int TabCount(WindowHandle tabs) const override { return static_cast<int>(Send(Hwnd(tabs), TCM_GETITEMCOUNT)); }
  std::optional<std::intptr_t> TabSelectedData(WindowHandle tabs) const override {
    const LRESULT selected = Send(Hwnd(tabs), TCM_GETCURSEL);
    if (selected < 0) return std::nullopt;
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    if (!Send(Hwnd(tabs), TCM_GETITEMW, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item))) {
      return std::nullopt;
    }
    return item.lParam;
  }
  Rect FirstTabRect(WindowHandle tabs) const override {
    // Without tabs the control has no tab rectangle yet: a stand-in tab is measured.
    const bool empty = Send(Hwnd(tabs), TCM_GETITEMCOUNT) == 0;
    if (empty) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      wchar_t blank[] = L" ";
      item.pszText = blank;
      Send(Hwnd(tabs), TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    RECT rect{};
    Send(Hwnd(tabs), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect));
    if (empty) Send(Hwnd(tabs), TCM_DELETEALLITEMS);
    return ToLayout(rect);
  }
  void SetRichText(WindowHandle control, const std::vector<TextRun>& runs) override {
    HWND window = Hwnd(control);
    USER32(SetWindowTextW)(window, L"");
    for (const TextRun& run : runs) {
      Send(window, EM_SETSEL, static_cast<WPARAM>(-1), -1);
      CHARFORMAT2W format{};
      format.cbSize = sizeof format;
      format.dwMask = CFM_BOLD;
      format.dwEffects = run.bold ? CFE_BOLD : 0;
      Send(window, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
      Send(window, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(run.text.c_str()));
    }
  }
  void AddToolTip(WindowHandle dialog, WindowHandle control, std::wstring_view text) override {
    HWND tip = ToolTipOf(Hwnd(dialog));
    if (tip == nullptr) return;
    std::wstring copy(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    // The tooltip watches the control's messages itself.
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Hwnd(dialog);
    tool.uId = static_cast<UINT_PTR>(control);
    tool.lpszText = copy.data();
    Send(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    Send(tip, TTM_ACTIVATE, TRUE);
  }
  std::optional<std::wstring> ChooseExistingFile(WindowHandle owner) override {
    std::wstring file(512, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Hwnd(owner);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    const auto open = SETUP_CALL(L"comdlg32.dll", GetOpenFileNameW);
    if (!open || !open(&dialog)) return std::nullopt;
    file.resize(file.find(L'\0'));
    return file;
  }

  FontHandle MakeFont(WindowHandle window, std::wstring_view face, int points, int weight) override {
    HDC dc = USER32(GetDC)(Hwnd(window));
    const int dpi = dc ? GDI32(GetDeviceCaps)(dc, LOGPIXELSY) : 96;
    if (dc) USER32(ReleaseDC)(Hwnd(window), dc);
    const std::wstring name(face);
    HFONT font = GDI32(CreateFontW)(-MulDiv(points, dpi, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_DONTCARE, name.c_str());
    return reinterpret_cast<FontHandle>(font);
  }
  void DestroyFont(FontHandle font) override { GDI32(DeleteObject)(reinterpret_cast<HGDIOBJ>(font)); }
  void SetFont(WindowHandle window, FontHandle font, bool redraw) override {
    Send(Hwnd(window), WM_SETFONT, static_cast<WPARAM>(font), redraw);
  }
  FontHandle Font(WindowHandle window) const override {
    return static_cast<FontHandle>(Send(Hwnd(window), WM_GETFONT));
  }

  Size MeasureText(WindowHandle window, FontHandle font, std::wstring_view text, int width,
                   bool singleLine) const override {
    HDC dc = USER32(GetDC)(Hwnd(window));
    if (dc == nullptr) return {};
    HGDIOBJ old = font ? GDI32(SelectObject)(dc, reinterpret_cast<HGDIOBJ>(font)) : nullptr;
    RECT rect{0, 0, singleLine ? 1 : ToDevice(width), 0};
    USER32(DrawTextW)(dc, text.data(), static_cast<int>(text.size()), &rect,
                      DT_CALCRECT | (singleLine ? DT_SINGLELINE : DT_WORDBREAK));
    if (old) GDI32(SelectObject)(dc, old);
    USER32(ReleaseDC)(Hwnd(window), dc);
    return {ExtentToLayout(rect.right - rect.left), ExtentToLayout(rect.bottom - rect.top)};
  }

  IconHandle LoadIconResource(ResourceName name) override {
    const std::wstring text = NameText(name);
    return reinterpret_cast<IconHandle>(USER32(LoadImageW)(GetModuleHandleW(nullptr), ResourcePointer(name, text),
                                                           IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  }

  IconHandle LoadSizedIcon(ResourceName name, int pixels) override {
    const std::wstring text = NameText(name);
    return reinterpret_cast<IconHandle>(USER32(LoadImageW)(GetModuleHandleW(nullptr), ResourcePointer(name, text),
                                                           IMAGE_ICON, ToDevice(pixels), ToDevice(pixels), LR_SHARED));
  }

  // The colour bitmap's size; an icon with only a mask holds its two halves one above the other.
  Size IconSize(IconHandle icon) const override {
    ICONINFO info{};
    if (icon == 0 || !USER32(GetIconInfo)(reinterpret_cast<HICON>(icon), &info)) return {};
    BITMAP bitmap{};
    Size size;
    if (info.hbmColor && GDI32(GetObjectW)(info.hbmColor, sizeof bitmap, &bitmap)) {
      size = {bitmap.bmWidth, bitmap.bmHeight};
    } else if (info.hbmMask && GDI32(GetObjectW)(info.hbmMask, sizeof bitmap, &bitmap)) {
      size = {bitmap.bmWidth, bitmap.bmHeight / 2};
    }
    if (info.hbmColor) GDI32(DeleteObject)(info.hbmColor);
    if (info.hbmMask) GDI32(DeleteObject)(info.hbmMask);
    return {ToLayout(size.width), ToLayout(size.height)};
  }

  BitmapHandle LoadBitmapResource(ResourceName name) override {
    const std::wstring text = NameText(name);
    return reinterpret_cast<BitmapHandle>(
        USER32(LoadImageW)(GetModuleHandleW(nullptr), ResourcePointer(name, text), IMAGE_BITMAP, 0, 0, 0));
  }
  void DestroyBitmap(BitmapHandle bitmap) override { GDI32(DeleteObject)(reinterpret_cast<HGDIOBJ>(bitmap)); }
  BrushHandle MakeBrush(Colour colour) override { return reinterpret_cast<BrushHandle>(GDI32(CreateSolidBrush)(colour)); }
  void DestroyBrush(BrushHandle brush) override { GDI32(DeleteObject)(reinterpret_cast<HGDIOBJ>(brush)); }

  void Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    USER32(PostMessageW)(Hwnd(window), message, wParam, lParam);
  }

  std::optional<std::uintptr_t> TakePostedMessage(WindowHandle window, std::uint32_t message) override {
    MSG taken;
    if (!USER32(PeekMessageW)(&taken, Hwnd(window), message, message, PM_REMOVE)) return std::nullopt;
    return taken.wParam;
  }

  bool PumpPendingMessages() override {
    MSG message;
    while (USER32(PeekMessageW)(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        // Left for the loop that owns the quit.
        USER32(PostQuitMessage)(static_cast<int>(message.wParam));
        return false;
      }
      HWND dialog = USER32(GetActiveWindow)();
      if (dialog && USER32(IsDialogMessageW)(dialog, &message)) continue;
      USER32(TranslateMessage)(&message);
      USER32(DispatchMessageW)(&message);
    }
    return true;
  }

  void SetTimer(WindowHandle window, std::uintptr_t timerId, unsigned intervalMs) override {
    USER32(SetTimer)(Hwnd(window), timerId, intervalMs, nullptr);
  }
  void KillTimer(WindowHandle window, std::uintptr_t timerId) override { USER32(KillTimer)(Hwnd(window), timerId); }

 private:
  static std::wstring NameText(const ResourceName& name) {
    const auto* text = std::get_if<std::wstring_view>(&name);
    return text ? std::wstring(*text) : std::wstring();
  }
  static const wchar_t* ResourcePointer(const ResourceName& name, const std::wstring& text) {
    if (const auto* number = std::get_if<std::uint32_t>(&name)) return MAKEINTRESOURCEW(*number);
    return text.c_str();
  }
  // The dialog's tooltip window, made on first use; it goes with the dialog it belongs to.
  HWND ToolTipOf(HWND dialog) {
    HWND& tip = toolTips_[dialog];
    if (tip != nullptr && USER32(IsWindow)(tip) && USER32(GetWindow)(tip, GW_OWNER) == dialog) return tip;
    tip = USER32(CreateWindowExW)(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    return tip;
  }
  static void SetMarqueeStyle(HWND bar, bool marquee) {
    const LONG style = USER32(GetWindowLongW)(bar, GWL_STYLE);
    USER32(SetWindowLongW)(bar, GWL_STYLE, marquee ? (style | PBS_MARQUEE) : (style & ~PBS_MARQUEE));
  }

  std::map<HWND, HWND> toolTips_;
  DWORD dialogCreationError_ = 0;
};

}  // namespace

std::unique_ptr<Gui> CreateGui() { return std::make_unique<Win32Gui>(); }

}  // namespace setup::platform::win32
