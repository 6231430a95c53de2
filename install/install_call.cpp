#include "install/install_call.h"

#include "extraction/command_line_transforms.h"
#include "foundation/installer_property_text.h"
#include "install/installer_error.h"
#include "install/installer_message_boxes.h"
#include "packages/held_package.h"
#include "packages/package_resource_names.h"
#include "packages/package_resources.h"
#include "run/log_lines.h"
#include "run/secret_properties.h"

namespace setup {

namespace {

// The launcher's handler takes the installer's messages for the length of one call.
class ScopedMessageHandler {
 public:
  ScopedMessageHandler(platform::Installer& installer, platform::InstallerMessageHandler& handler)
      : installer_(installer), previous_(installer.SetExternalUi(&handler, platform::kInstallMessageFilterLauncher)) {}
  ~ScopedMessageHandler() { installer_.SetExternalUi(previous_, 0); }
  ScopedMessageHandler(const ScopedMessageHandler&) = delete;
  ScopedMessageHandler& operator=(const ScopedMessageHandler&) = delete;

 private:
  platform::Installer& installer_;
  platform::InstallerMessageHandler* previous_;
};

// A property the installer can take as given: a name of letters, digits, underscores and
// periods that begins with a letter or underscore, and a value on one line. Anything else would
// reach the installer's part of the shared log as it is and could forge lines there.
bool IsPassableProperty(const CommandLineProperty& property) {
  // A service password reaches a package only encrypted, from the service page, which takes
  // the ones it encrypts off the command line; any other would be logged in plain text.
  if (IsSecretPropertyName(property.name)) return false;
  const auto letter = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_'; };
  const std::wstring& name = property.name;
  if (name.empty() || !letter(name[0])) return false;
  for (const wchar_t c : name) {
    if (!letter(c) && !(c >= L'0' && c <= L'9') && c != L'.') return false;
  }
  return property.value.find_first_of(L"\r\n") == std::wstring::npos;
}

}  // namespace

std::wstring InstallCallProperties(const RunContext& run, std::wstring_view extra) {
  const CSetupAppCommandLineInfo& commandLine = run.commandLine;
  std::wstring text;
  if (!commandLine.MifPath().empty()) text += L"/m " + commandLine.MifPath() + L" ";
  if (commandLine.IsAdministrative()) {
    text += L"ACTION=ADMIN ";
  } else if (commandLine.IsUninstall()) {
    text += L"REMOVE=ALL ";
  }
  text += L"INSTALLEDFROMLAUNCHER=Yes ";
  namespace names = package_resource_names;
  const std::wstring resource = run.packageResources.ReadText(names::Name(names::kProperties));
  if (!resource.empty()) text += resource + L" ";
  for (const CommandLineProperty& property : commandLine.Properties()) {
    if (IsPassableProperty(property)) AppendGivenProperty(text, property.name, property.value);
  }
  text += extra;
  return text;
}

std::uint32_t InstallCall(const RunContext& run, const SetupPackage& package, std::wstring_view extra) {
  platform::Installer& installer = *run.platform.installer;
  installer.SetInternalUi(run.commandLine.UiLevel().Value());
  // The administrator's transforms, taken from the current folder, become part of the
  // package's own database before the installer opens it.
  ApplyCommandLineTransforms(run.platform, run.log, package.packageFile, run.commandLine.Transforms(),
                             run.platform.files->CurrentFolder());
  const HeldPackage held = HoldPackageFile(run.platform, run.log, package.packageFile, package.packageCode);
  switch (held.refusal) {
    case HeldPackage::Refusal::None: break;
    case HeldPackage::Refusal::CannotBeHeld: return kInstallerPackageNotOpened;
    case HeldPackage::Refusal::OtherPackage: return kInstallerPackageUnreadable;
  }
  run.log.Suspend();
  std::uint32_t result = 0;
  {
    InstallerMessageBoxes messageBoxes(run);
    ScopedMessageHandler handler(installer, messageBoxes);
    result = installer.InstallProduct(package.packageFile, InstallCallProperties(run, extra));
  }
  run.log.Resume();
  return IgnoreRestartSuccess(run, result);
}

std::uint32_t IgnoreRestartSuccess(const RunContext& run, std::uint32_t result) {
  if (result == 0 || !platform::IsInstallerSuccess(result)) return result;
  run.log.WriteLog(log_lines::kRestartSuccessIgnored, static_cast<std::int32_t>(result));
  return 0;
}

}  // namespace setup
