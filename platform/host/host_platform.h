// The host platform: every port with its host stand-in, reachable with its concrete type so
// that tests can arrange the machine and read what the core did.
#pragma once

#include <filesystem>

#include "platform/host/host_cabinet_decompression.h"
#include "platform/host/host_console.h"
#include "platform/host/host_crypto.h"
#include "platform/host/host_file_system.h"
#include "platform/host/host_gui.h"
#include "platform/host/host_installer.h"
#include "platform/host/host_installer_databases.h"
#include "platform/host/host_processes.h"
#include "platform/host/host_registry.h"
#include "platform/host/host_resources.h"
#include "platform/host/host_service_control.h"
#include "platform/host/host_system_info.h"
#include "platform/host/host_user_interface.h"
#include "platform/platform.h"

namespace setup::platform::host {

class HostPlatform : public Platform {
 public:
  // `root` is the host folder that stands for the drives.
  explicit HostPlatform(const std::filesystem::path& root);

  HostResources& Resources() { return *hostResources_; }
  HostConsole& Console() { return *hostConsole_; }
  HostSystemInfo& System() { return *hostSystem_; }
  HostFileSystem& Files() { return *hostFiles_; }
  HostRegistry& Registry() { return *hostRegistry_; }
  HostProcesses& Processes() { return *hostProcesses_; }
  HostUserInterface& Ui() { return *hostUi_; }
  HostGui& Gui() { return *hostGui_; }
  HostInstaller& Installer() { return *hostInstaller_; }
  HostInstallerDatabases& Databases() { return *hostDatabases_; }
  HostCrypto& Crypto() { return *hostCrypto_; }
  HostServiceControl& Services() { return *hostServices_; }

  // Offers the windowless GUI over the resource scripts' dialog templates, as the Windows
  // build offers it over its compiled ones.
  void OfferWindowlessGui();

  // A package file on the disk that installs `product`: a database file carrying the
  // product's "PackageCode" (which the launcher checks before it hands a package over), in
  // its folder, made with its parents.
  void AddPackageFile(const std::wstring& path, HostInstalledProduct product);
  // The bytes of such a package file, for a test that packs it into a cabinet.
  static std::string PackageFileBytes(const std::wstring& packageCode);

 private:
  HostResources* hostResources_;
  HostConsole* hostConsole_;
  HostSystemInfo* hostSystem_;
  HostFileSystem* hostFiles_;
  HostRegistry* hostRegistry_;
  HostProcesses* hostProcesses_;
  HostUserInterface* hostUi_;
  HostGui* hostGui_;
  HostInstaller* hostInstaller_;
  HostInstallerDatabases* hostDatabases_;
  HostCrypto* hostCrypto_;
  HostServiceControl* hostServices_;
};

}  // namespace setup::platform::host
