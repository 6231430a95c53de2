// Host stand-in of the user-interface port: records message boxes and the quit message.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/user_interface.h"

namespace setup::platform::host {

struct ShownMessageBox {
  std::wstring text;
  std::wstring caption;
  MessageBoxIcon icon;
};

class HostUserInterface : public UserInterface {
 public:
  void ShowMessageBox(std::wstring_view text, std::wstring_view caption, MessageBoxIcon icon) override {
    messageBoxes.push_back({std::wstring(text), std::wstring(caption), icon});
  }
  void PostQuit(int exitCode) override { postedQuit = exitCode; }
  void PumpUntilQuit() override {
    if (postedQuit) pumpedQuit = postedQuit;
    postedQuit.reset();
  }
  bool LoadRichEdit() override {
    richEditLoaded = true;
    return true;
  }

  std::vector<ShownMessageBox> messageBoxes;
  std::optional<int> postedQuit;
  std::optional<int> pumpedQuit;
  bool richEditLoaded = false;
};

}  // namespace setup::platform::host
