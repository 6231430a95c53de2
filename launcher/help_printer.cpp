#include "launcher/help_printer.h"

#include <set>

#include "launcher/help_model.h"
#include "launcher/word_wrap.h"
#include "resources/resource_ids.h"
#include "run/language_catalog.h"

namespace setup {

std::wstring_view LauncherFileName(std::wstring_view modulePath) {
  std::size_t separator = modulePath.rfind(L'\\');
  if (separator == std::wstring_view::npos) separator = modulePath.rfind(L'/');
  return separator == std::wstring_view::npos ? modulePath : modulePath.substr(separator + 1);
}

std::wstring HelpText(const HelpModel& model, const LanguageCatalog& catalog, std::wstring_view fileName) {
  std::wstring out = L"\r\n";
  out += fileName;
  out += L" - " + catalog.Text(IDS_HELP_SYNTAX_TITLE) + L"\r\n\r\n";

  for (const HelpCommand& command : model.Commands()) {
    out += std::wstring(fileName) + L" " + command.syntax + L"\n";
    out += WrapText(catalog.Text(command.descriptionId), 4, fileName) + L"\r\n\r\n";
  }

  out += catalog.Text(IDS_HELP_OPTIONS_TITLE) + L"\r\n";
  std::set<const HelpOption*> printed;
  for (const HelpCommand& command : model.Commands()) {
    for (const HelpOption* option : command.options) {
      if (!printed.insert(option).second) continue;
      out += L"    " + option->syntax + L"\n";
      out += WrapText(catalog.Text(option->descriptionId), 8, fileName) + L"\r\n\r\n";
    }
  }

  out += WrapText(catalog.Text(IDS_HELP_PROPERTIES_INTRO), 0, std::nullopt) + L"\r\n\r\n";
  for (const HelpPropertyGroup& group : model.PropertyGroups()) {
    out += WrapText(catalog.Text(group.titleId), 4, std::nullopt) + L"\r\n";
    for (const HelpProperty& property : group.properties) {
      out += L"        " + property.name + L"=" + catalog.Text(property.placeholderId) + L"\n";
      out += WrapText(catalog.Text(property.descriptionId), 12, std::nullopt) + L"\r\n\r\n";
    }
  }
  return out;
}

}  // namespace setup
