// Host stand-in of the system-information port: every fact is a field the test arranges.
#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/system_info.h"

namespace setup::platform::host {

class HostSystemInfo : public SystemInfo {
 public:
  std::optional<OsVersion> QueryOsVersion() const override { return osVersion; }
  std::uint16_t NativeProcessorArchitecture() const override { return architecture; }
  bool IsServerR2() const override { return serverR2; }
  bool HasDirect2D11() const override { return direct2D11; }
  std::optional<bool> IsTokenMemberOf(BuiltinGroup group) const override {
    return group == BuiltinGroup::Administrators ? administrator : powerUser;
  }
  std::optional<std::wstring> ProcessUserSid() const override { return userSid; }
  LangId UserDefaultUiLanguage() const override { return uiLanguage; }
  std::wstring ModulePath() const override { return modulePath; }
  LocalTime Now() const override { return now; }
  std::wstring SystemMessageText(std::uint32_t code) const override {
    const auto found = messages.find(code);
    return found == messages.end() ? std::wstring() : found->second;
  }
  MutexResult CreateNamedMutex(std::wstring_view name) override {
    // Mutexes held by "other processes" are arranged in `heldMutexes`.
    lastMutexName = name;
    return heldMutexes.insert(std::wstring(name)).second ? MutexResult::Created : MutexResult::AlreadyExists;
  }
  void Sleep(std::uint32_t milliseconds) const override { sleptMs += milliseconds; }
  std::uint32_t TickCount() const override { return tickCount; }

  // Windows 10 (22631), x64, an administrator, English.
  std::optional<OsVersion> osVersion = OsVersion{10, 0, 0, 0, 22631, 1, 0x100};
  std::uint16_t architecture = kArchitectureAmd64;
  bool serverR2 = false;
  bool direct2D11 = true;
  std::optional<bool> administrator = true;
  std::optional<bool> powerUser = false;
  std::optional<std::wstring> userSid = L"S-1-5-21-1111-2222-3333-1000";
  LangId uiLanguage = 1033;
  std::wstring modulePath = L"C:\\Setup\\Setup.exe";
  LocalTime now{2026, 12, 9, 7, 5, 3};
  std::uint32_t tickCount = 0;
  std::map<std::uint32_t, std::wstring> messages{
      {1603, L"Fatal error during installation.\r\n"}, {5, L"Access is denied.\r\n"}};
  std::set<std::wstring> heldMutexes;
  std::wstring lastMutexName;
  mutable std::uint32_t sleptMs = 0;
};

}  // namespace setup::platform::host
