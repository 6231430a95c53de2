#include "options/desktop_shortcut_option.h"

#include <array>

#include "foundation/file_utilities.h"
#include "foundation/format.h"
#include "foundation/path.h"

namespace setup {

namespace {

constexpr std::array<std::wstring_view, 20> kApplicableIds = {
    L"QB::E", L"QB::P", L"QB::S", L"PL::E", L"PL::P", L"PL::S", L"TR::E", L"TR::P", L"TR::S", L"KS::E",
    L"KS::P", L"KS::S", L"SK::E", L"SK::P", L"HD::P", L"HD::E", L"MB::Z", L"MB::S", L"CB::E", L"PD::Z"};

}  // namespace

std::wstring DesktopShortcutFileName(const ProductRecord& installed) {
  const std::wstring id = installed.ProductId();
  std::wstring name;
  if (id.starts_with(L"PD")) {
    name = Format(L"Tarquel Pellomar Designer %d.%d", installed.MajorVersion(), installed.Version().release);
  } else if (id.starts_with(L"CB")) {
    name = Format(L"Tarquel Corbiel %d", installed.MajorVersion());
  } else {
    name = Format(L"%s %d", installed.PrimaryDisplayName(), installed.MajorVersion());
  }
  if (installed.Is64Bit()) name += L" (x64)";
  return name + L".lnk";
}

SetupOptionDesktopShortcut::SetupOptionDesktopShortcut(SetupOptionEnvironment& environment)
    : ClonableSetupOption(environment, L"CREATE_DESKTOP_SHORTCUT", kApplicableIds) {}

void SetupOptionDesktopShortcut::Load(const ProductRecord& installed) {
  platform::Platform& platform = Environment().platform;
  const std::wstring desktop = platform.files->KnownFolderPath(platform::KnownFolder::CommonDesktop);
  if (desktop.empty()) return;
  const ICBSFilePath shortcut(ICBSFolderPath(desktop), DesktopShortcutFileName(installed));
  if (ICBSFileUtilities(platform).FileExists(shortcut.FullText())) Environment().desktopShortcutValue = L"Yes";
}

}  // namespace setup
