// The windowless GUI over the dialog templates compiled into the executable.
#include <windows.h>

#include "platform/win32/win32_ports.h"
#include "platform/windowless/windowless_gui.h"

namespace setup::platform::win32 {

namespace {

std::optional<DialogLayout> CompiledDialogLayout(std::uint32_t templateId) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(templateId), RT_DIALOG);
  if (found == nullptr) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return std::nullopt;
  return ParseDialogTemplate({static_cast<const std::byte*>(bytes), SizeofResource(module, found)});
}

}  // namespace

std::unique_ptr<Gui> CreateWindowlessGui() { return std::make_unique<WindowlessGui>(CompiledDialogLayout); }

}  // namespace setup::platform::win32
