// The finish page: tells the outcome of the run (installed, modified, repaired, removed, or
// interrupted) and, after a successful installation of certain server products, offers to
// start the catalog and schema tools when the wizard ends, when they lie where only
// administrators may change them.
#pragma once

#include <cstdint>
#include <vector>

#include "packages/product_record.h"
#include "run/log_line.h"
#include "wizard/wizard_page_base.h"

namespace setup {

class FinishWizardPage : public WizardPageBase {
 public:
  // `quickInstall` is the run's quick-install list; a setup of several packages empties it so
  // that the page waits for the user.
  FinishWizardPage(CWizardDialog& frame, std::vector<ProductRecord>& quickInstall);

  void Activate() override;
  bool OnNext() override;
  bool OnCancel() override { return true; }
  void OnShow() override;
  void CreateControls(platform::WindowHandle parent, int width, int height) override;
  void UpdateTexts() override;

 private:
  // Runs the tool from the shared folder when it may be trusted and waits for it to end.
  void StartTool(std::wstring_view executable);
  // The tool's path in the shared folder; empty when the common application-data folder is
  // not known.
  std::wstring ToolPath(std::wstring_view executable) const;
  // The tool is there and lies where only administrators may change it; otherwise the refusal
  // is logged with the reason.
  bool ToolIsTrusted(std::wstring_view executable,
                     const LogLine<std::wstring_view, std::wstring_view>& refusal) const;

  std::vector<ProductRecord>& quickInstall_;
  platform::WindowHandle picture_ = 0;
  platform::WindowHandle title_ = 0;
  platform::WindowHandle main_ = 0;
  platform::WindowHandle secondary_ = 0;
  platform::WindowHandle bottom_ = 0;
  platform::WindowHandle catalogTool_ = 0;
  platform::WindowHandle schemaTool_ = 0;
  bool offerCatalogTool_ = false;
  bool offerSchemaTool_ = false;
};

// The finish page's texts for an outcome: title, main text (with "%s" for the product) and
// secondary text (0 for none).
struct FinishTexts {
  std::uint32_t title;
  std::uint32_t main;
  std::uint32_t secondary;
};
enum class FinishRun { Install, Modify, Repair, Removal };
FinishTexts FinishTextsFor(FinishRun run, bool succeeded);

}  // namespace setup
