// The system-integrity page: runs the conflict analysis of the main package before anything
// is unpacked. Conflicts that block the installation stop the run here; installed products
// that the launcher may remove by itself are listed, and "Remove" takes them away before the
// wizard goes on.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "packages/conflict_item.h"
#include "packages/product_record.h"
#include "wizard/layout/containers.h"
#include "wizard/layout/widgets.h"
#include "wizard/wizard_page_base.h"

namespace setup {

class SystemIntegrityWizardPage : public WizardPageBase {
 public:
  explicit SystemIntegrityWizardPage(CWizardDialog& frame);

  void Activate() override;
  void CreateControls(platform::WindowHandle parent, int width, int height) override;
  void OnShow() override;
  void UpdateTexts() override;
  // Removes the listed products; a blocked run that walks by itself ends here as cancelled.
  bool OnNext() override;

  const std::vector<ProductRecord>& RemovalList() const { return removals_; }

 private:
  // What the check found on this activation.
  enum class Finding { Skipped, Blocking, Removable };

  void ShowBlocking(const ConflictAnalysis& analysis);
  void ShowRemovable(const ConflictAnalysis& analysis);

  Finding finding_ = Finding::Skipped;
  std::vector<ProductRecord> removals_;

  std::unique_ptr<ICBSVerticalLayout> root_;
  ICBSImageWidget* picture_ = nullptr;
  ICBSTextWidget* title_ = nullptr;
  ICBSStackLayout* stack_ = nullptr;
  ICBSLayout* abortChild_ = nullptr;
  ICBSTextWidget* conflictList_ = nullptr;
  ICBSTextWidget* conclusion_ = nullptr;
  ICBSLayout* removalChild_ = nullptr;
  ICBSTextWidget* conflictText_ = nullptr;
  ICBSTextWidget* productList_ = nullptr;
  ICBSTextWidget* instruction_ = nullptr;
};

// The "\n    name" lines of the products to remove: the first four, then "\n    ..." when
// there are more.
std::wstring RemovalProductLines(const std::vector<ProductRecord>& products);

}  // namespace setup
