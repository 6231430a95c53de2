#include "packages/installation_key.h"

#include "foundation/path.h"

namespace setup {

std::wstring AttributedProductId(std::wstring_view storedId, std::wstring_view searchedId) {
  if (storedId == L"MB::Z" && searchedId == L"MB::S") return std::wstring(searchedId);
  return std::wstring(storedId);
}

bool HasActiveXControlBeside(const platform::FileSystem& files, std::wstring_view applicationPath) {
  if (applicationPath.empty()) return false;
  const ICBSFilePath application{std::wstring(applicationPath)};
  const ICBSFilePath control(application.Folder(), application.BaseName(), L"ocx");
  return files.Attributes(control.FullText()).has_value();
}

std::optional<ProductRecord> ReadInstallation(const ICBSRegistryKey& setupKey, std::wstring_view searchedId,
                                              const platform::FileSystem& files) {
  const std::wstring version = setupKey.ReadString(kSetupValueVersion);
  if (version.empty()) return std::nullopt;
  const bool fromSuite = setupKey.ReadDword(kSetupValueFromSuite) != 0;
  std::wstring productId = setupKey.ReadString(kSetupValueProductId);
  productId = productId.empty() ? std::wstring(searchedId) : AttributedProductId(productId, searchedId);
  const bool is64Bit = setupKey.KeyPath().find(L"_x64") != std::wstring::npos;
  ProductRecord record(productId, version, is64Bit, setupKey.ReadString(kSetupValueLanguage), fromSuite);
  record.SetHasActiveXControl(HasActiveXControlBeside(files, setupKey.ReadString(kSetupValueApplicationPath)));
  return record;
}

}  // namespace setup
