// Drives the launcher's windows from outside, for the end-to-end tests:
//
//   wizard-driver list  [filters]                  every matching top-level window, as JSON
//   wizard-driver wait  [filters] [--timeout ms]   waits for a matching window, prints it
//   wizard-driver click --id N [filters] [--timeout ms]
//                                                  presses the button with control id N
//   wizard-driver press --id N [filters] [--timeout ms]
//                                                  presses it without reading the window first
//   wizard-driver close [filters] [--timeout ms]   sends WM_CLOSE to the window
//   wizard-driver settext --id N --text T [filters] [--timeout ms]
//                                                  sets the text of the control with id N
//   wizard-driver tabs --id N [filters] [--timeout ms]
//                                                  prints the labels of tab control N, as JSON
//   wizard-driver bold --id N [filters] [--timeout ms]
//                                                  prints the bold characters of rich-edit N
//   wizard-driver choose --id N --item T [filters] [--timeout ms]
//                                                  clicks the tab labelled T of tab control N
//   wizard-driver colours --id N [filters] [--timeout ms]
//                                                  prints how many colours the screen shows
//                                                  inside control N (1 when nothing is painted)
//   wizard-driver key --text KEY [filters] [--timeout ms]
//                                                  types KEY into the window as keyboard input:
//                                                  tab, shift+tab, space, enter, or alt+LETTER
//
// Filters: --process NAME (image file name, e.g. Setup.exe), --class NAME (e.g. #32770 for
// dialogs and message boxes), --title TEXT (exact caption), --contains TEXT (some control's
// text contains it), --disabled ID (the window's control ID is disabled). Only visible windows
// count. A window is printed as one JSON object with its caption, class, its rectangle and the
// work area of its monitor (left, top, right, bottom in screen pixels), the id of the control
// that has the keyboard focus (0 for none), and every child control (id, class, text, visible,
// enabled, and for buttons checked), recursively.
// Reading a window sends a message to each of its controls, which a program answers only when
// its thread looks at its queue; a program busy between looks answers slowly. `press` and the
// filters other than --title and --contains send no message, so they act at once on a busy page.
// Exit code 0 on success, 1 when no window matched in time, 2 on bad arguments.
#include <windows.h>
#include <psapi.h>
#include <commctrl.h>
#include <richedit.h>

#include <cstdio>
#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Filters {
  std::wstring process;
  std::wstring window_class;
  std::wstring title;
  std::wstring contains;
  int disabled = -1;
};

struct Control {
  HWND handle;
  int id;
  std::wstring window_class;
  std::wstring text;
  bool visible;
  bool enabled;
  bool checked;
};

std::wstring WindowText(HWND window) {
  // WM_GETTEXT also reads controls of other processes (GetWindowText does not).
  wchar_t buffer[8192];
  LRESULT length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, sizeof buffer / sizeof buffer[0], reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, 2000, reinterpret_cast<PDWORD_PTR>(&length))) {
    return L"";
  }
  return std::wstring(buffer, static_cast<std::size_t>(length));
}

std::wstring ClassName(HWND window) {
  wchar_t buffer[256];
  int length = GetClassNameW(window, buffer, 256);
  return std::wstring(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring ProcessImageName(HWND window) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
  if (process == nullptr) return L"";
  wchar_t path[MAX_PATH];
  DWORD size = MAX_PATH;
  std::wstring name;
  if (QueryFullProcessImageNameW(process, 0, path, &size)) {
    name.assign(path, size);
    std::size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
  }
  CloseHandle(process);
  return name;
}

// Check boxes and radio buttons tell their state; other controls count as unchecked.
bool IsChecked(HWND control, const std::wstring& window_class) {
  if (_wcsicmp(window_class.c_str(), L"Button") != 0) return false;
  DWORD_PTR state = 0;
  return SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state) && state == BST_CHECKED;
}

BOOL CALLBACK CollectControl(HWND child, LPARAM parameter) {
  auto* list = reinterpret_cast<std::vector<Control>*>(parameter);
  const std::wstring window_class = ClassName(child);
  list->push_back({child, GetDlgCtrlID(child), window_class, WindowText(child), IsWindowVisible(child) != FALSE,
                   IsWindowEnabled(child) != FALSE, IsChecked(child, window_class)});
  return TRUE;
}

std::vector<Control> Controls(HWND window) {
  std::vector<Control> controls;
  EnumChildWindows(window, CollectControl, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

struct ChildSearch {
  int id;
  HWND found;
};

BOOL CALLBACK FindChildById(HWND child, LPARAM parameter) {
  auto* search = reinterpret_cast<ChildSearch*>(parameter);
  if (GetDlgCtrlID(child) != search->id) return TRUE;
  search->found = child;
  return FALSE;
}

// The first control with the id, at any depth, found without sending it a message.
HWND ChildById(HWND window, int id) {
  ChildSearch search{id, nullptr};
  EnumChildWindows(window, FindChildById, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Matches(HWND window, const Filters& filters) {
  if (!IsWindowVisible(window)) return false;
  if (!filters.window_class.empty() && ClassName(window) != filters.window_class) return false;
  if (!filters.title.empty() && WindowText(window) != filters.title) return false;
  if (!filters.process.empty() && _wcsicmp(ProcessImageName(window).c_str(), filters.process.c_str()) != 0) return false;
  if (filters.disabled >= 0) {
    const HWND control = ChildById(window, filters.disabled);
    if (control == nullptr || IsWindowEnabled(control)) return false;
  }
  if (!filters.contains.empty()) {
    bool found = WindowText(window).find(filters.contains) != std::wstring::npos;
    for (const Control& control : Controls(window)) found = found || control.text.find(filters.contains) != std::wstring::npos;
    if (!found) return false;
  }
  return true;
}

struct Search {
  const Filters* filters;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectMatchingWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  if (Matches(window, *search->filters)) search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> FindWindows(const Filters& filters) {
  Search search{&filters, {}};
  EnumWindows(CollectMatchingWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> WaitForWindows(const Filters& filters, DWORD timeout) {
  const ULONGLONG deadline = GetTickCount64() + timeout;
  for (;;) {
    std::vector<HWND> found = FindWindows(filters);
    if (!found.empty() || GetTickCount64() >= deadline) return found;
    Sleep(100);
  }
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::string JsonString(const std::wstring& text) {
  std::string out = "\"";
  for (char c : Utf8(text)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          out += escape;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string RectJson(const RECT& rect) {
  return "[" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " + std::to_string(rect.right) + ", " +
         std::to_string(rect.bottom) + "]";
}

// The control of the window's thread that has the keyboard focus; none when it is elsewhere.
HWND FocusedControl(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus != nullptr && IsChild(window, info.hwndFocus) ? info.hwndFocus : nullptr;
}

std::string WindowJson(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  const HWND focus = FocusedControl(window);
  std::string json = "{\"handle\": " + std::to_string(reinterpret_cast<std::uintptr_t>(window)) +
                     ", \"class\": " + JsonString(ClassName(window)) + ", \"title\": " + JsonString(WindowText(window)) +
                     ", \"process\": " + JsonString(ProcessImageName(window)) + ", \"rect\": " + RectJson(rect) +
                     ", \"work_area\": " + RectJson(monitor.rcWork) +
                     ", \"focus\": " + std::to_string(focus ? GetDlgCtrlID(focus) : 0) + ", \"controls\": [";
  bool first = true;
  for (const Control& control : Controls(window)) {
    json += (first ? "" : ", ");
    json += "{\"id\": " + std::to_string(control.id) + ", \"class\": " + JsonString(control.window_class) +
            ", \"text\": " + JsonString(control.text) + ", \"visible\": " + (control.visible ? "true" : "false") +
            ", \"enabled\": " + (control.enabled ? "true" : "false") +
            ", \"checked\": " + (control.checked ? "true" : "false") + "}";
    first = false;
  }
  return json + "]}";
}

void Print(const std::string& text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

int Usage() {
  Print("usage: wizard-driver list|wait|click|press|select|close|settext|tabs|bold|choose|colours|key [--process NAME] "
        "[--class NAME] "
        "[--title TEXT] [--contains TEXT] [--disabled ID] [--id N] [--item TEXT] [--text T] [--timeout MS]\n");
  return 2;
}


// Memory in the process that owns a window, for the messages whose structures the system does
// not carry across processes.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, std::size_t size) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  bool Valid() const { return address_ != nullptr; }
  LPARAM Address(std::size_t offset = 0) const {
    return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset);
  }
  bool Write(const void* data, std::size_t size, std::size_t offset = 0) {
    return WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr) != FALSE;
  }
  bool Read(void* data, std::size_t size, std::size_t offset = 0) const {
    return ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr) != FALSE;
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

// The labels of a tab control, read through a buffer in the control's process; nullopt when
// no such buffer could be had.
std::optional<std::vector<std::wstring>> ReadTabLabels(HWND tabs) {
  constexpr std::size_t kTextOffset = 256;
  constexpr int kTextLength = 256;
  RemoteBuffer buffer(tabs, kTextOffset + kTextLength * sizeof(wchar_t));
  if (!buffer.Valid()) return std::nullopt;
  const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  std::vector<std::wstring> labels;
  for (int i = 0; i < count; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(buffer.Address(kTextOffset));
    item.cchTextMax = kTextLength;
    buffer.Write(&item, sizeof item);
    SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), buffer.Address());
    wchar_t text[kTextLength] = {};
    buffer.Read(text, sizeof text - sizeof(wchar_t), kTextOffset);
    labels.emplace_back(text);
  }
  return labels;
}

// The labels of a tab control as a JSON array.
std::string TabLabels(HWND tabs) {
  const auto labels = ReadTabLabels(tabs);
  if (!labels) return "null";
  std::string json = "[";
  for (std::size_t i = 0; i < labels->size(); ++i) json += (i ? ", " : "") + JsonString((*labels)[i]);
  return json + "]";
}

// The characters of a rich-edit control that are shown in bold, in order.
std::wstring BoldCharacters(HWND edit) {
  RemoteBuffer buffer(edit, sizeof(CHARFORMAT2W));
  if (!buffer.Valid()) return L"";
  const std::wstring text = WindowText(edit);
  std::wstring bold;
  for (std::size_t i = 0; i < text.size(); ++i) {
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(i), static_cast<LPARAM>(i + 1));
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    buffer.Write(&format, sizeof format);
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, buffer.Address());
    buffer.Read(&format, sizeof format);
    if ((format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD)) bold += text[i];
  }
  SendMessageW(edit, EM_SETSEL, 0, 0);
  return bold;
}

// Clicks the tab labelled `label` with the mouse, so that the tab control tells its parent as it
// does for a person; false when no tab has that label.
bool ChooseTab(HWND tabs, const std::wstring& label) {
  const auto labels = ReadTabLabels(tabs);
  if (!labels) return false;
  const auto found = std::find(labels->begin(), labels->end(), label);
  if (found == labels->end()) return false;
  RemoteBuffer buffer(tabs, sizeof(RECT));
  if (!buffer.Valid()) return false;
  SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(found - labels->begin()), buffer.Address());
  RECT rect{};
  buffer.Read(&rect, sizeof rect);
  const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(tabs, WM_LBUTTONUP, 0, point);
  return true;
}

// How many different colours the screen shows inside the control's rectangle: a control that
// was never painted shows only what lies behind it, one colour.
int ScreenColours(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return 0;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
  std::sort(pixels.begin(), pixels.end());
  return static_cast<int>(std::unique(pixels.begin(), pixels.end()) - pixels.begin());
}

// Types a key as a person would, through the system's keyboard input: the window is brought to
// the foreground first, since keyboard input goes to the foreground window's focus.
bool TypeKey(HWND window, const std::wstring& key) {
  std::vector<WORD> held;
  WORD main = 0;
  if (key == L"tab") main = VK_TAB;
  else if (key == L"shift+tab") held = {VK_SHIFT}, main = VK_TAB;
  else if (key == L"space") main = VK_SPACE;
  else if (key == L"enter") main = VK_RETURN;
  else if (key.size() == 5 && key.compare(0, 4, L"alt+") == 0 && iswalpha(key[4])) held = {VK_MENU}, main = towupper(key[4]);
  else return false;
  SetForegroundWindow(window);
  std::vector<INPUT> inputs;
  const auto add = [&](WORD code, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  for (WORD code : held) add(code, false);
  add(main, false);
  add(main, true);
  for (auto code = held.rbegin(); code != held.rend(); ++code) add(*code, true);
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring command = argv[1];
  Filters filters;
  DWORD timeout = 10000;
  int id = -1;
  std::wstring item;
  std::wstring text;
  for (int i = 2; i < argc; ++i) {
    std::wstring option = argv[i];
    if (i + 1 >= argc) return Usage();
    std::wstring value = argv[++i];
    if (option == L"--process") filters.process = value;
    else if (option == L"--class") filters.window_class = value;
    else if (option == L"--title") filters.title = value;
    else if (option == L"--contains") filters.contains = value;
    else if (option == L"--disabled") filters.disabled = _wtoi(value.c_str());
    else if (option == L"--timeout") timeout = static_cast<DWORD>(_wtoi(value.c_str()));
    else if (option == L"--id") id = _wtoi(value.c_str());
    else if (option == L"--item") item = value;
    else if (option == L"--text") text = value;
    else return Usage();
  }

  if (command == L"list") {
    std::string json = "[";
    bool first = true;
    for (HWND window : FindWindows(filters)) {
      json += (first ? "" : ",\n") + WindowJson(window);
      first = false;
    }
    Print(json + "]\n");
    return 0;
  }
  const bool reads = command == L"settext" || command == L"tabs" || command == L"bold" || command == L"choose" ||
                     command == L"colours";
  const bool clicks = command == L"click" || command == L"press";
  if (!reads && !clicks && command != L"wait" && command != L"select" && command != L"close" && command != L"key") {
    return Usage();
  }
  if ((clicks || command == L"select" || reads) && id < 0) return Usage();
  if ((command == L"select" || command == L"choose") && item.empty()) return Usage();
  if (command == L"key" && text.empty()) return Usage();

  std::vector<HWND> found = WaitForWindows(filters, timeout);
  if (found.empty()) {
    Print("no matching window\n");
    return 1;
  }
  HWND window = found.front();
  if (command == L"press") {
    const HWND control = ChildById(window, id);
    if (control == nullptr) {
      Print("no control with that id\n");
      return 1;
    }
    PostMessageW(control, BM_CLICK, 0, 0);
    Print("pressed\n");
    return 0;
  }
  Print(WindowJson(window) + "\n");
  if (command == L"click") {
    for (const Control& control : Controls(window)) {
      if (control.id != id) continue;
      // Posted, so that a button that ends the other program's modal loop does not block us.
      PostMessageW(control.handle, BM_CLICK, 0, 0);
      return 0;
    }
    Print("no control with that id\n");
    return 1;
  }
  if (command == L"select") {
    for (const Control& control : Controls(window)) {
      if (control.id != id) continue;
      // Selects the combo box item as a person would: the selection, then the notification
      // the owner gets for a choice made with the mouse.
      DWORD_PTR index = static_cast<DWORD_PTR>(CB_ERR);
      SendMessageTimeoutW(control.handle, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                          reinterpret_cast<LPARAM>(item.c_str()), SMTO_ABORTIFHUNG, 5000, &index);
      if (static_cast<LRESULT>(index) == CB_ERR) {
        Print("no such item\n");
        return 1;
      }
      PostMessageW(GetParent(control.handle), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(control.handle));
      return 0;
    }
    Print("no control with that id\n");
    return 1;
  }
  if (reads) {
    for (const Control& control : Controls(window)) {
      if (control.id != id) continue;
      if (command == L"settext") {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(control.handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                            2000, &result);
      } else if (command == L"tabs") {
        Print(TabLabels(control.handle) + "\n");
      } else if (command == L"choose") {
        if (!ChooseTab(control.handle, item)) {
          Print("no such tab\n");
          return 1;
        }
      } else if (command == L"colours") {
        Print(std::to_string(ScreenColours(control.handle)) + "\n");
      } else {
        Print(JsonString(BoldCharacters(control.handle)) + "\n");
      }
      return 0;
    }
    Print("no control with that id\n");
    return 1;
  }
  if (command == L"key" && !TypeKey(window, text)) {
    Print("cannot type that key\n");
    return 1;
  }
  if (command == L"close") PostMessageW(window, WM_CLOSE, 0, 0);
  return 0;
}
