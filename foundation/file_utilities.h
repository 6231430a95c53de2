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
  // The size of the file; 0 when it cannot be opened.
  std::uint64_t FileSize(std::wstring_view path) const;
  // Full paths of the files (not folders) matching folder + "\" + pattern, in the order the
  // system lists them.
  std::vector<std::wstring> FindFiles(std::wstring_view folder, std::wstring_view pattern) const;
  // Creates the folder and every missing parent; an existing folder counts as created.
  bool CreateFolderTree(std::wstring_view folder);
  // Copies a file, creating the target's folders and replacing a read-only target unless
  // `failIfExists`; paths longer than 259 characters are passed with the "\\?\" prefix.
  bool CopyFile(std::wstring_view source, std::wstring_view target, bool failIfExists);
  // 1 for the folder plus, recursively, every folder below it (a link to a folder counts as
  // one folder and is not followed).
  int CountFolders(std::wstring_view folder) const;
  // The file's version as "major.minor.build.revision"; empty when it has none.
  std::wstring FileVersionText(std::wstring_view path) const;

  // An explicit access-control entry of the path grants exactly `accessMask` to the account
  // (by name, or by a SID of that account name; names compare ignoring case).
  bool HasFullAccess(std::wstring_view path, std::uint32_t accessMask, std::wstring_view account) const;
  // Sets `accessMask` for EVERYONE, inherited by files and subfolders, in place of any
  // earlier entry of EVERYONE.
  bool GrantEveryoneAccess(std::wstring_view path, std::uint32_t accessMask);

  // Deletes everything below the folder, then the folder; read-only files included, a file
  // in use is tried once more after a second. Links (junctions, symbolic links) are removed
  // themselves and never followed, also when the folder itself is one. True only when the
  // folder itself is gone.
  bool DeleteFolderTree(std::wstring_view folder);

  // Starts a command line; with `wait`, waits up to `timeoutMs` (platform::kWaitForever: no
  // limit), terminates the process with exit code 1 at the time-out, and returns its exit
  // code. Without `wait` the result is 0. A failed start returns the system's error code.
  // The environment overrides are set for the child and restored afterwards.
  int Wait(std::wstring_view commandLine, bool wait, std::wstring_view workingFolder,
           const EnvironmentOverrides& environment, std::uint32_t timeoutMs, bool showWindow);

 private:
  bool DeleteOneFile(const std::wstring& path);
  bool RemoveLink(const std::wstring& path, bool toFolder);

  platform::Platform& platform_;
};

}  // namespace setup
