#include "platform/host/host_gui.h"

#include <algorithm>
#include <stdexcept>

#include "platform/windowless/dialog_layout.h"

namespace setup::platform::host {

namespace {

// The dialog manager's message that moves the focus (WM_NEXTDLGCTL).
constexpr std::uint32_t kNextDialogControl = 0x0028;
// A modal loop that has run this many idle steps waits for a user who never comes.
constexpr int kMaxIdleSteps = 10000;
// Tabs of the host: as high as the system font plus a margin, as wide as their text plus one.
constexpr int kTabHeight = 19;

int MulDiv(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  return static_cast<int>((product + (product >= 0 ? denominator / 2 : -denominator / 2)) / denominator);
}

HostWindowKind KindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Window: return HostWindowKind::Window;
    case ControlKind::StaticText: return HostWindowKind::StaticText;
    case ControlKind::StaticIcon: return HostWindowKind::StaticIcon;
    case ControlKind::Button: return HostWindowKind::Button;
    case ControlKind::CheckBox: return HostWindowKind::CheckBox;
    case ControlKind::ProgressBar: return HostWindowKind::ProgressBar;
    case ControlKind::ComboBox: return HostWindowKind::ComboBox;
    case ControlKind::TabControl: return HostWindowKind::TabControl;
    case ControlKind::RichText: return HostWindowKind::RichText;
    case ControlKind::RadioButton: return HostWindowKind::RadioButton;
    case ControlKind::NumberEdit: return HostWindowKind::NumberEdit;
  }
  return HostWindowKind::Window;
}

HostWindowKind KindOf(TemplateControlKind kind) {
  switch (kind) {
    case TemplateControlKind::Static: return HostWindowKind::StaticText;
    case TemplateControlKind::Separator: return HostWindowKind::Separator;
    case TemplateControlKind::ComboBox: return HostWindowKind::ComboBox;
    case TemplateControlKind::Button: return HostWindowKind::Button;
    case TemplateControlKind::CheckBox: return HostWindowKind::CheckBox;
    case TemplateControlKind::RadioButton: return HostWindowKind::RadioButton;
    case TemplateControlKind::Edit: return HostWindowKind::Edit;
  }
  return HostWindowKind::StaticText;
}

// Characters of the East Asian scripts are as wide as the font is high, others half as wide.
int CharacterWidth(wchar_t c, int pixelHeight) {
  return c >= 0x2E80 ? pixelHeight : std::max(1, pixelHeight / 2);
}

int LineWidth(std::wstring_view text, int pixelHeight) {
  int width = 0;
  for (const wchar_t c : text) width += CharacterWidth(c, pixelHeight);
  return width;
}

}  // namespace

HostGui::HostGui(HostUserInterface& ui) : ui_(ui), scripts_(LoadScriptResources(SETUP_RESOURCE_DIR)) {}

HostWindow& HostGui::At(WindowHandle window) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) throw std::logic_error("no such host window");
  return found->second;
}

const HostWindow& HostGui::Window(WindowHandle window) const {
  const auto found = windows_.find(window);
  if (found == windows_.end()) throw std::logic_error("no such host window");
  return found->second;
}

WindowHandle HostGui::NewWindow(WindowHandle parent, HostWindow window) {
  window.handle = nextHandle_++;
  window.parent = parent;
  if (parent != 0) At(parent).children.push_back(window.handle);
  const WindowHandle handle = window.handle;
  windows_.emplace(handle, std::move(window));
  return handle;
}

int HostGui::RunModalDialog(std::uint32_t templateId, DialogEvents& events) {
  if (refuseDialogs) return kDialogNotCreated;
  const DialogTemplate& dialogTemplate = scripts_.dialogs.at(templateId);
  HostWindow frame;
  frame.kind = HostWindowKind::Dialog;
  frame.visible = false;
  frame.events = &events;
  const Rect size = DialogUnitsToPixels({0, 0, dialogTemplate.size.width, dialogTemplate.size.height});
  frame.rect = {0, 0, size.width, size.height};
  const WindowHandle dialog = NewWindow(0, std::move(frame));
  for (const TemplateControl& control : dialogTemplate.controls) {
    HostWindow child;
    child.kind = KindOf(control.kind);
    child.id = control.id;
    child.text = control.text;
    child.visible = control.visible;
    child.enabled = control.enabled;
    child.rect = DialogUnitsToPixels(control.rect);
    NewWindow(dialog, std::move(child));
  }
  dialogs_.push_back(dialog);
  dialogResults_[dialog].reset();

  events.OnInitDialog(dialog);
  // Like the system's modal loop: the dialog is shown the first time the queue is empty.
  bool shown = false;
  for (int idle = 0; !dialogResults_[dialog] && idle < kMaxIdleSteps;) {
    if (DeliverOne()) continue;
    if (!shown) {
      At(dialog).visible = true;
      shown = true;
      continue;
    }
    ++idle;
    if (!idleActions.empty()) {
      const std::function<void()> action = std::move(idleActions.front());
      idleActions.pop_front();
      action();
      continue;
    }
    if (timers_.empty()) break;
    for (const auto& [key, interval] : std::map(timers_)) {
      if (timers_.contains(key)) At(key.first).events->OnTimer(key.first, key.second);
    }
  }
  const int result = dialogResults_[dialog].value_or(kDialogStalled);
  dialogResults_.erase(dialog);
  dialogs_.pop_back();
  DestroyWindow(dialog);
  return result;
}

void HostGui::EndDialog(WindowHandle dialog, int result) {
  if (!dialogResults_.contains(dialog)) return;
  dialogResults_[dialog] = result;
  At(dialog).visible = false;
}

WindowHandle HostGui::DialogItem(WindowHandle dialog, int controlId) const {
  for (const WindowHandle child : Window(dialog).children) {
    if (Window(child).id == controlId) return child;
  }
  return 0;
}

void HostGui::PostFocusControl(WindowHandle dialog, WindowHandle control) {
  Post(dialog, kNextDialogControl, control, 1);
}

WindowHandle HostGui::CreateControl(WindowHandle parent, const ControlSpec& spec, WindowEvents* events) {
  HostWindow window;
  window.kind = KindOf(spec.kind);
  window.id = spec.id;
  window.text = spec.text;
  window.rect = spec.rect;
  window.visible = spec.visible;
  window.events = events;
  window.wrap = spec.wrap;
  window.alignment = spec.alignment;
  window.groupStart = spec.groupStart;
  return NewWindow(parent, std::move(window));
}

void HostGui::DestroyWindow(WindowHandle window) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return;
  for (const WindowHandle child : std::vector(found->second.children)) DestroyWindow(child);
  if (found->second.parent != 0 && windows_.contains(found->second.parent)) {
    std::erase(At(found->second.parent).children, window);
  }
  std::erase_if(timers_, [&](const auto& timer) { return timer.first.first == window; });
  windowIcons_.erase(window);
  WindowEvents* events = found->second.events;
  windows_.erase(window);
  if (events) events->OnDestroyed(window);
}

WindowHandle HostGui::Parent(WindowHandle window) const { return Window(window).parent; }
void HostGui::SetText(WindowHandle window, std::wstring_view text) { At(window).text = text; }
std::wstring HostGui::Text(WindowHandle window) const { return Window(window).text; }
void HostGui::Show(WindowHandle window, bool visible) { At(window).visible = visible; }
bool HostGui::IsShown(WindowHandle window) const { return Window(window).visible; }
void HostGui::Enable(WindowHandle window, bool enabled) { At(window).enabled = enabled; }
bool HostGui::IsEnabled(WindowHandle window) const { return Window(window).enabled; }

Rect HostGui::WindowRect(WindowHandle window) const {
  Rect rect = Window(window).rect;
  for (WindowHandle parent = Window(window).parent; parent != 0; parent = Window(parent).parent) {
    rect.x += Window(parent).rect.x;
    rect.y += Window(parent).rect.y;
  }
  return rect;
}

Size HostGui::ClientSize(WindowHandle window) const { return {Window(window).rect.width, Window(window).rect.height}; }

Rect HostGui::ScreenToClient(WindowHandle window, const Rect& rect) const {
  const Rect origin = WindowRect(window);
  return {rect.x - origin.x, rect.y - origin.y, rect.width, rect.height};
}

void HostGui::Place(WindowHandle window, const Rect& rect, bool toTop) {
  HostWindow& placed = At(window);
  placed.rect = rect;
  if (toTop && placed.parent != 0) {
    std::vector<WindowHandle>& siblings = At(placed.parent).children;
    std::erase(siblings, window);
    siblings.insert(siblings.begin(), window);
  }
}

void HostGui::SendToBack(WindowHandle window) {
  const WindowHandle parent = At(window).parent;
  if (parent == 0) return;
  std::vector<WindowHandle>& siblings = At(parent).children;
  std::erase(siblings, window);
  siblings.push_back(window);
}

void HostGui::Invalidate(WindowHandle window, bool) { ++At(window).invalidations; }

void HostGui::BringToForeground(WindowHandle window) {
  At(window).visible = true;
  foreground_ = window;
}

void HostGui::SetWindowIcons(WindowHandle window, IconHandle icon) { windowIcons_[window] = icon; }

IconHandle HostGui::WindowIcon(WindowHandle window) const {
  const auto found = windowIcons_.find(window);
  return found == windowIcons_.end() ? 0 : found->second;
}

void HostGui::SetChecked(WindowHandle checkBox, bool checked) { At(checkBox).checked = checked; }
bool HostGui::IsChecked(WindowHandle checkBox) const { return Window(checkBox).checked; }
void HostGui::SetIconImage(WindowHandle staticIcon, IconHandle icon) { At(staticIcon).icon = icon; }

void HostGui::SetProgressRange(WindowHandle bar, int maximum) {
  HostWindow& window = At(bar);
  window.progressMaximum = maximum;
  window.marqueeIntervalMs = 0;
}

void HostGui::SetProgressPosition(WindowHandle bar, int position) {
  HostWindow& window = At(bar);
  window.progressPosition = std::clamp(position, 0, std::max(0, window.progressMaximum));
}

void HostGui::SetProgressMarquee(WindowHandle bar, int intervalMs) { At(bar).marqueeIntervalMs = intervalMs; }

void HostGui::ComboClear(WindowHandle combo) {
  At(combo).comboItems.clear();
  At(combo).comboSelection = -1;
}

void HostGui::ComboAdd(WindowHandle combo, std::wstring_view text) { At(combo).comboItems.emplace_back(text); }

void HostGui::ComboSelect(WindowHandle combo, std::wstring_view text) {
  HostWindow& window = At(combo);
  const auto found = std::find(window.comboItems.begin(), window.comboItems.end(), text);
  window.comboSelection = found == window.comboItems.end() ? -1 : static_cast<int>(found - window.comboItems.begin());
}

std::wstring HostGui::ComboSelectedText(WindowHandle combo) const {
  const HostWindow& window = Window(combo);
  return window.comboSelection < 0 ? std::wstring() : window.comboItems.at(static_cast<std::size_t>(window.comboSelection));
}

void HostGui::TabAdd(WindowHandle tabs, std::wstring_view text, std::intptr_t data) {
  HostWindow& window = At(tabs);
  window.tabs.emplace_back(text, data);
  // Like the tab control, the first tab is selected as it is added.
  if (window.tabSelection < 0) window.tabSelection = 0;
}

int HostGui::TabCount(WindowHandle tabs) const { return static_cast<int>(Window(tabs).tabs.size()); }

std::optional<std::intptr_t> HostGui::TabSelectedData(WindowHandle tabs) const {
  const HostWindow& window = Window(tabs);
  if (window.tabSelection < 0) return std::nullopt;
  return window.tabs.at(static_cast<std::size_t>(window.tabSelection)).second;
}

Rect HostGui::FirstTabRect(WindowHandle tabs) const {
  const HostWindow& window = Window(tabs);
  const std::wstring_view text = window.tabs.empty() ? std::wstring_view() : window.tabs.front().first;
  return {2, 2, LineWidth(text, kSystemFontHeight) + kSystemFontHeight, kTabHeight};
}

void HostGui::SetRichText(WindowHandle control, const std::vector<TextRun>& runs) {
  HostWindow& window = At(control);
  window.richText = runs;
  window.text.clear();
  for (const TextRun& run : runs) window.text += run.text;
}

void HostGui::AddToolTip(WindowHandle, WindowHandle control, std::wstring_view text) { At(control).toolTip = text; }

std::optional<std::wstring> HostGui::ChooseExistingFile(WindowHandle) {
  ++fileDialogs;
  if (chosenFiles.empty()) return std::nullopt;
  std::optional<std::wstring> chosen = std::move(chosenFiles.front());
  chosenFiles.pop_front();
  return chosen;
}

FontHandle HostGui::MakeFont(WindowHandle, std::wstring_view face, int points, int weight) {
  const FontHandle handle = nextHandle_++;
  fonts_[handle] = {std::wstring(face), points, weight, MulDiv(points, kDpi, 72)};
  return handle;
}

void HostGui::DestroyFont(FontHandle font) { fonts_.erase(font); }

void HostGui::SetFont(WindowHandle window, FontHandle font, bool redraw) {
  At(window).font = font;
  if (redraw) Invalidate(window, true);
}

FontHandle HostGui::Font(WindowHandle window) const { return Window(window).font; }

int HostGui::PixelHeight(FontHandle font) const {
  const auto found = fonts_.find(font);
  return found == fonts_.end() ? kSystemFontHeight : found->second.pixelHeight;
}

// Deterministic metrics: lines as high as the font's pixel height; a word-wrapped text breaks
// between words (a word wider than `width` gets a line of its own) and at line feeds; the
// width is the widest line.
Size HostGui::MeasureText(WindowHandle, FontHandle font, std::wstring_view text, int width, bool singleLine) const {
  const int height = PixelHeight(font);
  if (singleLine) return {LineWidth(text, height), height};
  if (text.empty()) return {0, 0};
  const int space = CharacterWidth(L' ', height);
  int widest = 0;
  int lines = 0;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(L'\n', start);
    const std::wstring_view paragraph = text.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start);
    int line = -1;  // the current line's width; -1 before its first word
    ++lines;
    std::size_t wordStart = 0;
    while (wordStart <= paragraph.size()) {
      std::size_t wordEnd = paragraph.find(L' ', wordStart);
      if (wordEnd == std::wstring_view::npos) wordEnd = paragraph.size();
      const int word = LineWidth(paragraph.substr(wordStart, wordEnd - wordStart), height);
      if (line < 0) {
        line = word;
      } else if (line + space + word <= width) {
        line += space + word;
      } else {
        widest = std::max(widest, line);
        ++lines;
        line = word;
      }
      wordStart = wordEnd + 1;
    }
    widest = std::max(widest, line);
    if (end == std::wstring_view::npos) break;
    start = end + 1;
  }
  return {widest, lines * height};
}

IconHandle HostGui::LoadIconResource(ResourceName name) {
  const auto found = scripts_.icons.find(PictureKey(name));
  if (found == scripts_.icons.end()) return 0;
  const IconHandle handle = nextHandle_++;
  icons_[handle] = found->second;
  return handle;
}

IconHandle HostGui::LoadSizedIcon(ResourceName name, int pixels) {
  const IconHandle handle = LoadIconResource(name);
  if (handle != 0) icons_[handle] = {pixels, pixels};
  return handle;
}

Size HostGui::IconSize(IconHandle icon) const {
  const auto found = icons_.find(icon);
  return found == icons_.end() ? Size{} : found->second;
}

BitmapHandle HostGui::LoadBitmapResource(ResourceName name) {
  const auto found = scripts_.bitmaps.find(PictureKey(name));
  if (found == scripts_.bitmaps.end()) return 0;
  const BitmapHandle handle = nextHandle_++;
  bitmaps_[handle] = found->second;
  return handle;
}

void HostGui::DestroyBitmap(BitmapHandle bitmap) { bitmaps_.erase(bitmap); }

BrushHandle HostGui::MakeBrush(Colour colour) {
  const BrushHandle handle = nextHandle_++;
  brushes_[handle] = colour;
  return handle;
}

void HostGui::DestroyBrush(BrushHandle brush) { brushes_.erase(brush); }

void HostGui::Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  ui_.PostWindowMessage(window, message, wParam, lParam);
}

std::optional<std::uintptr_t> HostGui::TakePostedMessage(WindowHandle window, std::uint32_t message) {
  const auto taken =
      ui_.TakePending([&](const PostedMessage& posted) { return posted.window == window && posted.message == message; });
  if (!taken) return std::nullopt;
  return taken->wParam;
}

bool HostGui::DeliverOne() {
  const auto taken = ui_.TakePending([&](const PostedMessage& posted) { return windows_.contains(posted.window); });
  if (!taken) return false;
  if (taken->message == kNextDialogControl) {
    focused_ = static_cast<WindowHandle>(taken->wParam);
  } else if (WindowEvents* events = At(taken->window).events) {
    events->OnPostedMessage(taken->window, taken->message, taken->wParam, taken->lParam);
  }
  return true;
}

bool HostGui::PumpPendingMessages() {
  while (DeliverOne()) {
  }
  // The host's quit message is never queued with the window messages.
  return true;
}

void HostGui::SetTimer(WindowHandle window, std::uintptr_t timerId, unsigned intervalMs) {
  timers_[{window, timerId}] = intervalMs;
}

void HostGui::KillTimer(WindowHandle window, std::uintptr_t timerId) { timers_.erase({window, timerId}); }

WindowHandle HostGui::FindControl(WindowHandle root, int controlId) const {
  for (const WindowHandle child : Window(root).children) {
    if (Window(child).id == controlId) return child;
    if (const WindowHandle found = FindControl(child, controlId)) return found;
  }
  return 0;
}

// The group runs from a radio button that starts one to the next that does, in the order the
// siblings were made (handles grow with every new window).
void HostGui::CheckRadioInGroup(WindowHandle radio) {
  std::vector<WindowHandle> siblings = Window(Window(radio).parent).children;
  std::sort(siblings.begin(), siblings.end());
  std::vector<WindowHandle> group;
  bool inGroup = false;
  for (const WindowHandle sibling : siblings) {
    const HostWindow& window = Window(sibling);
    if (window.kind != HostWindowKind::RadioButton) continue;
    if (window.groupStart) {
      if (inGroup) break;
      group.clear();
    }
    group.push_back(sibling);
    if (sibling == radio) inGroup = true;
  }
  for (const WindowHandle member : group) At(member).checked = member == radio;
}

bool HostGui::Click(WindowHandle control) {
  HostWindow& window = At(control);
  if (!window.enabled || !window.visible) return false;
  if (window.kind == HostWindowKind::CheckBox) window.checked = !window.checked;
  if (window.kind == HostWindowKind::RadioButton) CheckRadioInGroup(control);
  const WindowHandle parent = window.parent;
  const int id = window.id;
  if (WindowEvents* events = At(parent).events) events->OnCommand(parent, id, kNotifyClicked);
  return true;
}

bool HostGui::ChooseComboItem(WindowHandle combo, std::wstring_view text) {
  ComboSelect(combo, text);
  if (Window(combo).comboSelection < 0) return false;
  const WindowHandle parent = Window(combo).parent;
  if (WindowEvents* events = At(parent).events) events->OnCommand(parent, Window(combo).id, kNotifySelectionChanged);
  return true;
}

bool HostGui::ChooseTab(WindowHandle tabs, int index) {
  HostWindow& window = At(tabs);
  if (index < 0 || index >= static_cast<int>(window.tabs.size())) return false;
  window.tabSelection = index;
  const WindowHandle parent = window.parent;
  const int id = window.id;
  if (WindowEvents* events = At(parent).events) events->OnCommand(parent, id, kNotifyTabChanged);
  return true;
}

namespace {

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(WindowHandle window) : window_(window) {}
  void StretchBitmap(BitmapHandle bitmap, const Rect& target) override { painted.push_back({window_, bitmap, target}); }
  std::vector<PaintedBitmap> painted;

 private:
  WindowHandle window_;
};

}  // namespace

std::vector<PaintedBitmap> HostGui::PaintBackground(WindowHandle window) {
  RecordingCanvas canvas(window);
  if (WindowEvents* events = At(window).events) events->OnEraseBackground(window, canvas);
  return canvas.painted;
}

std::optional<ControlColours> HostGui::ControlColoursOf(WindowHandle control) {
  if (WindowEvents* own = At(control).events) {
    if (auto colours = own->OnControlColour(control)) return colours;
  }
  const WindowHandle parent = At(control).parent;
  if (WindowEvents* events = At(parent).events) return events->OnControlColour(control);
  return std::nullopt;
}

}  // namespace setup::platform::host
