// The wizard's page list: which pages a run shows, in order, and the frame filled with them.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/property_encryption.h"
#include "options/setup_options.h"
#include "packages/product_record.h"
#include "wizard/wizard_dialog.h"

namespace setup {

enum class WizardPageKind {
  Welcome,
  SubPackages,
  Backup,
  SystemIntegrity,
  Unpack,
  ServiceConfiguration,
  ClusterConfiguration,
  Install,
  NonMsiInstall,
  // Next on the page before it ends the wizard without the finish page.
  EmptyEntry,
  Finish,
};

// What decides the list.
struct WizardPageFacts {
  std::size_t packageCount = 0;
  std::wstring mainInstallerType;
  bool backupPage = false;
  bool clusterPage = false;
  bool servicePage = false;
  bool removal = false;
};

std::vector<WizardPageKind> PlanWizardPages(const WizardPageFacts& facts);

// What the run lends its pages.
struct WizardPageShared {
  std::vector<ProductRecord>& quickInstall;
  // Bound by the welcome page when a quick install is chosen.
  SetupOptions* options;
  std::atomic<bool>& cancelRequested;
  // The welcome page's introduction for the systems the product supports.
  std::uint32_t welcomeTextId;
  // The process's one key for the passwords the server pages hand on.
  PropertyEncryption& encryption;
};

// Fills the frame with the pages of its run.
void BuildWizardPages(CWizardDialog& frame, const WizardPageShared& shared);

}  // namespace setup
