#include "platform/host/host_cabinet_decompression.h"

#include <mspack.h>

#include <cstdlib>
#include <cstring>

namespace setup::platform::host {

namespace {

// libmspack names files by text; these two names stand for the streams the caller opened.
constexpr char kCabinetName[] = "<cabinet>";
constexpr char kTargetName[] = "<target>";

struct MspackSystem;

struct MspackFile {
  MspackSystem* system;
  std::intptr_t stream;
};

struct MspackSystem {
  mspack_system base;  // first, so that libmspack's pointer is ours
  const CabinetFileCallbacks* callbacks = nullptr;
  std::intptr_t cabinet = -1;
  std::intptr_t target = -1;
};

MspackSystem* Self(mspack_system* system) { return reinterpret_cast<MspackSystem*>(system); }
MspackFile* File(mspack_file* file) { return reinterpret_cast<MspackFile*>(file); }

mspack_file* Open(mspack_system* system, const char* name, int mode) {
  MspackSystem* self = Self(system);
  std::intptr_t stream = -1;
  if (mode == MSPACK_SYS_OPEN_READ && std::strcmp(name, kCabinetName) == 0) stream = self->cabinet;
  if (mode == MSPACK_SYS_OPEN_WRITE && std::strcmp(name, kTargetName) == 0) stream = self->target;
  if (stream < 0) return nullptr;
  return reinterpret_cast<mspack_file*>(new MspackFile{self, stream});
}

// The caller's streams are closed by the caller (cabinet) and by close-file-info (targets).
void Close(mspack_file* file) { delete File(file); }

int Read(mspack_file* file, void* buffer, int bytes) {
  MspackFile* f = File(file);
  return static_cast<int>(f->system->callbacks->read(f->stream, buffer, static_cast<unsigned>(bytes)));
}

int Write(mspack_file* file, void* buffer, int bytes) {
  MspackFile* f = File(file);
  return static_cast<int>(f->system->callbacks->write(f->stream, buffer, static_cast<unsigned>(bytes)));
}

int Seek(mspack_file* file, off_t offset, int mode) {
  MspackFile* f = File(file);
  const int origin = mode == MSPACK_SYS_SEEK_START ? kCabinetSeekSet
                     : mode == MSPACK_SYS_SEEK_CUR ? kCabinetSeekCurrent
                                                   : kCabinetSeekEnd;
  return f->system->callbacks->seek(f->stream, static_cast<long>(offset), origin) < 0 ? -1 : 0;
}

off_t Tell(mspack_file* file) {
  MspackFile* f = File(file);
  return f->system->callbacks->seek(f->stream, 0, kCabinetSeekCurrent);
}

void Message(mspack_file*, const char*, ...) {}
void* Allocate(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void Free(void* memory) { std::free(memory); }
void CopyMemory(void* source, void* target, size_t bytes) { std::memmove(target, source, bytes); }

std::uint16_t DosDate(const mscabd_file& file) {
  return static_cast<std::uint16_t>((file.date_y - 1980) << 9 | file.date_m << 5 | file.date_d);
}

std::uint16_t DosTime(const mscabd_file& file) {
  return static_cast<std::uint16_t>(file.time_h << 11 | file.time_m << 5 | file.time_s / 2);
}

int ErrorOperation(int mspackError) {
  switch (mspackError) {
    case MSPACK_ERR_OPEN: return kCabinetErrorNotFound;
    case MSPACK_ERR_SIGNATURE: return kCabinetErrorNotACabinet;
    case MSPACK_ERR_WRITE: return kCabinetErrorTargetFile;
    case MSPACK_ERR_NOMEMORY: return kCabinetErrorAllocation;
    default: return kCabinetErrorCorrupt;
  }
}

class HostCabinetContext : public CabinetContext {
 public:
  HostCabinetContext(const CabinetFileCallbacks& callbacks, CabinetErrorRecord& error)
      : callbacks_(callbacks), error_(error) {}

  bool Copy(const std::string& cabinetName, const std::string& cabinetPath, CabinetNotifyCallback notify,
            void* userData) override {
    error_ = {};
    std::string path = cabinetPath + cabinetName;
    MspackSystem system{{Open, Close, Read, Write, Seek, Tell, Message, Allocate, Free, CopyMemory, nullptr}, &callbacks_};
    system.cabinet = callbacks_.open(path.data(), kCabinetOpenBinary | kCabinetOpenReadOnly,
                                     kCabinetPermitRead | kCabinetPermitWrite);
    if (system.cabinet < 0) return Fail(kCabinetErrorNotFound);
    mscab_decompressor* decompressor = mspack_create_cab_decompressor(&system.base);
    const bool copied = decompressor && CopyEntries(*decompressor, system, notify, userData);
    if (decompressor) mspack_destroy_cab_decompressor(decompressor);
    callbacks_.close(system.cabinet);
    return copied;
  }

 private:
  bool CopyEntries(mscab_decompressor& decompressor, MspackSystem& system, CabinetNotifyCallback notify,
                   void* userData) {
    mscabd_cabinet* cabinet = decompressor.open(&decompressor, kCabinetName);
    if (!cabinet) return Fail(ErrorOperation(decompressor.last_error(&decompressor)));
    bool copied = notify(CabinetNotification::CabinetInfo, {.userData = userData}) != -1 || Fail(kCabinetErrorUserAbort);
    for (mscabd_file* file = cabinet->files; copied && file; file = file->next) {
      CabinetNotificationData entry{.name = file->filename, .size = file->length, .date = DosDate(*file),
                                    .time = DosTime(*file), .attributes = static_cast<std::uint16_t>(file->attribs),
                                    .userData = userData};
      const std::intptr_t target = notify(CabinetNotification::CopyFile, entry);
      if (target == -1) {
        copied = Fail(kCabinetErrorUserAbort);
      } else if (target != 0) {
        system.target = target;
        const int result = decompressor.extract(&decompressor, file, kTargetName);
        entry.stream = target;
        notify(CabinetNotification::CloseFileInfo, entry);
        if (result != MSPACK_ERR_OK) copied = Fail(ErrorOperation(result));
      }
    }
    decompressor.close(&decompressor, cabinet);
    return copied;
  }

  bool Fail(int operation) {
    error_ = {operation, 0, true};
    return false;
  }

  CabinetFileCallbacks callbacks_;
  CabinetErrorRecord& error_;
};

}  // namespace

std::unique_ptr<CabinetContext> HostCabinetDecompression::Create(const CabinetFileCallbacks& callbacks,
                                                                 CabinetErrorRecord& error) {
  return std::make_unique<HostCabinetContext>(callbacks, error);
}

}  // namespace setup::platform::host
