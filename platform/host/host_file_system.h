// Host stand-in of the file-system port: real files below a temporary folder that stands
// for the drives ("C:\X\Y" is <root>/C/X/Y). Relative paths start at `currentFolder`. As on
// Windows, names ignore case: an existing file or folder is found under any spelling.
#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>

#include "platform/file_system.h"

namespace setup::platform::host {

class HostFileSystem : public FileSystem {
 public:
  explicit HostFileSystem(std::filesystem::path root);

  // The host path that stands for a Windows path.
  std::filesystem::path HostPath(std::wstring_view windowsPath) const;

  std::unique_ptr<WritableFile> OpenForWriting(std::wstring_view path, OpenMode mode) override;
  // A folder without write permission refuses new files, as a read-only folder's access
  // list does on Windows (also for a test running as root). As on Windows, an open stream's
  // sharing decides which later opens, writes and deletes of its file succeed until it closes.
  std::unique_ptr<FileStream> OpenStream(std::wstring_view path, std::uint32_t access, std::uint32_t share,
                                         StreamDisposition disposition) override;
  std::optional<FileAttributes> Attributes(std::wstring_view path) const override;
  bool SetReadOnly(std::wstring_view path, bool readOnly) override;
  std::vector<DirectoryEntry> List(std::wstring_view folder, std::wstring_view pattern) const override;
  DeleteResult DeleteFile(std::wstring_view path) override;
  bool RemoveDirectory(std::wstring_view path) override;
  CreateResult CreateDirectory(std::wstring_view path) override;
  bool CopyFile(std::wstring_view source, std::wstring_view target, bool failIfExists) override;
  std::optional<std::uint64_t> FileSize(std::wstring_view path) const override;
  FolderSizes SumFolder(std::wstring_view folder, const std::atomic<bool>& stop) const override;
  // `freeSpace`, or 1 TB when no limit is set.
  std::optional<std::uint64_t> VolumeFreeBytes(std::wstring_view path) const override;
  bool IsRegularDiskFile(std::wstring_view path) const override;
  std::optional<FileVersionNumbers> FileVersion(std::wstring_view path) const override;
  std::optional<std::string> ReadFile(std::wstring_view path) const override;
  bool WriteFile(std::wstring_view path, std::string_view bytes) override;
  std::wstring KnownFolderPath(KnownFolder folder) const override;
  std::wstring CurrentFolder() const override { return currentFolder; }
  std::optional<std::vector<AccessEntry>> ExplicitAccessEntries(std::wstring_view path) const override;
  std::optional<std::wstring> OwnerSid(std::wstring_view path) const override;
  bool SetInheritedAccess(std::wstring_view path, std::wstring_view trusteeName, std::uint32_t accessMask) override;
  CreateResult CreateProtectedDirectory(std::wstring_view path, const std::vector<AccessGrant>& grants) override;
  CreateResult CreateProtectedFile(std::wstring_view path, const std::vector<AccessGrant>& grants,
                                   std::string_view bytes) override;
  std::string ToAnsi(std::wstring_view text) const override;
  std::wstring FromAnsi(std::string_view text) const override;

  // Version resources of files (host files carry none).
  void SetFileVersion(std::wstring_view path, FileVersionNumbers version);
  // Another process holds the file open, for reading and shared for reading and writing:
  // deleting it fails as in use. The file must exist.
  void MarkInUse(std::wstring_view path);
  // Access-control lists: every existing path has an empty one unless a test adds entries.
  void AddAccessEntry(std::wstring_view path, AccessEntry entry);
  // Owners: every existing path belongs to Administrators unless a test names another owner.
  void SetOwnerSid(std::wstring_view path, std::wstring_view sid);
  // The list was given when the folder or file was created and inherits nothing from its folder.
  bool IsAccessProtected(std::wstring_view path) const;
  // The MS-DOS date and time last set as the file's creation time through a stream.
  std::optional<std::pair<std::uint16_t, std::uint16_t>> CreationDosTime(std::wstring_view path) const;

  // Bytes the volume has left for writes through streams; a write that does not fit fails
  // with the disk-full error. No limit when empty.
  std::optional<std::uint64_t> freeSpace;
  // How long every read of an open stream takes, as on a slow disk or network share.
  std::chrono::milliseconds readDelay{0};

  std::wstring currentFolder = L"C:\\Work";
  std::map<KnownFolder, std::wstring> knownFolders{{KnownFolder::CommonAppData, L"C:\\ProgramData"},
                                                   {KnownFolder::ProgramFiles, L"C:\\Program Files"},
                                                   {KnownFolder::ProgramFilesX86, L"C:\\Program Files (x86)"},
                                                   {KnownFolder::CommonDesktop, L"C:\\Users\\Public\\Desktop"}};

 private:
  std::filesystem::path root_;
  std::map<std::wstring, FileVersionNumbers> fileVersions_;
  std::map<std::wstring, std::vector<AccessEntry>> accessLists_;
  std::map<std::wstring, std::wstring> owners_;
  std::map<std::wstring, std::pair<std::uint16_t, std::uint16_t>> creationTimes_;
  std::set<std::wstring> protectedLists_;
  // The access and sharing of every open stream, by file; streams of worker threads too.
  struct OpenStreamRights {
    std::uint32_t access;
    std::uint32_t share;
  };
  std::multimap<std::wstring, OpenStreamRights> openStreams_;
  mutable std::mutex openStreamsMutex_;
  // The streams other processes hold open (MarkInUse); closed before the record above goes.
  std::vector<std::unique_ptr<FileStream>> heldByOthers_;
  // Whether the streams open on the file let an open that needs the sharing `needed` (read,
  // write, delete) and itself shares `share` go ahead.
  bool SharingAllows(const std::wstring& key, std::uint32_t needed, std::uint32_t share) const;

  // The grants as the entries of the path's own list, which inherits nothing.
  void RecordProtectedList(std::wstring_view path, const std::vector<AccessGrant>& grants);

  friend class HostFileStream;
};

// The owner of every host path that no test gave another one: the Administrators group.
inline constexpr std::wstring_view kHostDefaultOwnerSid = L"S-1-5-32-544";

// Windows wildcard matching of a file name ("*" and "?"; "*.*" matches every name).
bool MatchesPattern(std::wstring_view name, std::wstring_view pattern);

}  // namespace setup::platform::host
