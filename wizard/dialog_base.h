// The program's own dialog base: paints the background picture above the separator line and
// owns the five fonts the wizard's pages share.
#pragma once

#include <array>
#include <cstddef>

#include "platform/gui.h"
#include "run/run_context.h"

namespace setup {

enum class DialogFont : std::size_t { Tahoma9Bold, Tahoma8Bold, Tahoma9, Tahoma8, Arial7 };

class CDialogBase : public platform::DialogEvents {
 public:
  CDialogBase(const RunContext& run, bool drawBackground);
  ~CDialogBase() override;
  CDialogBase(const CDialogBase&) = delete;
  CDialogBase& operator=(const CDialogBase&) = delete;

  // Runs the dialog of `templateId` modally; its end result.
  int DoModal(std::uint32_t templateId);
  platform::WindowHandle Window() const { return dialog_; }
  platform::FontHandle Font(DialogFont font) const { return fonts_[static_cast<std::size_t>(font)]; }
  platform::Gui& Gui() const { return gui_; }

  // Loads the background picture and creates the fonts not made yet.
  void OnInitDialog(platform::WindowHandle dialog) override;
  // After the system's erase: the background picture stretched over the client area down to
  // the separator line.
  void OnEraseBackground(platform::WindowHandle window, platform::Canvas& canvas) override;

 protected:
  const RunContext& run_;
  platform::Gui& gui_;

 private:
  bool drawBackground_;
  platform::WindowHandle dialog_ = 0;
  platform::BitmapHandle background_ = 0;
  std::array<platform::FontHandle, 5> fonts_{};
};

}  // namespace setup
