// Host stand-in of the file-system port: real files below a temporary folder that stands
// for the drives ("C:\X\Y" is <root>/C/X/Y). Relative paths start at `currentFolder`.
#pragma once

#include <filesystem>
#include <map>
#include <set>

#include "platform/file_system.h"

namespace setup::platform::host {

class HostFileSystem : public FileSystem {
 public:
  explicit HostFileSystem(std::filesystem::path root);

  // The host path that stands for a Windows path.
  std::filesystem::path HostPath(std::wstring_view windowsPath) const;

  std::unique_ptr<WritableFile> OpenForWriting(std::wstring_view path, OpenMode mode) override;
  std::optional<FileAttributes> Attributes(std::wstring_view path) const override;
  bool SetReadOnly(std::wstring_view path, bool readOnly) override;
  std::vector<DirectoryEntry> List(std::wstring_view folder, std::wstring_view pattern) const override;
  DeleteResult DeleteFile(std::wstring_view path) override;
  bool RemoveDirectory(std::wstring_view path) override;
  CreateResult CreateDirectory(std::wstring_view path) override;
  bool CopyFile(std::wstring_view source, std::wstring_view target, bool failIfExists) override;
  std::optional<std::uint64_t> FileSize(std::wstring_view path) const override;
  std::optional<FileVersionNumbers> FileVersion(std::wstring_view path) const override;
  std::optional<std::string> ReadFile(std::wstring_view path) const override;
  bool WriteFile(std::wstring_view path, std::string_view bytes) override;
  std::wstring KnownFolderPath(KnownFolder folder) const override;
  std::optional<std::vector<AccessEntry>> ExplicitAccessEntries(std::wstring_view path) const override;
  bool SetInheritedAccess(std::wstring_view path, std::wstring_view trusteeName, std::uint32_t accessMask) override;
  std::string ToAnsi(std::wstring_view text) const override;

  // Version resources of files (host files carry none).
  void SetFileVersion(std::wstring_view path, FileVersionNumbers version);
  // Another process holds the file open: deleting it fails as in use.
  void MarkInUse(std::wstring_view path);
  // Access-control lists: every existing path has an empty one unless a test adds entries.
  void AddAccessEntry(std::wstring_view path, AccessEntry entry);

  std::wstring currentFolder = L"C:\\Work";
  std::map<KnownFolder, std::wstring> knownFolders{{KnownFolder::CommonAppData, L"C:\\ProgramData"},
                                                   {KnownFolder::ProgramFiles, L"C:\\Program Files"},
                                                   {KnownFolder::ProgramFilesX86, L"C:\\Program Files (x86)"},
                                                   {KnownFolder::CommonDesktop, L"C:\\Users\\Public\\Desktop"}};

 private:
  std::filesystem::path root_;
  std::map<std::wstring, FileVersionNumbers> fileVersions_;
  std::set<std::wstring> filesInUse_;
  std::map<std::wstring, std::vector<AccessEntry>> accessLists_;
};

// Windows wildcard matching of a file name ("*" and "?"; "*.*" matches every name).
bool MatchesPattern(std::wstring_view name, std::wstring_view pattern);

}  // namespace setup::platform::host
