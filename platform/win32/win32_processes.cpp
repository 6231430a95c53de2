// Child processes and the launcher's environment.
#include <windows.h>

#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

class Win32ChildProcess : public ChildProcess {
 public:
  Win32ChildProcess(HANDLE process, HANDLE thread) : process_(process), thread_(thread) {}
  ~Win32ChildProcess() override {
    CloseHandle(thread_);
    CloseHandle(process_);
  }
  Win32ChildProcess(const Win32ChildProcess&) = delete;
  Win32ChildProcess& operator=(const Win32ChildProcess&) = delete;

  bool WaitFor(std::uint32_t milliseconds) override {
    return WaitForSingleObject(process_, milliseconds == kWaitForever ? INFINITE : milliseconds) == WAIT_OBJECT_0;
  }
  std::uint32_t ExitCode() const override {
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
  }
  void Terminate(std::uint32_t exitCode) override { TerminateProcess(process_, exitCode); }

 private:
  HANDLE process_;
  HANDLE thread_;
};

class Win32Processes : public Processes {
 public:
  StartResult Start(const ProcessStart& start) override {
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = start.commandLine;  // CreateProcessW may write into it
    const DWORD flags = start.showWindow ? 0 : CREATE_NO_WINDOW;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                        start.workingFolder.empty() ? nullptr : start.workingFolder.c_str(), &startup, &info)) {
      return {nullptr, GetLastError()};
    }
    return {std::make_unique<Win32ChildProcess>(info.hProcess, info.hThread), 0};
  }

  std::optional<std::wstring> GetEnvironment(std::wstring_view name) const override {
    const std::wstring variable(name);
    const DWORD size = GetEnvironmentVariableW(variable.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(variable.c_str(), value.data(), size);
    value.resize(length);
    return value;
  }

  void SetEnvironment(std::wstring_view name, std::wstring_view value) override {
    SetEnvironmentVariableW(std::wstring(name).c_str(), std::wstring(value).c_str());
  }

  void DebugMessage(std::wstring_view text) override { OutputDebugStringW(std::wstring(text).c_str()); }
};

}  // namespace

std::unique_ptr<Processes> CreateProcesses() { return std::make_unique<Win32Processes>(); }

}  // namespace setup::platform::win32
