// The sub-packages page of a setup with more than two packages: one check box per
// sub-package (five at most; the main and the Wendrak packages get none), each with the
// conflict it would cause. Ticking a conflicting sub-package accepts the removal of the
// installed product in its way, which Next carries out.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include "packages/analysis_context.h"
#include "packages/product_record.h"
#include "packages/setup_package.h"
#include "wizard/layout/warning_static_text.h"
#include "wizard/wizard_page_base.h"

namespace setup {

class SubPackagesWizardPage : public WizardPageBase {
 public:
  static constexpr std::size_t kMaxRows = 5;

  explicit SubPackagesWizardPage(CWizardDialog& frame);

  void CreateControls(platform::WindowHandle parent, int width, int height) override;
  void OnShow() override;
  void UpdateTexts() override;
  bool OnNext() override;
  bool OnBack() override;
  void OnCommand(platform::WindowHandle window, int controlId, std::uint16_t notification) override;

  // What a row tells under its check box.
  enum class RowNote { None, AlreadyInstalled, Conflict };
  struct Row {
    SetupPackage* package = nullptr;
    platform::WindowHandle checkBox = 0;
    RowNote note = RowNote::None;
    std::unique_ptr<WarningStaticText> conflict;
    std::unique_ptr<WarningStaticText> replacement;
    // The installed product whose removal a tick accepts.
    std::optional<ProductRecord> installed;
  };
  const std::array<Row, kMaxRows>& Rows() const { return rows_; }

 private:
  AnalysisContext Analysis() const;
  // Makes the row's two texts at `top`.
  void MakeNotes(Row& row, platform::WindowHandle parent, int top, int width, platform::Colour replacementColour);
  // The texts of a row with a note, in the current language.
  void SetNoteTexts(Row& row);
  // A ticked row shows what replaces the conflict, an unticked one the conflict.
  void UpdateVisibility();
  void TransferCheckStates();

  std::array<Row, kMaxRows> rows_;
  platform::WindowHandle header_ = 0;
  platform::WindowHandle description_ = 0;
};

}  // namespace setup
