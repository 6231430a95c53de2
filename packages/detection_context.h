// What the detection of installed products reads: the registry (both views on a 64-bit
// system), the file system and Windows Installer's product list.
#pragma once

#include "platform/platform.h"
#include "run/run_context.h"

namespace setup {

struct DetectionContext {
  platform::Platform& platform;
  bool is64BitSystem = false;
};

// The detection context of a run.
inline DetectionContext Detection(const RunContext& run) { return {run.platform, run.is64BitSystem}; }

}  // namespace setup
