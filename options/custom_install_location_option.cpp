#include "options/custom_install_location_option.h"

#include <array>

#include "packages/custom_install_folder.h"

namespace setup {

namespace {

constexpr std::array<std::wstring_view, 30> kApplicableIds = {
    L"QB::E", L"QB::P", L"QB::S", L"PL::E", L"PL::P", L"PL::S", L"TR::E", L"TR::P", L"TR::S", L"KS::E",
    L"KS::P", L"KS::S", L"SK::E", L"SK::P", L"HD::P", L"HD::E", L"MB::Z", L"MB::S", L"CB::E", L"BS::A",
    L"BS::Z", L"TV::A", L"TV::Z", L"PV::Z", L"YS::L", L"YS::M", L"SG::Z", L"PD::Z", L"PS::A", L"PS::Z"};

std::wstring ToUpper(std::wstring_view text) {
  std::wstring upper;
  for (const wchar_t c : text) upper += (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
  return upper;
}

}  // namespace

SetupOptionCustomInstallLocation::SetupOptionCustomInstallLocation(SetupOptionEnvironment& environment)
    : ClonableSetupOption(environment, L"", kApplicableIds) {}

void SetupOptionCustomInstallLocation::Load(const ProductRecord& installed) {
  const SetupOptionEnvironment& environment = Environment();
  folder_ = CustomInstallFolder(DetectionContext{environment.platform, environment.systemIs64Bit}, installed);
}

std::optional<std::wstring> SetupOptionCustomInstallLocation::Value() const {
  if (folder_.empty()) return std::nullopt;
  return folder_;
}

std::wstring SetupOptionCustomInstallLocation::PropertyName(const ProductRecord& record) const {
  const std::wstring id = record.ProductId();
  if (record.IsServerProduct() || id.starts_with(L"WK::")) return L"INSTALLDIR";
  if (id.starts_with(L"CB::")) return L"CORBIELINSTALLDIR";
  if (id == L"MB::S" || id == L"PD::Z") return L"INSTALLDIR";
  return ToUpper(record.FamilyRegistryName()) + L"INSTALLDIR";
}

}  // namespace setup
