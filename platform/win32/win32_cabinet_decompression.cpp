// Cabinet decompression through Cabinet.dll (FDI), loaded on first use. The caller's file
// callbacks have FDI's own signatures and are handed over as they are; the notification is
// translated from FDI's record.
#include <windows.h>

#include <fdi.h>

#include <cstdlib>

#include "platform/win32/system_function.h"
#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

FNALLOC(Allocate) { return std::malloc(cb); }
FNFREE(Free) { std::free(pv); }

// What FDICopy hands back to the notification: the caller's callback and user data.
struct NotifyTarget {
  CabinetNotifyCallback notify;
  void* userData;
};

FNFDINOTIFY(Notify) {
  const auto* target = static_cast<const NotifyTarget*>(pfdin->pv);
  CabinetNotificationData data;
  data.name = pfdin->psz1;
  data.size = static_cast<std::uint32_t>(pfdin->cb);
  data.stream = pfdin->hf;
  data.date = pfdin->date;
  data.time = pfdin->time;
  data.attributes = pfdin->attribs;
  data.userData = target->userData;
  return target->notify(static_cast<CabinetNotification>(fdint), data);
}

class Win32CabinetContext : public CabinetContext {
 public:
  Win32CabinetContext(HFDI context, CabinetErrorRecord& error, ERF& systemError)
      : context_(context), error_(error), systemError_(systemError) {}
  ~Win32CabinetContext() override {
    SETUP_SYSTEM_FUNCTION(L"cabinet.dll", FDIDestroy);
    if (FDIDestroyPtr) FDIDestroyPtr(context_);
  }
  Win32CabinetContext(const Win32CabinetContext&) = delete;
  Win32CabinetContext& operator=(const Win32CabinetContext&) = delete;

  bool Copy(const std::string& cabinetName, const std::string& cabinetPath, CabinetNotifyCallback notify,
            void* userData) override {
    SETUP_SYSTEM_FUNCTION(L"cabinet.dll", FDICopy);
    if (!FDICopyPtr) return false;
    std::string name = cabinetName;
    std::string path = cabinetPath;
    NotifyTarget target{notify, userData};
    const BOOL copied = FDICopyPtr(context_, name.data(), path.data(), 0, Notify, nullptr, &target);
    error_ = {systemError_.erfOper, systemError_.erfType, systemError_.fError != FALSE};
    return copied != FALSE;
  }

 private:
  HFDI context_;
  CabinetErrorRecord& error_;
  ERF& systemError_;
};

class Win32CabinetDecompression : public CabinetDecompression {
 public:
  std::unique_ptr<CabinetContext> Create(const CabinetFileCallbacks& callbacks, CabinetErrorRecord& error) override {
    SETUP_SYSTEM_FUNCTION(L"cabinet.dll", FDICreate);
    if (!FDICreatePtr) return nullptr;
    HFDI context = FDICreatePtr(Allocate, Free, callbacks.open, callbacks.read, callbacks.write, callbacks.close,
                                callbacks.seek, cpuUNKNOWN, &systemError_);
    error = {systemError_.erfOper, systemError_.erfType, systemError_.fError != FALSE};
    if (!context) return nullptr;
    return std::make_unique<Win32CabinetContext>(context, error, systemError_);
  }

 private:
  // FDI writes its errors here for the life of every context made from this port.
  ERF systemError_{};
};

}  // namespace

std::unique_ptr<CabinetDecompression> CreateCabinetDecompression() {
  return std::make_unique<Win32CabinetDecompression>();
}

}  // namespace setup::platform::win32
