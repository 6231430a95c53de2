#include "launcher/wizard_page_list.h"

#include <memory>

#include "extraction/package_unpacking.h"
#include "foundation/text.h"
#include "install/taxonomy_installer.h"
#include "packages/setup_package.h"
#include "server_config/service_configuration_wizard_page.h"
#include "server_config/cluster_configuration_wizard_page.h"
#include "server_config/pm_options_wizard_page.h"
#include "wizard/finish_wizard_page.h"
#include "wizard/install_wizard_page.h"
#include "wizard/non_msi_install_wizard_page.h"
#include "wizard/sub_packages_wizard_page.h"
#include "wizard/system_integrity_wizard_page.h"
#include "wizard/unpack_wizard_page.h"
#include "wizard/welcome_wizard_page.h"

namespace setup {

std::vector<WizardPageKind> PlanWizardPages(const WizardPageFacts& facts) {
  using enum WizardPageKind;
  const bool msi = EqualsIgnoreCase(facts.mainInstallerType, kInstallerTypeMsi);
  std::vector<WizardPageKind> plan{Welcome};
  if (facts.packageCount > 2) plan.push_back(SubPackages);
  if (facts.backupPage) plan.push_back(Backup);
  plan.push_back(SystemIntegrity);
  plan.push_back(Unpack);
  if (facts.servicePage && !facts.removal) plan.push_back(ServiceConfiguration);
  if (facts.clusterPage && !facts.removal) plan.push_back(ClusterConfiguration);
  if (msi) plan.push_back(Install);
  else if (EqualsIgnoreCase(facts.mainInstallerType, kInstallerTypeTaxonomy)) plan.push_back(NonMsiInstall);
  if (facts.packageCount <= 1 && msi) plan.push_back(EmptyEntry);
  plan.push_back(Finish);
  return plan;
}

void BuildWizardPages(CWizardDialog& frame, const WizardPageShared& shared) {
  const PackageList& packages = frame.Run().packages;
  const WizardPageFacts facts{packages.packages.size(),
                              packages.Main() ? packages.Main()->installerType : std::wstring(),
                              frame.HasBackupPage(),
                              frame.HasClusterPage(),
                              frame.HasServicePage(),
                              frame.IsRemoval()};
  for (const WizardPageKind kind : PlanWizardPages(facts)) {
    switch (kind) {
      case WizardPageKind::Welcome:
        frame.AddPage(
            std::make_unique<WelcomeWizardPage>(frame, shared.quickInstall, shared.options, shared.welcomeTextId));
        break;
      case WizardPageKind::SubPackages:
        frame.AddPage(std::make_unique<SubPackagesWizardPage>(frame));
        break;
      case WizardPageKind::SystemIntegrity:
        frame.AddPage(std::make_unique<SystemIntegrityWizardPage>(frame));
        break;
      case WizardPageKind::Unpack:
        frame.AddPage(std::make_unique<UnpackWizardPage>(frame, shared.cancelRequested));
        break;
      case WizardPageKind::Install:
        frame.AddPage(std::make_unique<InstallWizardPage>(frame, shared.quickInstall, shared.options));
        break;
      case WizardPageKind::ServiceConfiguration:
        frame.AddPage(std::make_unique<ServiceConfigurationWizardPage>(frame, shared.encryption));
        break;
      case WizardPageKind::Backup:
        frame.AddPage(std::make_unique<PMOptionsWizardPage>(frame, shared.cancelRequested));
        break;
      case WizardPageKind::ClusterConfiguration:
        frame.AddPage(std::make_unique<ClusterConfigurationWizardPage>(frame));
        break;
      case WizardPageKind::NonMsiInstall:
        frame.AddPage(std::make_unique<NonMSIInstallWizardPage>(frame, std::make_unique<TaxonomyInstaller>(frame.Run())));
        break;
      case WizardPageKind::EmptyEntry:
        frame.AddEmptyEntry();
        break;
      case WizardPageKind::Finish:
        frame.AddFinishPage(std::make_unique<FinishWizardPage>(frame, shared.quickInstall));
        break;
    }
  }
}

}  // namespace setup
