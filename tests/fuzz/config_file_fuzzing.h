// Shared driver of the configuration-file fuzz targets: writes the input as a file on a host
// platform, loads it, reads and changes a few settings named by the input, saves it on
// destruction and loads the result again.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "foundation/text.h"
#include "platform/host/host_platform.h"

namespace setup::fuzzing {

// The folder that stands for the drives: in memory when /dev/shm exists (every run writes
// files), removed when the process ends.
class FuzzRoot {
 public:
  FuzzRoot() {
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    path_ = base / ("setup-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path_);
  }
  ~FuzzRoot() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline platform::host::HostPlatform& Platform() {
  static const FuzzRoot root;
  static platform::host::HostPlatform platform(root.Path());
  return platform;
}

template <class ConfigFile>
void Exercise(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  std::wstring names[4];
  for (std::wstring& name : names) name = FromUtf8(input.ConsumeRandomLengthString(16));
  const std::wstring value = FromUtf8(input.ConsumeRandomLengthString(32));
  const std::string content = input.ConsumeRemainingBytesAsString();

  const wchar_t* const path = L"C:\\Work\\fuzzed.cfg";
  Platform().Files().WriteFile(path, content);
  {
    ConfigFile file(Platform(), ICBSFilePath(path));
    file.IsLoaded();
    file.HasErrors();
    file.GetValue(names[0]);
    file.HasValue(names[1], names[2]);
    file.SetValue(names[0], value);
    file.SetValue(names[1], names[2], value);
    file.SetValue(names[3], std::nullopt);
    file.SetValue(names[2], L"");
  }
  ConfigFile reloaded(Platform(), ICBSFilePath(path));
  reloaded.GetValue(names[0]);
  if (reloaded.IsModified()) __builtin_trap();  // loading alone never changes a file
}

}  // namespace setup::fuzzing
