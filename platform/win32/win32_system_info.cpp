// Facts about the machine, the process and the user, from the Win32 API. Optional parts of
// the API (GetNativeSystemInfo, CheckTokenMembership, Direct2D) are looked up at run time,
// so the launcher starts on systems that lack them and answers "no" instead.
#include <windows.h>

#include <d2d1.h>
#include <sddl.h>

#include <string>

#include "platform/win32/system_function.h"
#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

// {06152247-6F50-465A-9245-118BFD3B6007}
constexpr GUID kIidD2D1Factory = {0x06152247, 0x6F50, 0x465A, {0x92, 0x45, 0x11, 0x8B, 0xFD, 0x3B, 0x60, 0x07}};
// {BB12D362-DAEE-4B9A-AA1D-14BA401CFA1F}
constexpr GUID kIidD2D1Factory1 = {0xBB12D362, 0xDAEE, 0x4B9A, {0xAA, 0x1D, 0x14, 0xBA, 0x40, 0x1C, 0xFA, 0x1F}};

template <class Function>
Function Lookup(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

class Win32SystemInfo : public SystemInfo {
 public:
  ~Win32SystemInfo() override = default;  // the mutex handle stays open until the process ends

  std::optional<OsVersion> QueryOsVersion() const override {
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return std::nullopt;
#pragma GCC diagnostic pop
    return OsVersion{info.dwMajorVersion,
                     info.dwMinorVersion,
                     info.wServicePackMajor,
                     info.wServicePackMinor,
                     static_cast<std::uint16_t>(info.dwBuildNumber & 0xFFFF),
                     info.wProductType,
                     info.wSuiteMask};
  }

  std::uint16_t NativeProcessorArchitecture() const override {
    SYSTEM_INFO info{};
    using NativeInfo = void(WINAPI*)(LPSYSTEM_INFO);
    if (auto native = Lookup<NativeInfo>(GetModuleHandleW(L"kernel32.dll"), "GetNativeSystemInfo")) {
      native(&info);
    } else {
      GetSystemInfo(&info);
    }
    return info.wProcessorArchitecture;
  }

  bool IsServerR2() const override {
    SETUP_SYSTEM_FUNCTION(L"user32.dll", GetSystemMetrics);
    return GetSystemMetricsPtr && GetSystemMetricsPtr(SM_SERVERR2) != 0;
  }

  bool HasDirect2D11() const override {
    HMODULE library = LoadSystemLibrary(L"D2D1.dll");
    if (!library) return false;
    using CreateFactory = HRESULT(WINAPI*)(D2D1_FACTORY_TYPE, REFIID, const D2D1_FACTORY_OPTIONS*, void**);
    bool available = false;
    if (auto create = Lookup<CreateFactory>(library, "D2D1CreateFactory")) {
      D2D1_FACTORY_OPTIONS options{D2D1_DEBUG_LEVEL_NONE};
      IUnknown* factory = nullptr;
      if (SUCCEEDED(create(D2D1_FACTORY_TYPE_SINGLE_THREADED, kIidD2D1Factory, &options, reinterpret_cast<void**>(&factory)))) {
        IUnknown* factory1 = nullptr;
        available = SUCCEEDED(factory->QueryInterface(kIidD2D1Factory1, reinterpret_cast<void**>(&factory1)));
        if (factory1) factory1->Release();
        factory->Release();
      }
    }
    FreeLibrary(library);
    return available;
  }

  std::optional<bool> IsTokenMemberOf(BuiltinGroup group) const override {
    const auto check = ADVAPI32(CheckTokenMembership);
    if (!check) return std::nullopt;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    const DWORD rid = group == BuiltinGroup::Administrators ? DOMAIN_ALIAS_RID_ADMINS : DOMAIN_ALIAS_RID_POWER_USERS;
    PSID sid = nullptr;
    if (!ADVAPI32(AllocateAndInitializeSid)(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, rid, 0, 0, 0, 0, 0, 0,
                                            &sid)) {
      return std::nullopt;
    }
    BOOL member = FALSE;
    const BOOL answered = check(nullptr, sid, &member);
    ADVAPI32(FreeSid)(sid);
    if (!answered) return std::nullopt;
    return member != FALSE;
  }

  std::optional<std::wstring> ProcessUserSid() const override {
    HANDLE token = nullptr;
    if (!ADVAPI32(OpenProcessToken)(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
    DWORD size = 0;
    ADVAPI32(GetTokenInformation)(token, TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    std::optional<std::wstring> text;
    wchar_t* sidText = nullptr;
    if (size > 0 && ADVAPI32(GetTokenInformation)(token, TokenUser, buffer.data(), size, &size) &&
        ADVAPI32(ConvertSidToStringSidW)(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sidText)) {
      text = sidText;
      LocalFree(sidText);
    }
    CloseHandle(token);
    return text;
  }

  LangId UserDefaultUiLanguage() const override { return GetUserDefaultUILanguage(); }

  std::wstring ModulePath() const override {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
      if (length < path.size()) {
        path.resize(length);
        return path;
      }
      path.resize(path.size() * 2);
    }
  }

  LocalTime Now() const override {
    SYSTEMTIME time{};
    GetLocalTime(&time);
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
  }

  std::wstring SystemMessageText(std::uint32_t code) const override {
    LPWSTR buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer) LocalFree(buffer);
    return text;
  }

  MutexResult CreateNamedMutex(std::wstring_view name) override {
    const std::wstring mutexName(name);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName.c_str());
    if (!mutex) return MutexResult::Failed;
    // The handle is never closed: the mutex marks this launcher until the process ends.
    return GetLastError() == ERROR_ALREADY_EXISTS ? MutexResult::AlreadyExists : MutexResult::Created;
  }

  void Sleep(std::uint32_t milliseconds) const override { ::Sleep(milliseconds); }
  std::uint32_t TickCount() const override { return GetTickCount(); }
};

}  // namespace

std::unique_ptr<SystemInfo> CreateSystemInfo() { return std::make_unique<Win32SystemInfo>(); }

}  // namespace setup::platform::win32
