#include "foundation/cabinet_entry_name.h"

#include <array>
#include <cctype>
#include <string>

namespace setup {

namespace {

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// The system strips trailing dots and blanks from a component.
std::string_view WithoutTrailingDotsAndBlanks(std::string_view component) {
  while (!component.empty() && (component.back() == '.' || component.back() == ' ')) component.remove_suffix(1);
  return component;
}

// "CON", "nul.txt", "COM1 .log": the part before the first dot, without trailing blanks,
// names a device in every folder.
bool IsDeviceName(std::string_view component) {
  std::string_view stem = component.substr(0, component.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  const std::string upper = Upper(stem);
  static constexpr std::array<std::string_view, 6> kPlain = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const std::string_view device : kPlain) {
    if (upper == device) return true;
  }
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '1' &&
         upper[3] <= '9';
}

}  // namespace

bool IsContainedCabinetEntryName(std::string_view name) {
  if (name.empty() || name.find(':') != std::string_view::npos) return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = name.find_first_of("\\/", start);
    const std::string_view component = name.substr(start, end == std::string_view::npos ? end : end - start);
    if (WithoutTrailingDotsAndBlanks(component).empty() || IsDeviceName(component)) return false;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return true;
}

}  // namespace setup
