// Fonts shared by every widget of the process, made once per face, size and weight.
#pragma once

#include <string_view>

#include "platform/gui.h"

namespace setup {

// The font (weight 700 when bold, else 400) for the screen of `window`, from the cache.
platform::FontHandle GetSharedFont(platform::Gui& gui, platform::WindowHandle window, std::wstring_view face, int points,
                                   bool bold);
// Destroys the shared fonts made on `gui`: for a GUI that ends before the process does.
void ReleaseSharedFonts(platform::Gui& gui);

}  // namespace setup
