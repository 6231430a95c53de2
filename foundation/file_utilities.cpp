#include "foundation/file_utilities.h"

#include <optional>

#include "foundation/format.h"
#include "foundation/path.h"
#include "foundation/text.h"

namespace setup {

namespace {

constexpr std::uint32_t kInUseRetryDelayMs = 1000;
constexpr std::uint32_t kTimeoutExitCode = 1;
// Longer paths need the "\\?\" prefix to pass the system's MAX_PATH limit.
constexpr std::size_t kMaxPlainPathLength = 259;
constexpr std::wstring_view kLongPathPrefix = L"\\\\?\\";

// A network path "\\server\share" takes the form "\\?\UNC\server\share".
std::wstring WithLongPathPrefix(std::wstring_view path) {
  if (path.starts_with(kLongPathPrefix)) return std::wstring(path);
  if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
    return std::wstring(kLongPathPrefix) + L"UNC\\" + std::wstring(path.substr(2));
  }
  return std::wstring(kLongPathPrefix) + std::wstring(path);
}

// The folder text up to its last separator, without trailing separators.
std::wstring_view ParentFolder(std::wstring_view folder) {
  const std::size_t separator = folder.find_last_of(L"\\/");
  if (separator == std::wstring_view::npos) return {};
  std::wstring_view parent = folder.substr(0, separator);
  while (!parent.empty() && IsPathSeparator(parent.back())) parent.remove_suffix(1);
  return parent;
}

std::wstring Child(std::wstring_view folder, std::wstring_view name) {
  return std::wstring(folder) + L"\\" + std::wstring(name);
}

}  // namespace

bool ICBSFileUtilities::FolderExists(std::wstring_view folder) const {
  const auto attributes = platform_.files->Attributes(folder);
  return attributes && attributes->directory;
}

bool ICBSFileUtilities::FileExists(std::wstring_view path) const {
  return platform_.files->Attributes(path).has_value();
}

std::uint64_t ICBSFileUtilities::FileSize(std::wstring_view path) const {
  return platform_.files->FileSize(path).value_or(0);
}

std::vector<std::wstring> ICBSFileUtilities::FindFiles(std::wstring_view folder, std::wstring_view pattern) const {
  std::vector<std::wstring> paths;
  for (const platform::DirectoryEntry& entry : platform_.files->List(folder, pattern)) {
    if (!entry.directory) paths.push_back(Child(folder, entry.name));
  }
  return paths;
}

bool ICBSFileUtilities::CreateFolderTree(std::wstring_view folder) {
  platform::FileSystem& files = *platform_.files;
  const std::wstring_view parent = ParentFolder(folder);
  if (parent.empty() || parent == folder) return false;
  if (files.CreateDirectory(parent) == platform::CreateResult::Failed) {
    // Creating the parent's own parents creates the parent too.
    CreateFolderTree(parent);
  }
  return files.CreateDirectory(folder) != platform::CreateResult::Failed;
}

bool ICBSFileUtilities::CopyFile(std::wstring_view source, std::wstring_view target, bool failIfExists) {
  platform::FileSystem& files = *platform_.files;
  const std::wstring targetFolder = ICBSFilePath(std::wstring(target)).Folder().String();
  if (!targetFolder.empty() && !FolderExists(targetFolder)) CreateFolderTree(targetFolder);
  const auto attributes = files.Attributes(target);
  if (attributes && attributes->readOnly) files.SetReadOnly(target, false);
  if (source.size() > kMaxPlainPathLength || target.size() > kMaxPlainPathLength) {
    return files.CopyFile(WithLongPathPrefix(source), WithLongPathPrefix(target), failIfExists);
  }
  return files.CopyFile(source, target, failIfExists);
}

int ICBSFileUtilities::CountFolders(std::wstring_view folder) const {
  int count = 1;
  for (const platform::DirectoryEntry& entry : platform_.files->List(folder, L"*.*")) {
    // A link to a folder counts as one; what it points to lies elsewhere (or loops back).
    if (entry.directory) count += entry.reparsePoint ? 1 : CountFolders(Child(folder, entry.name));
  }
  return count;
}

std::wstring ICBSFileUtilities::FileVersionText(std::wstring_view path) const {
  const auto version = platform_.files->FileVersion(path);
  if (!version) return {};
  return Format(L"%i.%i.%i.%i", version->major, version->minor, version->build, version->revision);
}

bool ICBSFileUtilities::HasFullAccess(std::wstring_view path, std::uint32_t accessMask,
                                      std::wstring_view account) const {
  const auto entries = platform_.files->ExplicitAccessEntries(path);
  if (!entries) return false;
  for (const platform::AccessEntry& entry : *entries) {
    if (!entry.grants || entry.accessMask != accessMask) continue;
    if (entry.trustee == platform::TrusteeForm::OtherName) continue;
    if (EqualsIgnoreCase(entry.account, account)) return true;
  }
  return false;
}

bool ICBSFileUtilities::GrantEveryoneAccess(std::wstring_view path, std::uint32_t accessMask) {
  return platform_.files->SetInheritedAccess(path, L"EVERYONE", accessMask);
}

bool ICBSFileUtilities::DeleteFolderTree(std::wstring_view folder) {
  platform::FileSystem& files = *platform_.files;
  const std::wstring base(folder);
  // A link (junction or symbolic link) is removed itself: the tree it points to belongs to
  // someone else, and anyone who may write below the folder could have planted it there.
  const auto attributes = files.Attributes(base);
  if (attributes && attributes->reparsePoint) return RemoveLink(base, attributes->directory);
  for (const platform::DirectoryEntry& entry : files.List(base, L"*.*")) {
    const std::wstring path = base + L"\\" + entry.name;
    if (entry.reparsePoint) {
      if (!RemoveLink(path, entry.directory)) return false;
      continue;
    }
    if (entry.directory) {
      if (!DeleteFolderTree(path)) return false;
      continue;
    }
    if (!DeleteOneFile(path)) return false;
  }
  return files.RemoveDirectory(base);
}

bool ICBSFileUtilities::DeleteOneFile(const std::wstring& path) {
  platform::FileSystem& files = *platform_.files;
  files.SetReadOnly(path, false);
  platform::DeleteResult result = files.DeleteFile(path);
  if (result == platform::DeleteResult::InUse) {
    platform_.system->Sleep(kInUseRetryDelayMs);
    result = files.DeleteFile(path);
  }
  return result == platform::DeleteResult::Deleted || result == platform::DeleteResult::NotFound;
}

bool ICBSFileUtilities::RemoveLink(const std::wstring& path, bool toFolder) {
  // A link to a folder goes like an empty folder, a link to a file like a file; neither
  // touches the target (clearing the read-only mark of a file link would change the target).
  if (toFolder) return platform_.files->RemoveDirectory(path);
  const platform::DeleteResult result = platform_.files->DeleteFile(path);
  return result == platform::DeleteResult::Deleted || result == platform::DeleteResult::NotFound;
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
