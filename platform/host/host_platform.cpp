#include "platform/host/host_platform.h"

namespace setup::platform::host {

namespace {

template <class Concrete, class Port>
Concrete* Install(std::unique_ptr<Port>& slot, std::unique_ptr<Concrete> object) {
  Concrete* raw = object.get();
  slot = std::move(object);
  return raw;
}

}  // namespace

HostPlatform::HostPlatform(const std::filesystem::path& root)
    : hostResources_(Install(resources, std::make_unique<HostResources>())),
      hostConsole_(Install(console, std::make_unique<HostConsole>())),
      hostSystem_(Install(system, std::make_unique<HostSystemInfo>())),
      hostFiles_(Install(files, std::make_unique<HostFileSystem>(root))),
      hostRegistry_(Install(registry, std::make_unique<HostRegistry>())),
      hostProcesses_(Install(processes, std::make_unique<HostProcesses>())),
      hostUi_(Install(ui, std::make_unique<HostUserInterface>())),
      hostGui_(Install(gui, std::make_unique<HostGui>(*hostUi_))),
      hostInstaller_(Install(installer, std::make_unique<HostInstaller>())),
      hostDatabases_(Install(databases, std::make_unique<HostInstallerDatabases>(*hostFiles_))),
      hostCrypto_(Install(crypto, std::make_unique<HostCrypto>())),
      hostServices_(Install(services, std::make_unique<HostServiceControl>())) {
  cabinets = std::make_unique<HostCabinetDecompression>();
}

}  // namespace setup::platform::host
