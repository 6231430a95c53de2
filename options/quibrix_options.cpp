#include "options/quibrix_options.h"

#include <array>

#include "foundation/registry_key.h"

namespace setup {

namespace {

constexpr std::array<std::wstring_view, 3> kApplicableIds = {L"QB::E", L"QB::P", L"QB::S"};

}  // namespace

SetupOptionQuibrixIESupport::SetupOptionQuibrixIESupport(SetupOptionEnvironment& environment)
    : ClonableSetupOption(environment, L"ADDIESUPPORT", kApplicableIds) {}

void SetupOptionQuibrixIESupport::Load(const ProductRecord& installed) {
  on_ = false;
  ICBSRegistryKey menuExtensions(*Environment().platform.registry);
  if (!menuExtensions.Open(platform::RegistryRoot::CurrentUser, L"Software\\Microsoft\\Internet Explorer\\MenuExt",
                           true, false, InstallationRegistryView(installed, ThirtyTwoBitView::Explicit))) {
    return;
  }
  for (const ICBSRegistryKey& extension : menuExtensions.EnumerateSubkeys()) {
    if (extension.ReadString(L"").ends_with(L"quibrix.htm")) {
      on_ = true;
      return;
    }
  }
}

std::optional<std::wstring> SetupOptionQuibrixIESupport::Value() const { return on_ ? L"Yes" : L""; }

SetupOptionQuibrixHTMLisXHTML::SetupOptionQuibrixHTMLisXHTML(SetupOptionEnvironment& environment)
    : ClonableSetupOption(environment, L"HTMLISXHTML", kApplicableIds) {}

void SetupOptionQuibrixHTMLisXHTML::Load(const ProductRecord& installed) {
  const std::wstring fileTypes = L"SOFTWARE\\Tarquel\\" + installed.RegistryName() + L"\\FileExt";
  const std::uint32_t view = InstallationRegistryView(installed, ThirtyTwoBitView::Explicit);
  ICBSRegistryKey htm(*Environment().platform.registry);
  ICBSRegistryKey html(*Environment().platform.registry);
  if (!htm.Open(platform::RegistryRoot::CurrentUser, fileTypes + L"\\.htm", true, false, view) ||
      !html.Open(platform::RegistryRoot::CurrentUser, fileTypes + L"\\.html", true, false, view)) {
    on_ = false;
    return;
  }
  on_ = htm.ReadString(L"FileType2") == L"XML" || html.ReadString(L"FileType2") == L"XML";
}

std::optional<std::wstring> SetupOptionQuibrixHTMLisXHTML::Value() const {
  if (!on_) return std::nullopt;
  return L"XML";
}

}  // namespace setup
