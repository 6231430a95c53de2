// Reads the dialog templates, bitmaps and icons of the launcher's resource scripts, so that
// the host GUI builds the same dialogs the Windows build compiles in.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/gui.h"

namespace setup::platform::host {

// What the host needs of a template control.
enum class TemplateControlKind { Static, Separator, ComboBox, Button, CheckBox, RadioButton, Edit };

struct TemplateControl {
  TemplateControlKind kind;
  int id;
  std::wstring text;
  Rect rect;  // dialog units
  bool visible;
  bool enabled;
};

struct DialogTemplate {
  Size size;  // dialog units
  std::vector<TemplateControl> controls;
};

struct ScriptResources {
  std::map<std::uint32_t, DialogTemplate> dialogs;
  // Pixel sizes of the pictures by PictureKey: a bitmap's size, an icon's largest image.
  std::map<std::wstring, Size> bitmaps;
  std::map<std::wstring, Size> icons;
};

// A resource name as the system spells it: "#132" for a number, the name otherwise.
std::wstring PictureKey(const ResourceName& name);

// Parses every *.rc of the folder (DIALOGEX with CONTROL lines, BITMAP and ICON lines).
ScriptResources LoadScriptResources(const std::filesystem::path& resourceFolder);

}  // namespace setup::platform::host
