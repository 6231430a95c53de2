// The wizard frame: one modal dialog that owns the ordered page list, the common chrome
// (background, Back / Next / Cancel, language chooser, title, icon) and the moves between
// pages. A page is asked before every move; an unreported failure sends the wizard to the
// finish page on the next move; a run that does not wait for the user walks every page by
// itself with the frame hidden.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "packages/product_record.h"
#include "run/run_context.h"
#include "wizard/dialog_base.h"
#include "wizard/wizard_page_base.h"

namespace setup {

inline constexpr platform::Colour kWhite = platform::Rgb(255, 255, 255);

class CWizardDialog : public CDialogBase {
 public:
  static constexpr std::size_t kMaxPages = 11;

  // `quickInstall` is the launcher's quick-install list (a non-empty list makes the wizard
  // walk by itself); `reportPendingError` logs and tells an unreported failure once.
  CWizardDialog(const RunContext& run, std::wstring title, const std::vector<ProductRecord>& quickInstall,
                std::function<void()> reportPendingError);
  ~CWizardDialog() override;

  // The page list, built before the dialog runs. An empty entry ends the dialog when Next
  // reaches it; the finish page is where errors and cancels jump to. False when the list is
  // full.
  bool AddPage(std::unique_ptr<WizardPageBase> page);
  bool AddEmptyEntry();
  bool AddFinishPage(std::unique_ptr<WizardPageBase> page);

  // Runs the frame modally; the run's outcome is in the result record, not in this value.
  int DoModal();

  // The buttons: Next, Back, Cancel (also Escape).
  void GoNext();
  void GoBack();
  void GoCancel();

  bool HasNextPage() const;
  // The run waits for the user: the full user interface and no quick install.
  bool IsAttended() const;
  // A quick install was chosen: the wizard walks by itself.
  bool IsQuickInstall() const { return !quickInstall_.empty(); }
  bool IsFreshInstall() const;
  bool IsMaintenance() const;
  bool IsRepair() const;
  bool IsRemoval() const;
  // The setup carries the mobile server (its backup page) or the workflow server's advanced
  // edition (its cluster page).
  bool HasBackupPage() const { return backupPage_; }
  bool HasClusterPage() const { return clusterPage_; }
  // A package carries a server that runs as a service (its service configuration page).
  bool HasServicePage() const { return servicePage_; }
  // Records an installer result as the pending error (0 changes nothing).
  void RecordInstallerError(std::uint32_t installerCode);

  const RunContext& Run() const { return run_; }
  platform::BrushHandle WhiteBrush() const { return whiteBrush_; }
  platform::WindowHandle FrameControl(int controlId) const { return gui_.DialogItem(Window(), controlId); }
  int CurrentIndex() const { return current_; }
  // Title, button labels and the language list in the current language, then the current
  // page's own texts.
  void RefreshFrameTexts();

  // Installer properties that pages leave for the install sequence.
  std::wstring backupProperties;
  std::wstring serviceProperties;
  std::wstring clusterProperties;

  void OnInitDialog(platform::WindowHandle dialog) override;
  void OnCommand(platform::WindowHandle window, int controlId, std::uint16_t notification) override;

 private:
  WizardPageBase* Entry(int index) const;
  // Reports an unreported failure; true when there was one.
  bool ReportPendingError();
  void OnLanguageChanged();

  std::wstring title_;
  const std::vector<ProductRecord>& quickInstall_;
  std::function<void()> reportPendingError_;
  std::vector<std::unique_ptr<WizardPageBase>> pages_;
  int current_ = 0;
  int finishIndex_ = -1;
  bool attended_;
  bool mainProductInstalled_;
  bool backupPage_ = false;
  bool clusterPage_ = false;
  bool servicePage_ = false;
  platform::BrushHandle whiteBrush_ = 0;
  platform::IconHandle icon_ = 0;
};

}  // namespace setup
