#include "platform/host/rc_dialog_templates.h"

#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "foundation/text.h"
#include "platform/host/rc_string_table.h"

namespace setup::platform::host {

namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t offset, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < count; ++i) value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(offset + i))) << (8 * i);
  return value;
}

Size BitmapFileSize(const std::filesystem::path& path) {
  const std::string bytes = ReadAll(path);
  return {static_cast<int>(LittleEndian(bytes, 18, 4)), static_cast<int>(LittleEndian(bytes, 22, 4))};
}

// The largest image of an icon file (a width byte of 0 means 256).
Size IconFileSize(const std::filesystem::path& path) {
  const std::string bytes = ReadAll(path);
  Size largest;
  const std::uint32_t count = LittleEndian(bytes, 4, 2);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16 * i;
    const int width = static_cast<int>(LittleEndian(bytes, entry, 1));
    const int height = static_cast<int>(LittleEndian(bytes, entry + 1, 1));
    const Size size{width == 0 ? 256 : width, height == 0 ? 256 : height};
    if (size.width > largest.width) largest = size;
  }
  return largest;
}

TemplateControlKind KindOf(const std::string& windowClass, const std::string& style) {
  if (windowClass == "ComboBox") return TemplateControlKind::ComboBox;
  if (windowClass == "Edit") return TemplateControlKind::Edit;
  if (windowClass == "Button") {
    if (style.find("BS_AUTORADIOBUTTON") != std::string::npos) return TemplateControlKind::RadioButton;
    if (style.find("BS_AUTOCHECKBOX") != std::string::npos) return TemplateControlKind::CheckBox;
    return TemplateControlKind::Button;
  }
  if (style.find("SS_ETCHEDHORZ") != std::string::npos) return TemplateControlKind::Separator;
  return TemplateControlKind::Static;
}

}  // namespace

std::wstring PictureKey(const ResourceName& name) {
  if (const auto* number = std::get_if<std::uint32_t>(&name)) return L"#" + std::to_wstring(*number);
  return std::wstring(std::get<std::wstring_view>(name));
}

ScriptResources LoadScriptResources(const std::filesystem::path& resourceFolder) {
  std::map<std::string, std::uint32_t> ids = ReadResourceIds(resourceFolder);
  ids["IDOK"] = kIdOk;
  ids["IDCANCEL"] = kIdCancel;
  const auto idOf = [&](const std::string& name) {
    const auto found = ids.find(name);
    if (found == ids.end()) throw std::runtime_error("unknown resource id " + name);
    return found->second;
  };
  const std::regex picture(R"~(^\s*(\w+)\s+(BITMAP|ICON)\s+"([^"]+)"\s*$)~");
  const std::regex dialog(R"(^\s*(\w+)\s+DIALOGEX\s+\d+\s*,\s*\d+\s*,\s*(\d+)\s*,\s*(\d+)\s*$)");
  // CONTROL text, id, class, style, x, y, width, height, and an extended style that may follow.
  const std::regex control(
      R"~(^\s*CONTROL\s+"([^"]*)"\s*,\s*(\w+)\s*,\s*"(\w+)"\s*,\s*([^,]*),\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*(?:,\s*[\w| ]+)?$)~");
  ScriptResources resources;
  for (const auto& file : std::filesystem::directory_iterator(resourceFolder)) {
    if (file.path().extension() != ".rc") continue;
    std::istringstream lines(ReadAll(file.path()));
    DialogTemplate* current = nullptr;
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::smatch match;
      if (std::regex_match(line, match, picture)) {
        const std::filesystem::path path = resourceFolder / std::string(match[3]);
        const auto id = ids.find(match[1]);
        const std::wstring key = id == ids.end() ? FromUtf8(match[1].str()) : PictureKey(id->second);
        if (match[2] == "BITMAP") resources.bitmaps[key] = BitmapFileSize(path);
        else resources.icons[key] = IconFileSize(path);
      } else if (std::regex_match(line, match, dialog)) {
        current = &resources.dialogs[idOf(match[1])];
        current->size = {std::stoi(match[2]), std::stoi(match[3])};
      } else if (current && std::regex_match(line, match, control)) {
        const std::string style = match[4];
        current->controls.push_back({KindOf(match[3], style), static_cast<int>(idOf(match[2])), FromUtf8(match[1].str()),
                                     Rect{std::stoi(match[5]), std::stoi(match[6]), std::stoi(match[7]), std::stoi(match[8])},
                                     style.find("NOT WS_VISIBLE") == std::string::npos,
                                     style.find("WS_DISABLED") == std::string::npos});
      } else if (line.starts_with("END")) {
        current = nullptr;
      }
    }
  }
  return resources;
}

}  // namespace setup::platform::host
