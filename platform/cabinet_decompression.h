// Port: the system's cabinet decompression (create a context, copy a whole cabinet through
// caller-supplied file callbacks and a notification callback, destroy the context). The
// caller's callbacks do all file access, so a cabinet may come from memory as well as from a
// file. Flags, origins and notification numbers carry the values of the Windows interface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace setup::platform {

// Open flags handed to the open callback (the C runtime's _O_* values).
inline constexpr int kCabinetOpenReadOnly = 0x0000;
inline constexpr int kCabinetOpenWriteOnly = 0x0001;
inline constexpr int kCabinetOpenReadWrite = 0x0002;
inline constexpr int kCabinetOpenAccessMask = 0x0003;
inline constexpr int kCabinetOpenCreate = 0x0100;
inline constexpr int kCabinetOpenTruncate = 0x0200;
inline constexpr int kCabinetOpenBinary = 0x8000;
// Permission flags handed to the open callback (_S_IREAD, _S_IWRITE).
inline constexpr int kCabinetPermitRead = 0x0100;
inline constexpr int kCabinetPermitWrite = 0x0080;
// Seek origins (SEEK_SET, SEEK_CUR, SEEK_END).
inline constexpr int kCabinetSeekSet = 0;
inline constexpr int kCabinetSeekCurrent = 1;
inline constexpr int kCabinetSeekEnd = 2;

// The caller's file callbacks. A stream is any non-negative number the open callback
// chooses; -1 reports a failed open. The signatures are those the system interface calls.
struct CabinetFileCallbacks {
  std::intptr_t (*open)(char* path, int openFlags, int permissionFlags);
  unsigned (*read)(std::intptr_t stream, void* buffer, unsigned count);
  unsigned (*write)(std::intptr_t stream, void* buffer, unsigned count);
  int (*close)(std::intptr_t stream);
  long (*seek)(std::intptr_t stream, long offset, int origin);
};

enum class CabinetNotification : int {
  CabinetInfo = 0,
  PartialFile = 1,
  CopyFile = 2,
  CloseFileInfo = 3,
  NextCabinet = 4,
  Enumerate = 5,
};

// What a notification carries. Copy-file: `name` and `size` of the entry; the answer is the
// target stream, 0 to skip the entry or -1 to abort the copy. Close-file-info: `stream`, the
// entry's `name`, MS-DOS `date` and `time` and `attributes`; the callback closes the stream
// and answers 1.
struct CabinetNotificationData {
  const char* name = nullptr;
  std::uint32_t size = 0;
  std::intptr_t stream = 0;
  std::uint16_t date = 0;
  std::uint16_t time = 0;
  std::uint16_t attributes = 0;
  void* userData = nullptr;
};

using CabinetNotifyCallback = std::intptr_t (*)(CabinetNotification type, const CabinetNotificationData& data);

// The error record the system fills (operation code, error type, error flag).
struct CabinetErrorRecord {
  int operation = 0;
  int type = 0;
  bool failed = false;
};

// Error operation codes.
inline constexpr int kCabinetErrorNone = 0;
inline constexpr int kCabinetErrorNotFound = 1;
inline constexpr int kCabinetErrorNotACabinet = 2;
inline constexpr int kCabinetErrorCorrupt = 4;
inline constexpr int kCabinetErrorAllocation = 5;
inline constexpr int kCabinetErrorTargetFile = 8;
inline constexpr int kCabinetErrorUserAbort = 11;

// A decompression context; destroying it releases the system's context.
class CabinetContext {
 public:
  virtual ~CabinetContext() = default;
  // Expands the whole cabinet `cabinetName` of the folder text `cabinetPath` (which ends in a
  // backslash or is empty). True when every entry was handled without error.
  virtual bool Copy(const std::string& cabinetName, const std::string& cabinetPath, CabinetNotifyCallback notify,
                    void* userData) = 0;
};

class CabinetDecompression {
 public:
  virtual ~CabinetDecompression() = default;
  // A context over the callbacks, which must stay valid for its life; null when the system's
  // decompression is unavailable. `error` must outlive the context.
  virtual std::unique_ptr<CabinetContext> Create(const CabinetFileCallbacks& callbacks, CabinetErrorRecord& error) = 0;
};

}  // namespace setup::platform
