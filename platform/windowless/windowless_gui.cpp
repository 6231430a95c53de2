#include "platform/windowless/windowless_gui.h"

#include <algorithm>
#include <stdexcept>

namespace setup::platform {

namespace {

// The templates' font at 96 pixels per inch: a line's height and half of it per character.
constexpr int kLineHeight = 13;
constexpr int kCharacterWidth = 6;

}  // namespace

WindowlessGui::Window& WindowlessGui::At(WindowHandle window) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) throw std::logic_error("no such window");
  return found->second;
}

const WindowlessGui::Window& WindowlessGui::At(WindowHandle window) const {
  const auto found = windows_.find(window);
  if (found == windows_.end()) throw std::logic_error("no such window");
  return found->second;
}

WindowHandle WindowlessGui::NewWindow(WindowHandle parent, Window window) {
  const WindowHandle handle = NewToken();
  window.parent = parent;
  if (parent != 0) At(parent).children.push_back(handle);
  windows_.emplace(handle, std::move(window));
  return handle;
}

int WindowlessGui::RunModalDialog(std::uint32_t templateId, DialogEvents& events) {
  const std::optional<DialogLayout> layout = layouts_(templateId);
  if (!layout) return kDialogNotCreated;
  Window frame;
  frame.visible = false;
  frame.events = &events;
  frame.rect = {0, 0, layout->size.width, layout->size.height};
  const WindowHandle dialog = NewWindow(0, std::move(frame));
  for (const DialogItemLayout& item : layout->items) {
    Window child;
    child.id = item.id;
    child.text = item.text;
    child.rect = item.rect;
    child.visible = item.visible;
    child.enabled = item.enabled;
    NewWindow(dialog, std::move(child));
  }
  dialogResults_[dialog].reset();
  events.OnInitDialog(dialog);
  while (!dialogResults_.at(dialog)) {
    if (DeliverOne() || RunDueTimers()) continue;
    WaitForWork();
  }
  const int ended = *dialogResults_.at(dialog);
  dialogResults_.erase(dialog);
  DestroyWindow(dialog);
  return ended;
}

void WindowlessGui::EndDialog(WindowHandle dialog, int result) {
  const auto found = dialogResults_.find(dialog);
  if (found != dialogResults_.end()) found->second = result;
}

WindowHandle WindowlessGui::DialogItem(WindowHandle dialog, int controlId) const {
  for (const WindowHandle child : At(dialog).children) {
    if (At(child).id == controlId) return child;
  }
  return 0;
}

WindowHandle WindowlessGui::CreateControl(WindowHandle parent, const ControlSpec& spec, WindowEvents* events) {
  Window window;
  window.id = spec.id;
  window.text = spec.text;
  window.rect = spec.rect;
  window.visible = spec.visible;
  window.events = events;
  return NewWindow(parent, std::move(window));
}

void WindowlessGui::DestroyWindow(WindowHandle window) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return;
  for (const WindowHandle child : std::vector(found->second.children)) DestroyWindow(child);
  if (const auto parent = windows_.find(found->second.parent); parent != windows_.end()) {
    std::erase(parent->second.children, window);
  }
  std::erase_if(timers_, [&](const auto& timer) { return timer.first.first == window; });
  WindowEvents* events = found->second.events;
  windows_.erase(found);
  if (events) events->OnDestroyed(window);
}

WindowHandle WindowlessGui::Parent(WindowHandle window) const { return At(window).parent; }
void WindowlessGui::SetText(WindowHandle window, std::wstring_view text) { At(window).text = text; }
std::wstring WindowlessGui::Text(WindowHandle window) const { return At(window).text; }
void WindowlessGui::Show(WindowHandle window, bool visible) { At(window).visible = visible; }
bool WindowlessGui::IsShown(WindowHandle window) const { return At(window).visible; }
void WindowlessGui::Enable(WindowHandle window, bool enabled) { At(window).enabled = enabled; }
bool WindowlessGui::IsEnabled(WindowHandle window) const { return At(window).enabled; }

Rect WindowlessGui::WindowRect(WindowHandle window) const {
  Rect rect = At(window).rect;
  for (WindowHandle parent = At(window).parent; parent != 0; parent = At(parent).parent) {
    rect.x += At(parent).rect.x;
    rect.y += At(parent).rect.y;
  }
  return rect;
}

Size WindowlessGui::ClientSize(WindowHandle window) const { return {At(window).rect.width, At(window).rect.height}; }

Rect WindowlessGui::ScreenToClient(WindowHandle window, const Rect& rect) const {
  const Rect origin = WindowRect(window);
  return {rect.x - origin.x, rect.y - origin.y, rect.width, rect.height};
}

void WindowlessGui::Place(WindowHandle window, const Rect& rect, bool) { At(window).rect = rect; }

void WindowlessGui::SetChecked(WindowHandle checkBox, bool checked) { At(checkBox).checked = checked; }
bool WindowlessGui::IsChecked(WindowHandle checkBox) const { return At(checkBox).checked; }

void WindowlessGui::ComboClear(WindowHandle combo) {
  At(combo).comboItems.clear();
  At(combo).comboSelection = -1;
}

void WindowlessGui::ComboAdd(WindowHandle combo, std::wstring_view text) { At(combo).comboItems.emplace_back(text); }

void WindowlessGui::ComboSelect(WindowHandle combo, std::wstring_view text) {
  Window& window = At(combo);
  const auto found = std::find(window.comboItems.begin(), window.comboItems.end(), text);
  window.comboSelection = found == window.comboItems.end() ? -1 : static_cast<int>(found - window.comboItems.begin());
}

std::wstring WindowlessGui::ComboSelectedText(WindowHandle combo) const {
  const Window& window = At(combo);
  return window.comboSelection < 0 ? std::wstring() : window.comboItems.at(static_cast<std::size_t>(window.comboSelection));
}

// Like the tab control, the first tab added is the selected one.
void WindowlessGui::TabAdd(WindowHandle tabs, std::wstring_view, std::intptr_t data) { At(tabs).tabData.push_back(data); }

int WindowlessGui::TabCount(WindowHandle tabs) const { return static_cast<int>(At(tabs).tabData.size()); }

std::optional<std::intptr_t> WindowlessGui::TabSelectedData(WindowHandle tabs) const {
  const Window& window = At(tabs);
  if (window.tabData.empty()) return std::nullopt;
  return window.tabData.front();
}

void WindowlessGui::SetRichText(WindowHandle control, const std::vector<TextRun>& runs) {
  std::wstring text;
  for (const TextRun& run : runs) text += run.text;
  At(control).text = std::move(text);
}

void WindowlessGui::SetFont(WindowHandle window, FontHandle font, bool) { At(window).font = font; }
FontHandle WindowlessGui::Font(WindowHandle window) const { return At(window).font; }

Size WindowlessGui::MeasureText(WindowHandle, FontHandle, std::wstring_view text, int width, bool singleLine) const {
  const int length = static_cast<int>(text.size()) * kCharacterWidth;
  if (singleLine || width <= 0 || length <= width) return {length, text.empty() ? 0 : kLineHeight};
  return {width, (length + width - 1) / width * kLineHeight};
}

void WindowlessGui::Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  {
    const std::lock_guard guard(queueLock_);
    queue_.push_back({window, message, wParam, lParam});
  }
  posted_.notify_one();
}

std::optional<std::uintptr_t> WindowlessGui::TakePostedMessage(WindowHandle window, std::uint32_t message) {
  const std::lock_guard guard(queueLock_);
  const auto found = std::find_if(queue_.begin(), queue_.end(), [&](const Posted& posted) {
    return posted.window == window && posted.message == message;
  });
  if (found == queue_.end()) return std::nullopt;
  const std::uintptr_t wParam = found->wParam;
  queue_.erase(found);
  return wParam;
}

bool WindowlessGui::DeliverOne() {
  std::optional<Posted> taken;
  {
    const std::lock_guard guard(queueLock_);
    // A message for a window that is gone is dropped, as the system drops it.
    while (!queue_.empty() && !taken) {
      if (windows_.contains(queue_.front().window)) taken = queue_.front();
      queue_.pop_front();
    }
  }
  if (!taken) return false;
  if (WindowEvents* events = At(taken->window).events) {
    events->OnPostedMessage(taken->window, taken->message, taken->wParam, taken->lParam);
  }
  return true;
}

bool WindowlessGui::PumpPendingMessages() {
  while (DeliverOne() || RunDueTimers()) {
  }
  // The quit message lives in the thread's own queue, which this GUI never reads.
  return true;
}

void WindowlessGui::SetTimer(WindowHandle window, std::uintptr_t timerId, unsigned intervalMs) {
  const Clock::duration interval = std::chrono::milliseconds(intervalMs);
  timers_[{window, timerId}] = {interval, Clock::now() + interval};
}

void WindowlessGui::KillTimer(WindowHandle window, std::uintptr_t timerId) { timers_.erase({window, timerId}); }

bool WindowlessGui::RunDueTimers() {
  const Clock::time_point now = Clock::now();
  std::vector<std::pair<WindowHandle, std::uintptr_t>> due;
  for (auto& [key, timer] : timers_) {
    if (timer.due > now) continue;
    timer.due = now + timer.interval;
    due.push_back(key);
  }
  for (const auto& [window, timerId] : due) {
    // An earlier timer's handler may have killed this one or destroyed its window.
    if (!timers_.contains({window, timerId})) continue;
    if (WindowEvents* events = At(window).events) events->OnTimer(window, timerId);
  }
  return !due.empty();
}

void WindowlessGui::WaitForWork() {
  std::unique_lock lock(queueLock_);
  if (!queue_.empty()) return;
  if (timers_.empty()) {
    posted_.wait(lock, [&] { return !queue_.empty(); });
    return;
  }
  Clock::time_point next = Clock::time_point::max();
  for (const auto& [key, timer] : timers_) next = std::min(next, timer.due);
  posted_.wait_until(lock, next, [&] { return !queue_.empty(); });
}

}  // namespace setup::platform
