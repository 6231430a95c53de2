// The workflow server's cluster role: read from the installation's files, chosen on the
// command line, and handed over as installer properties.
#include <gtest/gtest.h>

#include "server_config/cluster_settings.h"
#include "server_config/service_fixture.h"

namespace setup::testing {
namespace {

constexpr wchar_t kData[] = L"C:\\ProgramData\\Tarquel\\BrammelServer2023\\data";

struct ReadCase {
  const char* name;
  const char* serverIni;  // null: no brammel.ini
  const char* webIni;     // null: no brammelweb.ini
  bool masterFile;
  ClusterSettings expected;
};

class ClusterSettingsTest : public ServiceTest {
 protected:
  ClusterSettings Read() {
    Run();
    return ReadClusterSettings(host_, packages_);
  }
};

TEST_F(ClusterSettingsTest, RoleAndMasterInterfaceComeFromTheInstallationsFiles) {
  using enum ClusterRole;
  const ReadCase cases[] = {
      {"no files keep the defaults", nullptr, nullptr, false, {StandAlone, L"0.0.0.0", L"4645", false}},
      {"an active master with its port and host", "[Master]\nport=4700\nhost=10.0.0.5\nactive=1\n", nullptr, false,
       {Master, L"10.0.0.5", L"4700", true}},
      {"port 0 keeps the default port", "[Master]\nport=0\nactive=1\n", nullptr, false,
       {Master, L"0.0.0.0", L"4645", true}},
      {"an inactive master stays stand-alone", "[Master]\nport=4700\nactive=0\n", nullptr, false,
       {StandAlone, L"0.0.0.0", L"4700", false}},
      {"the master file makes a worker", nullptr, nullptr, true, {Worker, L"0.0.0.0", L"4645", false}},
      {"a worker to configure", nullptr, "[Worker]\nconfigure=1\n", false, {Worker, L"0.0.0.0", L"4645", false}},
      {"a configured worker is no worker", nullptr, "[Worker]\nconfigure=0\n", false,
       {StandAlone, L"0.0.0.0", L"4645", false}},
      {"the worker wins over an active master", "[Master]\nactive=1\n", "[Worker]\nconfigure=1\n", false,
       {Worker, L"0.0.0.0", L"4645", true}},
  };
  AddPackage(L"Tarquel Brammel Server 2023 Advanced Edition");
  for (const ReadCase& test : cases) {
    SCOPED_TRACE(test.name);
    ICBSFileUtilities(host_).DeleteFolderTree(L"C:\\ProgramData\\Tarquel\\BrammelServer2023");
    if (test.serverIni) WriteFile(std::wstring(kData) + L"\\brammel.ini", test.serverIni);
    if (test.webIni) WriteFile(std::wstring(kData) + L"\\brammelweb.ini", test.webIni);
    if (test.masterFile) WriteFile(std::wstring(kData) + L"\\master.cfg", "master=10.0.0.1\n");
    EXPECT_EQ(Read(), test.expected);
  }
}

TEST_F(ClusterSettingsTest, TheFolderFollowsTheMajorVersionOfTheFirstWorkflowServerPackage) {
  AddPackage(L"Tarquel Quibrix 2024", L"QB::P", L"2024.0.0.0");
  AddPackage(L"Tarquel Brammel Server 2024 Advanced Edition", L"BR::A", L"2024.1.0.0");
  WriteFile(std::wstring(kData) + L"\\brammel.ini", "[Master]\nactive=1\n");
  EXPECT_EQ(Read().role, ClusterRole::StandAlone);
  WriteFile(L"C:\\ProgramData\\Tarquel\\BrammelServer2024\\data\\brammel.ini", "[Master]\nactive=1\n");
  EXPECT_EQ(Read().role, ClusterRole::Master);
}

struct CommandLineCase {
  const char* name;
  std::vector<std::wstring> arguments;
  ClusterSettings expected;
};

TEST_F(ClusterSettingsTest, TheCommandLineChoosesRoleHostAndPort) {
  using enum ClusterRole;
  const CommandLineCase cases[] = {
      {"a role by name, any case", {L"br_cluster_role=worker"}, {Worker, L"0.0.0.0", L"4645", false}},
      {"stand-alone", {L"BR_Cluster_Role=Standalone"}, {StandAlone, L"0.0.0.0", L"4645", false}},
      {"an unknown role changes nothing", {L"BR_Cluster_Role=Leader"}, {StandAlone, L"0.0.0.0", L"4645", false}},
      {"a port makes a master", {L"BR_MASTER_PORT=4711"}, {Master, L"0.0.0.0", L"4711", false}},
      {"a host makes a master", {L"BR_Master.Host=10.1.1.1"}, {Master, L"10.1.1.1", L"4645", false}},
      {"the host's key is exact", {L"BR_master.host=10.1.1.1"}, {StandAlone, L"0.0.0.0", L"4645", false}},
      {"the last word wins", {L"BR_Master_Port=4711", L"BR_Cluster_Role=Worker"}, {Worker, L"0.0.0.0", L"4711", false}},
      {"another prefix is not for the cluster", {L"BRWeb_Cluster_Role=Worker"}, {StandAlone, L"0.0.0.0", L"4645", false}},
  };
  for (const CommandLineCase& test : cases) {
    SCOPED_TRACE(test.name);
    std::vector<std::wstring> arguments = test.arguments;
    arguments.insert(arguments.begin(), {L"/L*v", kLogPath});
    Start(arguments);
    ClusterSettings settings;
    ApplyClusterCommandLine(settings, commandLine_.Properties());
    EXPECT_EQ(settings, test.expected);
  }
}

struct PropertyCase {
  const char* name;
  ClusterRole role;
  ClusterRole startRole;
  const wchar_t* expected;
};

TEST(ClusterProperties, TheChosenRoleBecomesTheInstallersProperties) {
  using enum ClusterRole;
  const PropertyCase cases[] = {
      {"a master takes the edited port and is active", Master, StandAlone,
       L"BR_Master_Port=\"4800\" BR_Master_Host=\"10.0.0.5\" BR_Master_Active=1 BR_Cluster_Role=\"Master\" "},
      {"a master turned stand-alone is no longer active", StandAlone, Master,
       L"BR_Master_Port=\"4700\" BR_Master_Host=\"10.0.0.5\" BR_Master_Active=0 BR_Cluster_Role=\"Standalone\" "},
      {"a new worker configures itself", Worker, Master,
       L"BR_Master_Port=\"0\" BR_Master_Host=\"10.0.0.5\" BR_Master_Active=0 BR_Worker_Configure=1 "
       L"BR_Cluster_Role=\"Worker\" "},
      {"a worker that stays one does not", Worker, Worker,
       L"BR_Master_Port=\"0\" BR_Master_Host=\"10.0.0.5\" BR_Master_Active=0 BR_Cluster_Role=\"Worker\" "},
  };
  for (const PropertyCase& test : cases) {
    SCOPED_TRACE(test.name);
    const ClusterSettings settings{test.role, L"10.0.0.5", L"4700", test.startRole == Master};
    EXPECT_EQ(ClusterProperties(settings, L"4800", test.startRole), test.expected);
  }
}

TEST(ClusterProperties, AnEmptyPortFieldGivesAnEmptyPort) {
  const ClusterSettings settings{ClusterRole::Master, L"0.0.0.0", L"4645", false};
  EXPECT_EQ(ClusterProperties(settings, L"", ClusterRole::Master),
            L"BR_Master_Port=\"\" BR_Master_Host=\"0.0.0.0\" BR_Master_Active=1 BR_Cluster_Role=\"Master\" ");
}

}  // namespace
}  // namespace setup::testing
