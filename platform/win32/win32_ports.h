// Factories of the Win32 adapters, one per port; win32_platform.cpp puts them together.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace setup::platform::win32 {

std::unique_ptr<Resources> CreateResources();
std::unique_ptr<Console> CreateConsole();
std::unique_ptr<SystemInfo> CreateSystemInfo();
std::unique_ptr<FileSystem> CreateFileSystem();
std::unique_ptr<Registry> CreateRegistry();
std::unique_ptr<Processes> CreateProcesses();
std::unique_ptr<UserInterface> CreateUserInterface();
std::unique_ptr<Gui> CreateGui();
std::unique_ptr<Gui> CreateWindowlessGui();
std::unique_ptr<Installer> CreateInstaller();
std::unique_ptr<InstallerDatabases> CreateInstallerDatabases();
std::unique_ptr<Crypto> CreateCrypto();
std::unique_ptr<ServiceControl> CreateServiceControl();
std::unique_ptr<CabinetDecompression> CreateCabinetDecompression();

// The whole platform of the running Windows process.
std::unique_ptr<Platform> CreatePlatform();

}  // namespace setup::platform::win32
