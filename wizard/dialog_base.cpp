#include "wizard/dialog_base.h"

#include "resources/resource_ids.h"

namespace setup {

namespace {

struct FontSpec {
  const wchar_t* face;
  int points;
  int weight;
};

// In the order of DialogFont.
constexpr FontSpec kFonts[] = {
    {L"Tahoma", 9, 700}, {L"Tahoma", 8, 700}, {L"Tahoma", 9, 400}, {L"Tahoma", 8, 400}, {L"Arial", 7, 400},
};

}  // namespace

CDialogBase::CDialogBase(const RunContext& run, bool drawBackground)
    : run_(run), gui_(*run.platform.gui), drawBackground_(drawBackground) {}

CDialogBase::~CDialogBase() {
  for (const platform::FontHandle font : fonts_) {
    if (font != 0) gui_.DestroyFont(font);
  }
  if (background_ != 0) gui_.DestroyBitmap(background_);
}

int CDialogBase::DoModal(std::uint32_t templateId) {
  const int result = gui_.RunModalDialog(templateId, *this);
  dialog_ = 0;
  return result;
}

void CDialogBase::OnInitDialog(platform::WindowHandle dialog) {
  dialog_ = dialog;
  if (background_ == 0) background_ = gui_.LoadBitmapResource(std::uint32_t{IDB_WIZARD_BACKGROUND});
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    if (fonts_[i] == 0) fonts_[i] = gui_.MakeFont(dialog, kFonts[i].face, kFonts[i].points, kFonts[i].weight);
  }
}

void CDialogBase::OnEraseBackground(platform::WindowHandle window, platform::Canvas& canvas) {
  if (!drawBackground_ || background_ == 0) return;
  const platform::WindowHandle separator = gui_.DialogItem(window, IDC_FRAME_SEPARATOR);
  if (separator == 0) return;
  const platform::Rect line = gui_.ScreenToClient(window, gui_.WindowRect(separator));
  canvas.StretchBitmap(background_, {0, 0, gui_.ClientSize(window).width, line.y});
}

}  // namespace setup
