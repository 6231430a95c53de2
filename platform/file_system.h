// Port: files and folders. Paths are Windows paths ("C:\ProgramData\Tarquel\{...}").
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup::platform {

struct FileAttributes {
  bool directory = false;
  bool readOnly = false;
  // The entry is a link (junction, symbolic link or another reparse point) that redirects
  // to somewhere else; it is reported as such, not as what it points to.
  bool reparsePoint = false;
};

struct DirectoryEntry {
  std::wstring name;
  bool directory = false;
  bool reparsePoint = false;
};

struct FileVersionNumbers {
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::uint16_t build = 0;
  std::uint16_t revision = 0;
};

// Access-right bits with their Windows values.
inline constexpr std::uint32_t kGenericAll = 0x10000000;

// Accounts the system knows in every language.
enum class WellKnownAccount { System, Administrators, Users };

// Access rights of a protected list's entry (Windows values).
inline constexpr std::uint32_t kGenericRead = 0x80000000;
inline constexpr std::uint32_t kGenericExecute = 0x20000000;

struct AccessGrant {
  WellKnownAccount account;
  std::uint32_t accessMask;
};

// How an access-control entry names its account.
enum class TrusteeForm { UserName, OtherName, Sid };

// An explicit entry of a file's or folder's discretionary access-control list.
struct AccessEntry {
  std::uint32_t accessMask = 0;
  bool grants = false;  // the entry grants (or sets) rights rather than denying or revoking them
  TrusteeForm trustee = TrusteeForm::Sid;
  std::wstring account;  // the trustee's name, or for a SID the name of its account ("" when unknown)
  std::wstring sid;      // for a SID the SID as text ("S-1-5-32-544"); "" for a name
};

// What one search of a folder finds: the number and total size of its files and the names of
// its subfolders. Links to folders are neither followed nor named.
struct FolderSizes {
  std::uint64_t fileBytes = 0;
  std::uint64_t files = 0;
  std::vector<std::wstring> subfolders;
};

enum class DeleteResult { Deleted, NotFound, InUse, Failed };
enum class CreateResult { Created, AlreadyExists, Failed };
enum class OpenMode { CreateAlways, OpenAlways };
enum class KnownFolder { CommonAppData, ProgramFiles, ProgramFilesX86, CommonDesktop };

// Rights and sharing of a file stream (the Windows values).
inline constexpr std::uint32_t kGenericWrite = 0x40000000;
inline constexpr std::uint32_t kShareRead = 0x1;
inline constexpr std::uint32_t kShareWrite = 0x2;
inline constexpr std::uint32_t kShareDelete = 0x4;

enum class StreamDisposition { CreateAlways, OpenExisting };
enum class SeekOrigin { Begin = 0, Current = 1, End = 2 };

struct StreamWriteResult {
  std::uint32_t written = 0;
  bool diskFull = false;  // the write failed because the volume (or the handle's quota) is full
};

// A file opened with chosen rights, sharing and disposition; closed when destroyed.
class FileStream {
 public:
  virtual ~FileStream() = default;
  // Bytes read; 0 at the end of the file or on failure.
  virtual std::uint32_t Read(void* buffer, std::uint32_t count) = 0;
  virtual StreamWriteResult Write(const void* buffer, std::uint32_t count) = 0;
  // Moves the file pointer by a 32-bit distance; the new position's low 32 bits, or none.
  virtual std::optional<std::uint32_t> Seek(std::int32_t distance, SeekOrigin origin) = 0;
  virtual std::optional<std::uint64_t> Size() const = 0;
  // Sets the creation time alone from an MS-DOS date and time read as local time.
  virtual bool SetCreationTimeFromLocalDosTime(std::uint16_t dosDate, std::uint16_t dosTime) = 0;
};

// A file open for writing at its end, shared for reading with other processes.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual bool Write(std::string_view bytes) = 0;
  virtual bool Flush() = 0;
  // The size of the file in bytes (where the next write lands).
  virtual std::uint64_t Size() const = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual std::unique_ptr<WritableFile> OpenForWriting(std::wstring_view path, OpenMode mode) = 0;
  // Opens a file with normal attributes; `access` and `share` combine the constants above.
  virtual std::unique_ptr<FileStream> OpenStream(std::wstring_view path, std::uint32_t access, std::uint32_t share,
                                                 StreamDisposition disposition) = 0;
  virtual std::optional<FileAttributes> Attributes(std::wstring_view path) const = 0;
  virtual bool SetReadOnly(std::wstring_view path, bool readOnly) = 0;
  // Entries of folder + "\" + pattern ("*" and "?" wildcards), without "." and "..".
  virtual std::vector<DirectoryEntry> List(std::wstring_view folder, std::wstring_view pattern) const = 0;
  virtual DeleteResult DeleteFile(std::wstring_view path) = 0;
  virtual bool RemoveDirectory(std::wstring_view path) = 0;
  virtual CreateResult CreateDirectory(std::wstring_view path) = 0;
  virtual bool CopyFile(std::wstring_view source, std::wstring_view target, bool failIfExists) = 0;
  virtual std::optional<std::uint64_t> FileSize(std::wstring_view path) const = 0;
  // Sums the folder's files in a single search, so that a large tree costs one listing per
  // folder; `stop` is polled between entries and ends the search early. A folder that cannot
  // be listed gives nothing.
  virtual FolderSizes SumFolder(std::wstring_view folder, const std::atomic<bool>& stop) const = 0;
  // The free space of the volume that holds `path`: free clusters times the cluster size in
  // bytes; none when it cannot be read.
  virtual std::optional<std::uint64_t> VolumeFreeBytes(std::wstring_view path) const = 0;
  // A file on a disk that can be read as such: not a folder, not a device, pipe or console.
  virtual bool IsRegularDiskFile(std::wstring_view path) const = 0;
  virtual std::optional<FileVersionNumbers> FileVersion(std::wstring_view path) const = 0;
  virtual std::optional<std::string> ReadFile(std::wstring_view path) const = 0;
  // Creates or truncates the file and writes the bytes.
  virtual bool WriteFile(std::wstring_view path, std::string_view bytes) = 0;
  virtual std::wstring KnownFolderPath(KnownFolder folder) const = 0;
  // The process's current folder as an absolute path (empty when it cannot be read).
  virtual std::wstring CurrentFolder() const = 0;
  // The explicit entries of the path's discretionary access-control list; empty optional
  // when the list cannot be read (or the file system has none).
  virtual std::optional<std::vector<AccessEntry>> ExplicitAccessEntries(std::wstring_view) const {
    return std::nullopt;
  }
  // The security identifier of the path's owner as text ("S-1-5-32-544"); empty optional
  // when it cannot be read (or the file system has no owners).
  virtual std::optional<std::wstring> OwnerSid(std::wstring_view) const { return std::nullopt; }
  // Sets in the path's list an entry of `accessMask` for the account named `trusteeName`,
  // inherited by files and subfolders, in place of the account's earlier entries, and stores
  // the list.
  virtual bool SetInheritedAccess(std::wstring_view /*path*/, std::wstring_view /*trusteeName*/,
                                  std::uint32_t /*accessMask*/) {
    return false;
  }
  // Creates a folder whose list is the grants alone, each inherited by files and subfolders,
  // and inherits nothing from the parent folder. The list is part of the creation, so the
  // folder never exists without it; an existing folder is left as it is.
  virtual CreateResult CreateProtectedDirectory(std::wstring_view /*path*/, const std::vector<AccessGrant>& /*grants*/) {
    return CreateResult::Failed;
  }
  // Creates a new file whose list is the grants alone, inheriting nothing from its folder, and
  // writes the bytes. The list is part of the creation, so the file never exists without it;
  // an existing file is neither opened nor changed (AlreadyExists). A file whose bytes could
  // not all be written is removed again (Failed).
  virtual CreateResult CreateProtectedFile(std::wstring_view /*path*/, const std::vector<AccessGrant>& /*grants*/,
                                           std::string_view /*bytes*/) {
    return CreateResult::Failed;
  }
  // Text in the system's ANSI code page (characters it cannot hold become '?').
  virtual std::string ToAnsi(std::wstring_view text) const = 0;
  virtual std::wstring FromAnsi(std::string_view text) const = 0;
};

}  // namespace setup::platform
