// The setup log: UTF-16LE text without byte-order mark, one write and one flush per entry,
// shared with Windows Installer's own log around every installer call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/installer.h"
#include "run/log_line.h"

namespace setup {

// Formatted entries are limited to this many UTF-16 code units.
inline constexpr std::size_t kMaxLogEntryUnits = 2047;

// The log level that the installer log-mode bits select.
int LogLevelFromMode(std::uint32_t logMode);

class SetupLog {
 public:
  SetupLog(platform::FileSystem& files, platform::Installer& installer) : files_(files), installer_(installer) {}

  // Sets the level and opens the file when a path is given; a file that cannot be opened
  // leaves logging off without complaint. A path that names a device is refused (below).
  void Open(std::wstring_view path, std::uint32_t logMode, std::uint32_t logAttributes);

  // One line of the table in run/log_lines.h, filled with its arguments.
  template <class... Args>
  void WriteLog(const LogLine<Args...>& line, const std::type_identity_t<Args>&... args) {
    if (file_ && line.level <= level_) WriteEntry(LogLineText(line, args...));
  }

  // Hands the file to Windows Installer before a call that acts on a product ...
  void Suspend();
  // ... and takes it back afterwards, appending after the installer's lines.
  void Resume();

  int Level() const { return level_; }
  bool IsOpen() const { return file_ != nullptr; }
  // The log path given, when it named a device and so no log is written; empty otherwise.
  const std::wstring& RefusedDevicePath() const { return refusedDevicePath_; }

 private:
  // Opens the file at its end, on a character boundary.
  void OpenFile(platform::OpenMode mode);
  void WriteEntry(std::wstring_view text);

  platform::FileSystem& files_;
  platform::Installer& installer_;
  std::unique_ptr<platform::WritableFile> file_;
  std::wstring path_;
  std::wstring refusedDevicePath_;
  std::uint32_t logMode_ = 0;
  int level_ = 0;
};

}  // namespace setup
