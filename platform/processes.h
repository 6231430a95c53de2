// Port: child processes and the launcher's own environment.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace setup::platform {

inline constexpr std::uint32_t kWaitForever = 0xFFFFFFFF;

class ChildProcess {
 public:
  virtual ~ChildProcess() = default;
  // True when the process ended within the time-out (kWaitForever: no limit).
  virtual bool WaitFor(std::uint32_t milliseconds) = 0;
  virtual std::uint32_t ExitCode() const = 0;
  virtual void Terminate(std::uint32_t exitCode) = 0;
};

struct ProcessStart {
  std::wstring commandLine;
  std::wstring workingFolder;  // empty: the launcher's current folder
  bool showWindow = true;      // false: no console window for console programs
};

struct StartResult {
  std::unique_ptr<ChildProcess> process;  // empty when the start failed
  std::uint32_t error = 0;                // the system's error code of a failed start
};

class Processes {
 public:
  virtual ~Processes() = default;
  virtual StartResult Start(const ProcessStart& start) = 0;
  virtual std::optional<std::wstring> GetEnvironment(std::wstring_view name) const = 0;
  virtual void SetEnvironment(std::wstring_view name, std::wstring_view value) = 0;
  virtual void DebugMessage(std::wstring_view text) = 0;
};

}  // namespace setup::platform
