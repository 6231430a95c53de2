// Windows Installer (msi.dll), loaded on first use.
#include <windows.h>

#include <msi.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/system_function.h"
#include "platform/win32/running_under_wine.h"
#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

// The text of a whole file, or nothing when it cannot be read.
std::string ReadWholeFile(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char chunk[16384];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  CloseHandle(file);
  return bytes;
}

// ANSI text with LF line ends as UTF-16 with CR LF line ends.
std::wstring AnsiLinesAsWide(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), units);
  std::wstring lines;
  lines.reserve(wide.size() + wide.size() / 32);
  for (std::size_t i = 0; i < wide.size(); ++i) {
    if (wide[i] == L'\n' && (i == 0 || wide[i - 1] != L'\r')) lines += L'\r';
    lines += wide[i];
  }
  return lines;
}

void AppendUtf16(const std::wstring& path, const std::wstring& text) {
  if (text.empty()) return;
  const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  // wchar_t is UTF-16 little-endian on Windows: the units go to the file as they are.
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
}

class Win32Installer : public Installer {
 public:
  // Wine's installer does not append to an existing log as asked: it writes from the start of
  // the file without truncating it, in the ANSI code page with LF line ends, so it would
  // overwrite the launcher's UTF-16 lines with text of another encoding. Under Wine the
  // installer therefore writes each call's log into a file of its own beside the launcher's
  // log, and after the call its lines are appended to the launcher's log as UTF-16 with CR LF
  // line ends: users running a setup under Wine still get one readable log with the
  // launcher's and the installer's lines in order. On Windows the installer appends itself.
  std::uint32_t EnableLog(std::uint32_t logMode, std::wstring_view path, std::uint32_t attributes) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiEnableLogW);
    if (!MsiEnableLogWPtr) return ERROR_MOD_NOT_FOUND;
    appendTo_.clear();
    std::wstring logPath(path);
    if ((attributes & kInstallLogAppend) && !logPath.empty() && underWine_) {
      appendTo_ = std::exchange(logPath, std::wstring(path) + L".installer");
      attributes &= ~kInstallLogAppend;
    }
    return MsiEnableLogWPtr(logMode, logPath.c_str(), attributes);
  }

  InstallerMessageHandler* SetExternalUi(InstallerMessageHandler* handler, std::uint32_t filter) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiSetExternalUIW);
    if (!MsiSetExternalUIWPtr) return handler ? nullptr : current_;
    if (handler) {
      const INSTALLUI_HANDLERW before = MsiSetExternalUIWPtr(&Dispatch, filter, handler);
      // The handler that was there before the launcher's first one, put back by the restore.
      if (!current_) outside_ = before;
    } else {
      MsiSetExternalUIWPtr(outside_, filter, nullptr);
    }
    return std::exchange(current_, handler);
  }

  std::int32_t SetInternalUi(std::int32_t uiLevel) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiSetInternalUI);
    if (!MsiSetInternalUIPtr) return INSTALLUILEVEL_NOCHANGE;
    return MsiSetInternalUIPtr(static_cast<INSTALLUILEVEL>(uiLevel), nullptr);
  }

  std::uint32_t InstallProduct(std::wstring_view packagePath, std::wstring_view properties) override {
    const std::wstring path(packagePath);
    const std::wstring commandLine(properties);
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiInstallProductW);
    if (!MsiInstallProductWPtr) return ERROR_MOD_NOT_FOUND;
    BeginCallLog();
    const UINT result = MsiInstallProductWPtr(path.c_str(), commandLine.c_str());
    EndCallLog();
    return result;
  }

  std::uint32_t ReinstallProduct(std::wstring_view productCode, std::uint32_t reinstallMode) override {
    const std::wstring code(productCode);
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiReinstallProductW);
    if (!MsiReinstallProductWPtr) return ERROR_MOD_NOT_FOUND;
    BeginCallLog();
    const UINT result = MsiReinstallProductWPtr(code.c_str(), reinstallMode);
    EndCallLog();
    return result;
  }

  std::optional<std::wstring> EnumProducts(std::uint32_t index) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiEnumProductsW);
    wchar_t code[kProductCodeLength + 1] = {};
    if (!MsiEnumProductsWPtr || MsiEnumProductsWPtr(index, code) != ERROR_SUCCESS) return std::nullopt;
    return std::wstring(code);
  }

  std::optional<std::wstring> GetProductInfo(std::wstring_view productCode, std::wstring_view property,
                                             std::size_t bufferChars) override {
    SETUP_SYSTEM_FUNCTION(L"msi.dll", MsiGetProductInfoW);
    if (!MsiGetProductInfoWPtr || bufferChars == 0) return std::nullopt;
    const std::wstring code(productCode);
    const std::wstring name(property);
    std::vector<wchar_t> buffer(bufferChars, L'\0');
    DWORD length = static_cast<DWORD>(bufferChars);
    if (MsiGetProductInfoWPtr(code.c_str(), name.c_str(), buffer.data(), &length) != ERROR_SUCCESS) return std::nullopt;
    return std::wstring(buffer.data(), length);
  }

 private:
  static INT CALLBACK Dispatch(LPVOID context, UINT messageType, LPCWSTR message) {
    return static_cast<InstallerMessageHandler*>(context)->HandleMessage(messageType, message ? message : L"");
  }

  // The call's own log file starts empty (Wine would leave an earlier call's tail behind), but
  // exists: Wine's installer writes only into a log file that is already there.
  void BeginCallLog() {
    if (appendTo_.empty()) return;
    const HANDLE file = CreateFileW(SideLog().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  void EndCallLog() {
    if (appendTo_.empty()) return;
    AppendUtf16(appendTo_, AnsiLinesAsWide(ReadWholeFile(SideLog())));
    DeleteFileW(SideLog().c_str());
  }
  std::wstring SideLog() const { return appendTo_ + L".installer"; }

  const bool underWine_ = RunningUnderWine();
  std::wstring appendTo_;  // under Wine: the launcher's log that each call's lines are appended to
  InstallerMessageHandler* current_ = nullptr;
  INSTALLUI_HANDLERW outside_ = nullptr;
};

}  // namespace

std::unique_ptr<Installer> CreateInstaller() { return std::make_unique<Win32Installer>(); }

}  // namespace setup::platform::win32
