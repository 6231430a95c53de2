// The ports the launcher uses, held together. The application object owns one; the Win32
// adapter fills it with the real platform, tests with the host stand-ins.
#pragma once

#include <memory>

#include "platform/cabinet_decompression.h"
#include "platform/console.h"
#include "platform/crypto.h"
#include "platform/file_system.h"
#include "platform/gui.h"
#include "platform/installer.h"
#include "platform/installer_databases.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/service_control.h"
#include "platform/system_info.h"
#include "platform/user_interface.h"

namespace setup::platform {

struct Platform {
  virtual ~Platform() = default;

  std::unique_ptr<Resources> resources;
  std::unique_ptr<Console> console;
  std::unique_ptr<SystemInfo> system;
  std::unique_ptr<FileSystem> files;
  std::unique_ptr<Registry> registry;
  std::unique_ptr<Processes> processes;
  std::unique_ptr<UserInterface> ui;
  std::unique_ptr<Gui> gui;
  // The GUI of a run that never shows a window, which then needs no window system; none where
  // the platform offers no such GUI.
  std::unique_ptr<Gui> windowlessGui;
  std::unique_ptr<Installer> installer;
  std::unique_ptr<InstallerDatabases> databases;
  std::unique_ptr<Crypto> crypto;
  std::unique_ptr<ServiceControl> services;
  std::unique_ptr<CabinetDecompression> cabinets;
};

}  // namespace setup::platform
