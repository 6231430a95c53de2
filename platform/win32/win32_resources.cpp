// Resources of the launcher's own module. LockResource points into the mapped image, so the
// spans handed out stay valid for the life of the process and are never copied.
#include <windows.h>

#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

namespace {

class Win32Resources : public Resources {
 public:
  std::optional<std::span<const std::byte>> FindPackageResource(std::wstring_view name,
                                                                std::optional<LangId> language) const override {
    const std::wstring resourceName(name);
    HRSRC found = language ? FindResourceExW(nullptr, MAKEINTRESOURCEW(kPackageResourceType), resourceName.c_str(), *language)
                           : FindResourceW(nullptr, resourceName.c_str(), MAKEINTRESOURCEW(kPackageResourceType));
    if (!found) return std::nullopt;
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return std::nullopt;
    return std::span<const std::byte>(static_cast<const std::byte*>(data), SizeofResource(nullptr, found));
  }

  std::wstring LoadString(std::uint32_t id, LangId language) const override {
    // A STRINGTABLE block holds 16 counted strings; block id/16+1, slot id mod 16.
    HRSRC block = FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (!block) return {};
    HGLOBAL loaded = LoadResource(nullptr, block);
    const auto* data = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (!data) return {};
    const WCHAR* end = data + SizeofResource(nullptr, block) / sizeof(WCHAR);
    for (std::uint32_t slot = 0; slot < id % 16; ++slot) {
      if (data >= end) return {};
      data += 1 + *data;
    }
    if (data >= end || data + 1 + *data > end) return {};
    return std::wstring(data + 1, *data);
  }
};

}  // namespace

std::unique_ptr<Resources> CreateResources() { return std::make_unique<Win32Resources>(); }

}  // namespace setup::platform::win32
