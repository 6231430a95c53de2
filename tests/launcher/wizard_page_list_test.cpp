#include <gtest/gtest.h>

#include "launcher/wizard_page_list.h"

namespace setup {
namespace {

using enum WizardPageKind;
using Plan = std::vector<WizardPageKind>;

TEST(WizardPageList, PagesFollowThePackagesTheServersAndTheKindOfRun) {
  struct Case {
    const char* name;
    WizardPageFacts facts;
    Plan expected;
  };
  const Case cases[] = {
      {"one msi package ends after the install page", {1, L"msi"},
       {Welcome, SystemIntegrity, Unpack, Install, EmptyEntry, Finish}},
      {"installer type compared ignoring case", {1, L"MSI"},
       {Welcome, SystemIntegrity, Unpack, Install, EmptyEntry, Finish}},
      {"two packages go on to the finish page", {2, L"msi"}, {Welcome, SystemIntegrity, Unpack, Install, Finish}},
      {"three packages offer the sub-packages", {3, L"msi"},
       {Welcome, SubPackages, SystemIntegrity, Unpack, Install, Finish}},
      {"a service server with its cluster", {1, L"msi", false, true, true},
       {Welcome, SystemIntegrity, Unpack, ServiceConfiguration, ClusterConfiguration, Install, EmptyEntry, Finish}},
      {"a removal shows no server settings", {1, L"msi", false, true, true, true},
       {Welcome, SystemIntegrity, Unpack, Install, EmptyEntry, Finish}},
      {"the mobile server's backup before the conflict check", {2, L"msi", true},
       {Welcome, Backup, SystemIntegrity, Unpack, Install, Finish}},
      {"a removal keeps the backup page", {2, L"msi", true, false, false, true},
       {Welcome, Backup, SystemIntegrity, Unpack, Install, Finish}},
      {"a taxonomy package has its own installer and no empty entry", {1, L"taxonomy"},
       {Welcome, SystemIntegrity, Unpack, NonMsiInstall, Finish}},
      {"another installer type has no install page", {1, L"exe"}, {Welcome, SystemIntegrity, Unpack, Finish}},
  };
  for (const Case& c : cases) EXPECT_EQ(PlanWizardPages(c.facts), c.expected) << c.name;
}

}  // namespace
}  // namespace setup
