// The first page of every wizard: the product's picture and name, what the run will do, and,
// on a fresh install over a previous installation that the package can upgrade with the same
// options, the quick-install offer on the frame's Back button.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "packages/product_record.h"
#include "wizard/layout/containers.h"
#include "wizard/layout/widgets.h"
#include "wizard/wizard_page_base.h"

namespace setup {

class SetupOptions;

class WelcomeWizardPage : public WizardPageBase {
 public:
  // `quickInstall` is the run's quick-install list, which a taken offer fills; `options`
  // (may be null) are bound to the installations a quick install upgrades;
  // `welcomeTextId` is the introduction chosen at start-up, with "%s" for the product name.
  WelcomeWizardPage(CWizardDialog& frame, std::vector<ProductRecord>& quickInstall, SetupOptions* options,
                    std::uint32_t welcomeTextId);

  void CreateControls(platform::WindowHandle parent, int width, int height) override;
  void OnShow() override;
  void UpdateTexts() override;
  // Next: the run goes on as a normal wizard run.
  bool OnNext() override;
  // The Back button, relabelled "Quick Install" while the offer stands: takes the offer and
  // walks the wizard to its end.
  bool OnBack() override;
  bool OnCancel() override;

 private:
  bool Offered() const { return !installedDisplayName_.empty(); }
  // The Back button 10 pixels wider to the left for the longer label, or back to its size.
  void WidenBackButton(bool wide);

  std::vector<ProductRecord>& quickInstall_;
  SetupOptions* options_;
  std::uint32_t welcomeTextId_;

  std::wstring installedDisplayName_;
  bool newMajorVersion_ = false;
  std::vector<ProductRecord> found_;
  bool backWidened_ = false;

  std::unique_ptr<ICBSVerticalLayout> root_;
  ICBSTextWidget* title_ = nullptr;
  ICBSTextWidget* productName_ = nullptr;
  ICBSStackLayout* stack_ = nullptr;
  ICBSTextWidget* intro_ = nullptr;
  ICBSLayout* upgrade_ = nullptr;
  ICBSTextWidget* foundText_ = nullptr;
  ICBSTextWidget* hint_ = nullptr;
  ICBSBoxLayout* footerBox_ = nullptr;
  ICBSTextWidget* footer_ = nullptr;
};

}  // namespace setup
