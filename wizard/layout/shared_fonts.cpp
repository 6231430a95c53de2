#include "wizard/layout/shared_fonts.h"

#include <map>
#include <string>
#include <tuple>

namespace setup {

namespace {

using FontKey = std::tuple<const platform::Gui*, bool, std::wstring, int>;

// Used on the user-interface thread only.
std::map<FontKey, platform::FontHandle>& Cache() {
  static std::map<FontKey, platform::FontHandle> cache;
  return cache;
}

}  // namespace

platform::FontHandle GetSharedFont(platform::Gui& gui, platform::WindowHandle window, std::wstring_view face, int points,
                                   bool bold) {
  const FontKey key{&gui, bold, std::wstring(face), points};
  const auto found = Cache().find(key);
  if (found != Cache().end()) return found->second;
  const platform::FontHandle font = gui.MakeFont(window, face, points, bold ? 700 : 400);
  Cache().emplace(key, font);
  return font;
}

void ReleaseSharedFonts(platform::Gui& gui) {
  std::erase_if(Cache(), [&](const auto& entry) {
    if (std::get<0>(entry.first) != &gui) return false;
    gui.DestroyFont(entry.second);
    return true;
  });
}

}  // namespace setup
