#include "run/setup_log.h"

#include "foundation/path.h"
#include "foundation/text.h"
#include "run/command_line_info.h"
#include "run/log_lines.h"

namespace setup {

int LogLevelFromMode(std::uint32_t logMode) {
  int level = 0;
  if (logMode & 0x2) level = kLogErrors;
  if (logMode & 0x4) level = kLogWarnings;
  if (logMode & 0x10) level = kLogInfo;
  if (logMode & 0x1000) level = kLogVerbose;
  return level;
}

void SetupLog::Open(std::wstring_view path, std::uint32_t logMode, std::uint32_t logAttributes) {
  level_ = LogLevelFromMode(logMode);
  logMode_ = logMode;
  // A device name (COM1, NUL, "\\.\...") is no log file: writing to a port can block for
  // ever. Neither the launcher nor Windows Installer opens it.
  if (NamesDevice(path)) {
    refusedDevicePath_ = path;
    return;
  }
  path_ = path;
  if (path_.empty()) return;
  const auto mode = (logAttributes & kLogAttributeAppend) ? platform::OpenMode::OpenAlways
                                                          : platform::OpenMode::CreateAlways;
  OpenFile(mode);
}

void SetupLog::OpenFile(platform::OpenMode mode) {
  file_ = files_.OpenForWriting(path_, mode);
  // A file of odd length (cut short, or written by another program in another encoding)
  // would put every following entry one byte off, and a reader would see none of them: one
  // zero byte completes the last character, so that the entries start on a boundary.
  if (file_ && file_->Size() % 2 != 0) file_->Write(std::string(1, '\0'));
}

void SetupLog::Suspend() {
  if (file_) {
    WriteLog(log_lines::kHandOver);
    file_.reset();  // flushes and closes
  }
  if (!path_.empty()) installer_.EnableLog(logMode_, path_, platform::kInstallLogAppend);
}

void SetupLog::Resume() {
  if (!file_ && !path_.empty()) OpenFile(platform::OpenMode::OpenAlways);
}

void SetupLog::WriteEntry(std::wstring_view text) {
  std::u16string units = ToUtf16(text);
  if (units.size() > kMaxLogEntryUnits) {
    std::size_t keep = kMaxLogEntryUnits;
    // Never leave half of a surrogate pair at the cut.
    if (units[keep - 1] >= 0xD800 && units[keep - 1] <= 0xDBFF) --keep;
    units.resize(keep);
  }
  // A lone surrogate (from a product name, say) would make the file ill-formed UTF-16.
  ReplaceLoneSurrogates(units);
  // A failing write or flush is ignored; the next entry tries again.
  file_->Write(ToLittleEndianBytes(units));
  file_->Flush();
}

}  // namespace setup
