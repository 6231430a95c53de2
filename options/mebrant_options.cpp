#include "options/mebrant_options.h"

#include <array>

#include "foundation/registry_key.h"
#include "foundation/text.h"
#include "platform/service_control.h"

namespace setup {

namespace {

constexpr std::array<std::wstring_view, 1> kClientIds = {L"MB::Z"};
constexpr std::array<std::wstring_view, 1> kServerIds = {L"MB::S"};

constexpr std::wstring_view kModeProperty = L"SERVEROPTIONSVISTA";
constexpr std::wstring_view kStartServiceProperty = L"STARTSERVICE";
constexpr std::wstring_view kServiceName = L"MebrantService";

}  // namespace

SetupOptionServerForMebrant::SetupOptionServerForMebrant(SetupOptionEnvironment& environment)
    : ClonableSetupOption(environment, L"MEBRANTSERVER", kClientIds) {}

void SetupOptionServerForMebrant::Load(const ProductRecord& installed) {
  ICBSRegistryKey key(*Environment().platform.registry);
  key.Open(L"HKEY_CURRENT_USER\\Software\\Tarquel\\Mebrant\\Settings", true, false,
           InstallationRegistryView(installed, ThirtyTwoBitView::Default));
  // An unopened key reads 0, so the name stays empty.
  serverName_ = key.ReadDword(L"DefaultServerType") != 0 ? key.ReadString(L"DefaultServer") : std::wstring();
}

SetupOptionsMebrantServer::SetupOptionsMebrantServer(SetupOptionEnvironment& environment)
    : ClonableSetupOption(environment, L"MebrantServerOptions", kServerIds) {}

void SetupOptionsMebrantServer::Load(const ProductRecord&) {
  const auto service = Environment().platform.services->ReadInstalledService(kServiceName);
  if (!service) {
    modeText_ = L"StandAlone";
    startService_ = false;
    return;
  }
  modeText_.clear();
  startService_ = service->currentState == platform::kServiceRunning ||
                  service->currentState == platform::kServiceStartPending;
}

std::vector<std::wstring> SetupOptionsMebrantServer::SubPropertyNames() const {
  return {std::wstring(kModeProperty), std::wstring(kStartServiceProperty)};
}

std::optional<std::wstring> SetupOptionsMebrantServer::SubValue(std::wstring_view name) const {
  if (EqualsIgnoreCase(name, kModeProperty)) return modeText_;
  if (EqualsIgnoreCase(name, kStartServiceProperty)) return startService_ ? L"true" : L"";
  return std::nullopt;
}

}  // namespace setup
