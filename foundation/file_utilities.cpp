#include "foundation/file_utilities.h"

#include <optional>

namespace setup {

namespace {

constexpr std::uint32_t kInUseRetryDelayMs = 1000;
constexpr std::uint32_t kTimeoutExitCode = 1;

}  // namespace

bool ICBSFileUtilities::FolderExists(std::wstring_view folder) const {
  const auto attributes = platform_.files->Attributes(folder);
  return attributes && attributes->directory;
}

bool ICBSFileUtilities::FileExists(std::wstring_view path) const {
  return platform_.files->Attributes(path).has_value();
}

bool ICBSFileUtilities::DeleteFolderTree(std::wstring_view folder) {
  platform::FileSystem& files = *platform_.files;
  const std::wstring base(folder);
  for (const platform::DirectoryEntry& entry : files.List(base, L"*.*")) {
    const std::wstring path = base + L"\\" + entry.name;
    if (entry.directory) {
      if (!DeleteFolderTree(path)) return false;
      continue;
    }
    files.SetReadOnly(path, false);
    platform::DeleteResult result = files.DeleteFile(path);
    if (result == platform::DeleteResult::InUse) {
      platform_.system->Sleep(kInUseRetryDelayMs);
      result = files.DeleteFile(path);
    }
    if (result != platform::DeleteResult::Deleted && result != platform::DeleteResult::NotFound) return false;
  }
  return files.RemoveDirectory(base);
}

int ICBSFileUtilities::Wait(std::wstring_view commandLine, bool wait, std::wstring_view workingFolder,
                            const EnvironmentOverrides& environment, std::uint32_t timeoutMs, bool showWindow) {
  platform::Processes& processes = *platform_.processes;
  std::vector<std::pair<std::wstring, std::wstring>> remembered;
  for (const auto& [name, value] : environment) {
    if (const std::optional<std::wstring> previous = processes.GetEnvironment(name)) remembered.emplace_back(name, *previous);
    processes.SetEnvironment(name, value);
  }

  int result = 0;
  platform::StartResult started =
      processes.Start({std::wstring(commandLine), std::wstring(workingFolder), showWindow});
  if (!started.process) {
    result = static_cast<int>(started.error);
  } else if (wait) {
    if (!started.process->WaitFor(timeoutMs)) {
      processes.DebugMessage(L"ICBSFileUtilities::Wait: Terminate process");
      started.process->Terminate(kTimeoutExitCode);
      started.process->WaitFor(platform::kWaitForever);
    }
    result = static_cast<int>(started.process->ExitCode());
  }

  // A variable that had no value before keeps the override.
  for (const auto& [name, value] : remembered) processes.SetEnvironment(name, value);
  return result;
}

}  // namespace setup
