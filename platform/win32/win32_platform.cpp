#include "platform/win32/win32_ports.h"

namespace setup::platform::win32 {

std::unique_ptr<Platform> CreatePlatform() {
  auto platform = std::make_unique<Platform>();
  platform->resources = CreateResources();
  platform->console = CreateConsole();
  platform->system = CreateSystemInfo();
  platform->files = CreateFileSystem();
  platform->registry = CreateRegistry();
  platform->processes = CreateProcesses();
  platform->ui = CreateUserInterface();
  platform->gui = CreateGui();
  platform->windowlessGui = CreateWindowlessGui();
  platform->installer = CreateInstaller();
  platform->databases = CreateInstallerDatabases();
  platform->crypto = CreateCrypto();
  platform->services = CreateServiceControl();
  platform->cabinets = CreateCabinetDecompression();
  return platform;
}

}  // namespace setup::platform::win32
