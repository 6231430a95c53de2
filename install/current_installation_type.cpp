#include "install/current_installation_type.h"

#include "foundation/registry_key.h"

namespace setup {

namespace {

constexpr wchar_t kMakerKey[] = L"Software\\Tarquel";
constexpr wchar_t kValueName[] = L"CurrentInstallationType";

}  // namespace

void DeleteCurrentInstallationType(platform::Registry& registry) {
  ICBSRegistryKey key(registry);
  if (key.Open(platform::RegistryRoot::LocalMachine, kMakerKey, false, false, 0)) key.DeleteValue(kValueName);
}

bool IsCustomInstallation(platform::Registry& registry) {
  ICBSRegistryKey key(registry);
  return key.Open(platform::RegistryRoot::LocalMachine, kMakerKey, true, false, 0) &&
         key.ReadString(kValueName) == L"Custom";
}

}  // namespace setup
