// Host stand-in of the installer port: records every call with its exact arguments.
#pragma once

#include <string>
#include <vector>

#include "platform/installer.h"

namespace setup::platform::host {

struct EnableLogCall {
  std::uint32_t logMode;
  std::wstring path;
  std::uint32_t attributes;
};

class HostInstaller : public Installer {
 public:
  std::uint32_t EnableLog(std::uint32_t logMode, std::wstring_view path, std::uint32_t attributes) override {
    enableLogCalls.push_back({logMode, std::wstring(path), attributes});
    return 0;
  }

  std::vector<EnableLogCall> enableLogCalls;
};

}  // namespace setup::platform::host
