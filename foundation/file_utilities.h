// File, folder and process operations of the foundation library, over the platform ports.
// None of them logs; each reports success through its result.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace setup {

using EnvironmentOverrides = std::vector<std::pair<std::wstring, std::wstring>>;

class ICBSFileUtilities {
 public:
  explicit ICBSFileUtilities(platform::Platform& platform) : platform_(platform) {}

  // An entry of that name exists and is a folder.
  bool FolderExists(std::wstring_view folder) const;
  // An entry of that name (file or folder) exists.
  bool FileExists(std::wstring_view path) const;
  // Deletes everything below the folder, then the folder; read-only files included, a file
  // in use is tried once more after a second. True only when the folder itself is gone.
  bool DeleteFolderTree(std::wstring_view folder);

  // Starts a command line; with `wait`, waits up to `timeoutMs` (platform::kWaitForever: no
  // limit), terminates the process with exit code 1 at the time-out, and returns its exit
  // code. Without `wait` the result is 0. A failed start returns the system's error code.
  // The environment overrides are set for the child and restored afterwards.
  int Wait(std::wstring_view commandLine, bool wait, std::wstring_view workingFolder,
           const EnvironmentOverrides& environment, std::uint32_t timeoutMs, bool showWindow);

 private:
  platform::Platform& platform_;
};

}  // namespace setup
