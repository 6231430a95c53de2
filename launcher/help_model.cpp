#include "launcher/help_model.h"

#include "foundation/text.h"
#include "run/language_catalog.h"
#include "resources/resource_ids.h"

namespace setup {

void HelpModel::Build(const LanguageCatalog& catalog, const HelpModelInputs& inputs) {
  options_.clear();
  commands_.clear();
  std::vector<const HelpOption*> shared;
  auto add = [&](std::wstring syntax, std::uint32_t labelId, std::uint32_t descriptionId) {
    shared.push_back(&options_.emplace_back(HelpOption{std::move(syntax), labelId, descriptionId}));
  };
  auto word = [&](std::uint32_t id) { return L"<" + catalog.Text(id) + L">"; };

  if (inputs.hasGermanPackage) {
    add(L"lang=" + word(IDS_HELP_WORD_LANGUAGE_NAME), IDS_HELP_LANGUAGE_LABEL, IDS_HELP_LANGUAGE_DESCRIPTION);
  }
  add(L"/q[n|r|f|b][+]", IDS_HELP_UI_LEVEL_LABEL, IDS_HELP_UI_LEVEL_DESCRIPTION);
  add(L"/L[i|w|e|a|r|u|c|m|o|v|x|*|+|!] " + word(IDS_HELP_WORD_LOG_FILE), IDS_HELP_LOGGING_LABEL,
      IDS_HELP_LOGGING_DESCRIPTION);
  add(L"/m " + word(IDS_HELP_WORD_MIF_FILE), IDS_HELP_MIF_LABEL, IDS_HELP_MIF_DESCRIPTION);
  if (inputs.hasSeveralPackages) {
    const std::wstring part = word(IDS_HELP_WORD_PACKAGE_NAME_PART);
    add(L"SubPackages=all|none|" + part + L"{," + part + L"}", IDS_HELP_SUB_PACKAGES_LABEL,
        IDS_HELP_SUB_PACKAGES_DESCRIPTION);
  }
  add(L"TRANSFORMS=" + word(IDS_HELP_WORD_TRANSFORMS), IDS_HELP_TRANSFORMS_LABEL, IDS_HELP_TRANSFORMS_DESCRIPTION);
  add(word(IDS_HELP_WORD_PROPERTY) + L"=" + word(IDS_HELP_WORD_VALUE), IDS_HELP_PROPERTIES_LABEL,
      IDS_HELP_PROPERTIES_DESCRIPTION);

  commands_ = {
      {L"/h", IDS_HELP_COMMAND_HELP, {}},
      {L"", IDS_HELP_COMMAND_INSTALL, shared},
      {L"/f[p|o|e|d|c|a|u|m|s|v]", IDS_HELP_COMMAND_REPAIR, shared},
      {L"/x", IDS_HELP_COMMAND_UNINSTALL, shared},
      {L"/a", IDS_HELP_COMMAND_ADMINISTRATIVE, shared},
      {L"/u", IDS_HELP_COMMAND_EXTRACT, {}},
  };
  groups_ = PropertyGroupsFor(inputs.firstProductName);
}

const HelpProperty* HelpModel::FindProperty(std::wstring_view name) const {
  for (const HelpPropertyGroup& group : groups_) {
    for (const HelpProperty& property : group.properties) {
      if (EqualsIgnoreCase(property.name, name)) return &property;
    }
  }
  return nullptr;
}

}  // namespace setup
