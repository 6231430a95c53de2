#include "install/non_msi_package_registration.h"

#include "foundation/file_utilities.h"
#include "foundation/path.h"
#include "foundation/registry_key.h"
#include "foundation/text.h"
#include "install/launcher_copy.h"
#include "packages/non_msi_registration.h"
#include "packages/packed_product_code.h"

namespace setup {

namespace {

constexpr wchar_t kUninstallList[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr std::wstring_view kWorkloadExtension = L".json";

std::uint32_t ViewOf(const SetupPackage& package) { return package.is64Bit ? platform::kRegistryView64 : 0; }

bool OpenRegistration(const SetupPackage& package, bool create, ICBSRegistryKey& key) {
  const std::wstring path = NonMsiRegistrationKeyPath(package.productCode);
  return !path.empty() && key.Open(platform::RegistryRoot::CurrentUser, path, false, create, ViewOf(package));
}

bool EndsWithIgnoreCase(std::wstring_view text, std::wstring_view suffix) {
  return text.size() >= suffix.size() && EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

// A maintenance run started from the package folder finds its own launcher and workload
// there already: a file is never copied onto itself.
bool CopyInto(const RunContext& run, const std::wstring& source, const std::wstring& target) {
  return EqualsIgnoreCase(source, target) || ICBSFileUtilities(run.platform).CopyFile(source, target, false);
}

}  // namespace

bool CreateNonMsiRegistrationKey(const RunContext& run, const SetupPackage& package) {
  ICBSRegistryKey key(*run.platform.registry);
  return OpenRegistration(package, true, key);
}

std::optional<std::wstring> PrepareWorkloadArgument(const RunContext& run, const SetupPackage& package) {
  const std::wstring& workload = run.commandLine.Workload();
  if (!EndsWithIgnoreCase(workload, kWorkloadExtension)) return std::wstring();
  const std::wstring copy = package.packageFolder + L"\\" + ICBSFilePath(workload).FileName();
  if (!CopyInto(run, workload, copy)) return std::nullopt;
  return L" workload=\"" + copy + L"\"";
}

bool WriteNonMsiRegistration(const RunContext& run, const SetupPackage& package) {
  const std::wstring launcher = run.platform.system->ModulePath();
  const std::wstring launcherCopy = LauncherCopyPath(package, launcher);
  // An entry whose commands start a launcher or name a workload that is not there cannot
  // maintain the package: a failed copy counts as a failed registration.
  bool written = !launcher.empty() && CopyInto(run, launcher, launcherCopy);
  const std::optional<std::wstring> workloadArgument = PrepareWorkloadArgument(run, package);
  written = written && workloadArgument.has_value();
  const std::wstring argument = workloadArgument.value_or(std::wstring());

  ICBSRegistryKey key(*run.platform.registry);
  if (!OpenRegistration(package, false, key)) return false;
  const ProductRecord* product = package.products.empty() ? nullptr : &package.products.front();
  written &= key.WriteString(L"DisplayName", product ? product->DisplayName() : package.productName);
  written &= key.WriteString(L"DisplayVersion", product ? product->FullVersionString() : std::wstring());
  written &= key.WriteDword(L"NoRepair", 1);
  written &= key.WriteString(L"ModifyPath", launcherCopy + argument);
  written &= key.WriteString(L"UninstallString", launcherCopy + L" /x" + argument);
  written &= key.WriteString(L"Publisher", kPublisherName);
  written &= key.WriteString(L"Contact", kSupportContact);
  written &= key.WriteString(L"Comments", kSupportComments);
  written &= key.WriteString(L"HelpLink", kSupportAddress);
  written &= key.WriteString(L"URLUpdateInfo", kDownloadAddress);
  written &= key.WriteString(L"URLInfoAbout", kHomeAddress);
  written &= key.WriteString(L"PackageGUID", package.packageCode);
  return written;
}

bool DeleteNonMsiRegistration(const RunContext& run, const SetupPackage& package) {
  const std::wstring packed = PackedProductCode(package.productCode);
  ICBSRegistryKey list(*run.platform.registry);
  return !packed.empty() && list.Open(platform::RegistryRoot::CurrentUser, kUninstallList, false, false, ViewOf(package)) &&
         list.DeleteSubkeyTree(packed);
}

}  // namespace setup
