// The workflow server's cluster role: what the existing installation's configuration files
// say, what the command line asks for, and the installer properties of the user's choice.
#pragma once

#include <span>
#include <string>

#include "packages/setup_package.h"
#include "platform/platform.h"
#include "run/command_line_info.h"

namespace setup {

enum class ClusterRole { StandAlone = 0, Master = 1, Worker = 2 };

struct ClusterSettings {
  ClusterRole role = ClusterRole::StandAlone;
  std::wstring host = L"0.0.0.0";
  std::wstring port = L"4645";
  bool masterActive = false;

  bool operator==(const ClusterSettings&) const = default;
};

// The settings of the installation of the first package whose product name names the
// workflow server: "Master::port" (unless "0"), "Master::host" and "Master::active" of its
// "brammel.ini"; a worker's "master.cfg" or "Worker::configure=1" in "brammelweb.ini" makes
// it a worker. Missing files leave the defaults.
ClusterSettings ReadClusterSettings(platform::Platform& platform, const PackageList& packages);

// The "BR_" properties of the command line that choose the role, the master's host or its port.
void ApplyClusterCommandLine(ClusterSettings& settings, std::span<const CommandLineProperty> properties);

// The property string of the chosen role. `editPort` is the port field's text, used for the
// master role; `startRole` is the role found in the installation: a worker that was not one
// before is asked to configure itself.
std::wstring ClusterProperties(const ClusterSettings& settings, const std::wstring& editPort, ClusterRole startRole);

}  // namespace setup
