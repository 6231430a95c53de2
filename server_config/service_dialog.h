// The base of the service page's small modal dialogs: the dialog's controls by id, its texts
// from the string table, and its controls drawn on white.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/gui.h"
#include "run/language_catalog.h"

namespace setup {

class ServiceDialog : public platform::DialogEvents {
 public:
  ServiceDialog(platform::Gui& gui, const LanguageCatalog& languages);
  ~ServiceDialog() override;
  ServiceDialog(const ServiceDialog&) = delete;
  ServiceDialog& operator=(const ServiceDialog&) = delete;

  // Runs the dialog modally; its end result, -1 when the dialog could not be made.
  int DoModal(std::uint32_t templateId);

  void OnInitDialog(platform::WindowHandle dialog) override;
  std::optional<platform::ControlColours> OnControlColour(platform::WindowHandle control) override;
  // OK ends the dialog after Accept; Cancel ends it without.
  void OnCommand(platform::WindowHandle window, int controlId, std::uint16_t notification) override;

 protected:
  // The dialog's own initialisation and the OK that stores its values.
  virtual void Initialise() = 0;
  virtual void Accept() = 0;
  // A control other than OK and Cancel was pressed.
  virtual void OnControl(int controlId) { (void)controlId; }

  platform::WindowHandle Item(int controlId) const { return gui_.DialogItem(dialog_, controlId); }
  void SetItemText(int controlId, std::wstring_view text) { gui_.SetText(Item(controlId), text); }
  void SetItemTextId(int controlId, std::uint32_t textId) { SetItemText(controlId, languages_.Text(textId)); }
  void ShowItem(int controlId, bool shown) { gui_.Show(Item(controlId), shown); }
  void EnableItem(int controlId, bool enabled) { gui_.Enable(Item(controlId), enabled); }

  platform::Gui& gui_;
  const LanguageCatalog& languages_;
  platform::WindowHandle dialog_ = 0;

 private:
  platform::BrushHandle whiteBrush_ = 0;
};

}  // namespace setup
