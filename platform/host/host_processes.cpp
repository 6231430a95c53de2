#include "platform/host/host_processes.h"

#include <algorithm>

#include "foundation/text.h"

namespace setup::platform::host {

namespace {

class HostChildProcess : public ChildProcess {
 public:
  HostChildProcess(HostProcesses& owner, std::size_t index) : owner_(owner), index_(index) {}

  bool WaitFor(std::uint32_t milliseconds) override {
    return ended_ || milliseconds == kWaitForever || milliseconds >= owner_.runTimeMs;
  }
  std::uint32_t ExitCode() const override { return ended_ ? terminatedCode_ : owner_.exitCode; }
  void Terminate(std::uint32_t exitCode) override {
    ended_ = true;
    terminatedCode_ = exitCode;
    owner_.started[index_].terminated = true;
  }

 private:
  HostProcesses& owner_;
  std::size_t index_;
  bool ended_ = false;
  std::uint32_t terminatedCode_ = 0;
};

}  // namespace

bool HostProcesses::NameIgnoringCase::operator()(std::wstring_view a, std::wstring_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](wchar_t x, wchar_t y) { return FoldCase(x) < FoldCase(y); });
}

StartResult HostProcesses::Start(const ProcessStart& start) {
  if (startError != 0) return {nullptr, startError};
  started.push_back({start, environment, false});
  return {std::make_unique<HostChildProcess>(*this, started.size() - 1), 0};
}

std::optional<std::wstring> HostProcesses::GetEnvironment(std::wstring_view name) const {
  const auto found = environment.find(name);
  if (found == environment.end()) return std::nullopt;
  return found->second;
}

void HostProcesses::SetEnvironment(std::wstring_view name, std::wstring_view value) {
  if (const auto found = environment.find(name); found != environment.end()) {
    found->second = value;
  } else {
    environment.emplace(name, value);
  }
}

}  // namespace setup::platform::host
