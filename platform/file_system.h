// Port: files and folders. Paths are Windows paths ("C:\ProgramData\Tarquel\{...}").
#pragma once

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
};

struct DirectoryEntry {
  std::wstring name;
  bool directory = false;
};

struct FileVersionNumbers {
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::uint16_t build = 0;
  std::uint16_t revision = 0;
};

// Access-right bits with their Windows values.
inline constexpr std::uint32_t kGenericAll = 0x10000000;

// How an access-control entry names its account.
enum class TrusteeForm { UserName, OtherName, Sid };

// An explicit entry of a file's or folder's discretionary access-control list.
struct AccessEntry {
  std::uint32_t accessMask = 0;
  bool grants = false;  // the entry grants (or sets) rights rather than denying or revoking them
  TrusteeForm trustee = TrusteeForm::Sid;
  std::wstring account;  // the trustee's name, or for a SID the name of its account ("" when unknown)
};

enum class DeleteResult { Deleted, NotFound, InUse, Failed };
enum class CreateResult { Created, AlreadyExists, Failed };
enum class OpenMode { CreateAlways, OpenAlways };
enum class KnownFolder { CommonAppData, ProgramFiles, ProgramFilesX86, CommonDesktop };

// A file open for writing at its end, shared for reading with other processes.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual bool Write(std::string_view bytes) = 0;
  virtual bool Flush() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual std::unique_ptr<WritableFile> OpenForWriting(std::wstring_view path, OpenMode mode) = 0;
  virtual std::optional<FileAttributes> Attributes(std::wstring_view path) const = 0;
  virtual bool SetReadOnly(std::wstring_view path, bool readOnly) = 0;
  // Entries of folder + "\" + pattern ("*" and "?" wildcards), without "." and "..".
  virtual std::vector<DirectoryEntry> List(std::wstring_view folder, std::wstring_view pattern) const = 0;
  virtual DeleteResult DeleteFile(std::wstring_view path) = 0;
  virtual bool RemoveDirectory(std::wstring_view path) = 0;
  virtual CreateResult CreateDirectory(std::wstring_view path) = 0;
  virtual bool CopyFile(std::wstring_view source, std::wstring_view target, bool failIfExists) = 0;
  virtual std::optional<std::uint64_t> FileSize(std::wstring_view path) const = 0;
  virtual std::optional<FileVersionNumbers> FileVersion(std::wstring_view path) const = 0;
  virtual std::optional<std::string> ReadFile(std::wstring_view path) const = 0;
  // Creates or truncates the file and writes the bytes.
  virtual bool WriteFile(std::wstring_view path, std::string_view bytes) = 0;
  virtual std::wstring KnownFolderPath(KnownFolder folder) const = 0;
  // The explicit entries of the path's discretionary access-control list; empty optional
  // when the list cannot be read (or the file system has none).
  virtual std::optional<std::vector<AccessEntry>> ExplicitAccessEntries(std::wstring_view) const {
    return std::nullopt;
  }
  // Adds to the path's list an entry that sets `accessMask` for the account named
  // `trusteeName`, inherited by files and subfolders, and stores the list.
  virtual bool SetInheritedAccess(std::wstring_view /*path*/, std::wstring_view /*trusteeName*/,
                                  std::uint32_t /*accessMask*/) {
    return false;
  }
  // Text in the system's ANSI code page (characters it cannot hold become '?').
  virtual std::string ToAnsi(std::wstring_view text) const = 0;
};

}  // namespace setup::platform
