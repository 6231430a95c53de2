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
  // Text in the system's ANSI code page (characters it cannot hold become '?').
  virtual std::string ToAnsi(std::wstring_view text) const = 0;
};

}  // namespace setup::platform
