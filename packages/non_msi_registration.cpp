#include "packages/non_msi_registration.h"

#include "foundation/registry_key.h"
#include "foundation/text.h"
#include "packages/packed_product_code.h"

namespace setup {

namespace {

bool OpenRegistration(std::wstring_view productCode, bool is64Bit, ICBSRegistryKey& key) {
  const std::wstring path = NonMsiRegistrationKeyPath(productCode);
  return !path.empty() && key.Open(platform::RegistryRoot::CurrentUser, path, true, false,
                                   is64Bit ? platform::kRegistryView64 : 0);
}

}  // namespace

std::wstring NonMsiRegistrationKeyPath(std::wstring_view productCode) {
  const std::wstring packed = PackedProductCode(productCode);
  return packed.empty() ? std::wstring() : L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + packed;
}

bool IsNonMsiPackageRegistered(platform::Registry& registry, std::wstring_view productCode, bool is64Bit) {
  ICBSRegistryKey key(registry);
  return OpenRegistration(productCode, is64Bit, key);
}

bool IsNonMsiPackageFromOtherInstaller(platform::Registry& registry, std::wstring_view productCode,
                                       std::wstring_view packageCode, bool is64Bit) {
  ICBSRegistryKey key(registry);
  if (!OpenRegistration(productCode, is64Bit, key)) return false;
  const std::wstring registeredPackage = key.ReadString(L"PackageGUID");
  return !registeredPackage.empty() && !EqualsIgnoreCase(registeredPackage, packageCode);
}

}  // namespace setup
