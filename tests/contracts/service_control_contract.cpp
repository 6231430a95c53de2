// Contract of the service-control port: an installed service is read by its key name in any
// letter case; a service that is not installed is absent.
#include "contracts/platform_under_test.h"
#include "foundation/text.h"

namespace setup::contracts {
namespace {

class ServiceControlContract : public ContractTest {};

TEST_F(ServiceControlContract, AnInstalledServiceIsReadWhateverTheCaseOfItsName) {
  const std::wstring name = Side().InstalledServiceName();
  const auto service = Ports().services->ReadInstalledService(name);
  ASSERT_TRUE(service);
  ASSERT_TRUE(service->configuration);
  EXPECT_EQ(service->configuration->startType, platform::kServiceDemandStart);
  EXPECT_FALSE(service->configuration->displayName.empty());
  EXPECT_FALSE(service->configuration->executablePath.empty());
  EXPECT_TRUE(service->currentState.has_value());

  std::wstring lower = name;
  for (wchar_t& c : lower) c = FoldCase(c);
  const auto again = Ports().services->ReadInstalledService(lower);
  ASSERT_TRUE(again && again->configuration);
  EXPECT_EQ(again->configuration->displayName, service->configuration->displayName);
  EXPECT_EQ(again->configuration->executablePath, service->configuration->executablePath);
  EXPECT_EQ(again->configuration->logonAccount, service->configuration->logonAccount);
}

TEST_F(ServiceControlContract, AServiceThatIsNotInstalledIsAbsent) {
  EXPECT_EQ(Ports().services->ReadInstalledService(L"TarquelNoSuchService"), std::nullopt);
}

}  // namespace
}  // namespace setup::contracts
