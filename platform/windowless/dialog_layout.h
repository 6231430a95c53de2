// The controls of a dialog template as a window without a screen needs them: ids, texts,
// rectangles in pixels, visibility and enabled state. Read from the binary template the
// resource compiler writes (the extended dialog template).
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gui.h"

namespace setup::platform {

struct DialogItemLayout {
  int id = 0;
  std::wstring text;
  Rect rect;  // pixels, in the dialog's client coordinates
  bool visible = true;
  bool enabled = true;
};

struct DialogLayout {
  Size size;  // pixels
  std::vector<DialogItemLayout> items;
};

// Dialog units of a template in pixels of a 96-DPI screen with the templates' font ("MS Sans
// Serif" 8 pt). Like the dialog manager, the corners are converted, not the size.
Rect DialogUnitsToPixels(const Rect& units);

// The layout of an extended dialog template; none when the bytes are not a whole one.
std::optional<DialogLayout> ParseDialogTemplate(std::span<const std::byte> bytes);

}  // namespace setup::platform
