#include "platform/host/host_platform.h"

#include "platform/host/host_database_files.h"
#include "platform/windowless/windowless_gui.h"

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

void HostPlatform::OfferWindowlessGui() {
  windowlessGui = std::make_unique<WindowlessGui>([scripts = LoadScriptResources(SETUP_RESOURCE_DIR)](std::uint32_t id) {
    std::optional<DialogLayout> layout;
    const auto found = scripts.dialogs.find(id);
    if (found == scripts.dialogs.end()) return layout;
    const Rect frame = DialogUnitsToPixels({0, 0, found->second.size.width, found->second.size.height});
    layout.emplace().size = {frame.width, frame.height};
    for (const TemplateControl& control : found->second.controls) {
      layout->items.push_back({control.id, control.text, DialogUnitsToPixels(control.rect), control.visible, control.enabled});
    }
    return layout;
  });
}

std::string HostPlatform::PackageFileBytes(const std::wstring& packageCode) {
  HostDatabaseFile database = HostDatabaseFile::Package();
  database.packageCode = packageCode;
  return database.Serialize();
}

void HostPlatform::AddPackageFile(const std::wstring& path, HostInstalledProduct product) {
  const auto code = product.properties.find(L"PackageCode");
  std::filesystem::create_directories(Files().HostPath(path).parent_path());
  Files().WriteFile(path, PackageFileBytes(code == product.properties.end() ? std::wstring() : code->second));
  Installer().AddPackageFile(path, std::move(product));
}

}  // namespace setup::platform::host
