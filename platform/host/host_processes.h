// Host stand-in of the processes port: records started command lines; each started process
// runs for `runTimeMs` and ends with `exitCode` unless a test changes them.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/processes.h"

namespace setup::platform::host {

class HostProcesses : public Processes {
 public:
  StartResult Start(const ProcessStart& start) override;
  std::optional<std::wstring> GetEnvironment(std::wstring_view name) const override;
  void SetEnvironment(std::wstring_view name, std::wstring_view value) override;
  void DebugMessage(std::wstring_view text) override { debugMessages.emplace_back(text); }

  struct NameIgnoringCase {
    using is_transparent = void;
    bool operator()(std::wstring_view a, std::wstring_view b) const;
  };
  struct Started {
    ProcessStart start;
    std::map<std::wstring, std::wstring, NameIgnoringCase> environment;  // as the child inherits it
    bool terminated = false;
  };
  std::vector<Started> started;
  // Variable names ignore case, as on Windows; each keeps the spelling it was first set with.
  std::map<std::wstring, std::wstring, NameIgnoringCase> environment;
  std::vector<std::wstring> debugMessages;
  std::uint32_t runTimeMs = 0;
  std::uint32_t exitCode = 0;
  std::uint32_t startError = 0;  // non-zero: every start fails with this code
};

}  // namespace setup::platform::host
