#include "options/trusted_locations_option.h"

#include <array>

#include "foundation/registry_key.h"
#include "packages/product_key_paths.h"

namespace setup {

namespace {

constexpr std::array<std::wstring_view, 3> kApplicableIds = {L"QB::E", L"QB::P", L"CB::E"};

// The Installation_v... key: the setup key path without its last component.
std::wstring InstallationKeyPath(const ProductRecord& installed) {
  std::wstring path = ProductSetupKeyPath(installed);
  const std::size_t separator = path.rfind(L'\\');
  path.resize(separator == std::wstring::npos ? 0 : separator);
  return path;
}

}  // namespace

SetupOptionAddExamplesToTrustedLocations::SetupOptionAddExamplesToTrustedLocations(
    SetupOptionEnvironment& environment)
    : ClonableSetupOption(environment, L"ADDEXAMPLESTOTRUSTEDLOCATIONS", kApplicableIds) {}

void SetupOptionAddExamplesToTrustedLocations::Load(const ProductRecord& installed) {
  const std::wstring path = InstallationKeyPath(installed);
  if (path.empty()) return;
  ICBSRegistryKey key(*Environment().platform.registry);
  const std::uint32_t view = InstallationRegistryView(installed, ThirtyTwoBitView::Explicit);
  if (!key.Open(platform::RegistryRoot::LocalMachine, path, true, false, view)) return;
  on_ = key.ReadDword(L"CorbielTrustedLocations") != 0;
}

std::optional<std::wstring> SetupOptionAddExamplesToTrustedLocations::Value() const {
  return on_ ? L"#1" : L"";
}

}  // namespace setup
