#include "wizard/sub_packages_wizard_page.h"

#include <vector>

#include "install/conflict_removal.h"
#include "packages/conflict_analysis.h"
#include "packages/detection_context.h"
#include "packages/package_installation_state.h"
#include "packages/package_queries.h"
#include "packages/package_selection.h"
#include "resources/resource_ids.h"
#include "wizard/wizard_dialog.h"

namespace setup {

namespace {

platform::Rect Between(int left, int top, int right, int bottom) { return {left, top, right - left, bottom - top}; }

}  // namespace

SubPackagesWizardPage::SubPackagesWizardPage(CWizardDialog& frame) : WizardPageBase(frame, L"IncludedSubPackages") {}

AnalysisContext SubPackagesWizardPage::Analysis() const {
  const RunContext& run = frame_.Run();
  return {Detection(run), run.packages, languages_};
}

void SubPackagesWizardPage::CreateControls(platform::WindowHandle parent, int width, int) {
  const RunContext& run = frame_.Run();
  const AnalysisContext analysis = Analysis();
  // The more conflicts there are to tell, the closer together everything sits.
  int conflicting = 0;
  for (const SetupPackage& package : run.packages.packages) {
    if (!AnalyzeConflicts(analysis, package).items.empty()) ++conflicting;
  }
  const int top = conflicting == 0 ? 20 : conflicting <= 2 ? 10 : 3;

  const auto make = [&](platform::ControlKind kind, int id, std::wstring_view text, const platform::Rect& rect,
                        DialogFont font) {
    platform::ControlSpec spec;
    spec.kind = kind;
    spec.id = id;
    spec.text = text;
    spec.rect = rect;
    const platform::WindowHandle control = gui_.CreateControl(parent, spec, nullptr);
    gui_.SetFont(control, frame_.Font(font), false);
    return control;
  };
  header_ = make(platform::ControlKind::StaticText, platform::kIdStatic, L"", Between(0, top, width, top + 19),
                 DialogFont::Tahoma9Bold);
  description_ = make(platform::ControlKind::StaticText, platform::kIdStatic, L"",
                      Between(0, top + 24, width, top + 81),
                      DialogFont::Tahoma9);

  int y = conflicting <= 1 ? top + 76 : top + 57;
  // The translated removal description needs one more line.
  if (frame_.IsRemoval() && languages_.CurrentLangId() != kLangEnglish) y += 19;

  const bool analyse = frame_.IsFreshInstall() || frame_.IsMaintenance();
  const std::wstring& subPackages = run.commandLine.SubPackages();
  std::size_t index = 0;
  for (SetupPackage& package : run.packages.packages) {
    if (index == kMaxRows) break;
    if (package.main || IsWendrakPackage(package)) continue;
    Row& row = rows_[index];
    row.package = &package;
    row.checkBox = make(platform::ControlKind::CheckBox, IDC_SUB_PACKAGE_FIRST + static_cast<int>(index),
                        package.productName, Between(18, y, width, y + 19), DialogFont::Tahoma9);
    ++index;
    y += 16;
    if (analyse) {
      const ConflictAnalysis conflicts = AnalyzeConflicts(analysis, package);
      const bool installed = IsPackageInstalled(analysis.detection, package);
      if (installed && frame_.IsFreshInstall()) {
        row.note = RowNote::AlreadyInstalled;
        if (!conflicts.items.empty()) row.installed = conflicts.items.front().installedProduct;
        MakeNotes(row, parent, y, width, kWarningTextRed);
        gui_.Show(row.replacement->Window(), false);
        y += conflicting < 3 ? 16 : 14;
        package.handle = false;
        gui_.Enable(row.checkBox, false);
      } else if (!installed && !conflicts.items.empty()) {
        row.note = RowNote::Conflict;
        row.installed = conflicts.items.front().installedProduct;
        MakeNotes(row, parent, y, width, kWarningTextGreen);
        y += conflicting < 3 ? 32 : 28;
        if (!SelectedByCommandLine(package, subPackages)) package.handle = false;
      }
      if (row.note != RowNote::None) SetNoteTexts(row);
    }
    y += 5;
    gui_.SetChecked(row.checkBox, package.handle);
  }
  UpdateVisibility();
}

void SubPackagesWizardPage::MakeNotes(Row& row, platform::WindowHandle parent, int top, int width,
                                      platform::Colour replacementColour) {
  platform::ControlSpec spec;
  spec.kind = platform::ControlKind::StaticText;
  spec.id = platform::kIdStatic;
  spec.rect = Between(35, top, width - 17, top + 38);
  row.conflict = std::make_unique<WarningStaticText>(gui_, kWarningTextRed);
  row.replacement = std::make_unique<WarningStaticText>(gui_, replacementColour);
  for (const auto& note : {row.conflict.get(), row.replacement.get()}) {
    gui_.SetFont(note->Create(parent, spec), frame_.Font(DialogFont::Tahoma8), false);
  }
}

void SubPackagesWizardPage::SetNoteTexts(Row& row) {
  if (row.note == RowNote::AlreadyInstalled) {
    const std::wstring text = languages_.Text(IDS_SUB_PACKAGE_ALREADY_INSTALLED);
    gui_.SetText(row.conflict->Window(), text);
    gui_.SetText(row.replacement->Window(), text);
    return;
  }
  // The conflict message is read again in the current language.
  const ConflictAnalysis conflicts = AnalyzeConflicts(Analysis(), *row.package);
  if (!conflicts.items.empty()) gui_.SetText(row.conflict->Window(), conflicts.items.front().message);
  const std::wstring name = row.installed ? row.installed->DisplayName() : std::wstring();
  gui_.SetText(row.replacement->Window(), languages_.FormatText(IDS_SUB_PACKAGE_REPLACED, name));
}

void SubPackagesWizardPage::UpdateTexts() {
  gui_.SetText(header_, languages_.Text(IDS_SUB_PACKAGES_HEADER));
  const std::uint32_t description = frame_.IsRepair()        ? IDS_SUB_PACKAGES_REPAIR
                                    : frame_.IsRemoval()     ? IDS_SUB_PACKAGES_REMOVAL
                                    : frame_.IsMaintenance() ? IDS_SUB_PACKAGES_MAINTENANCE
                                                             : IDS_SUB_PACKAGES_INSTALL;
  gui_.SetText(description_, languages_.Text(description));
  for (Row& row : rows_) {
    if (row.package && row.note != RowNote::None) SetNoteTexts(row);
  }
  UpdateVisibility();
}

void SubPackagesWizardPage::UpdateVisibility() {
  for (const Row& row : rows_) {
    if (!row.package || row.note == RowNote::None) continue;
    const bool ticked = gui_.IsChecked(row.checkBox);
    gui_.Show(row.conflict->Window(), !ticked);
    gui_.Show(row.replacement->Window(), ticked);
  }
}

void SubPackagesWizardPage::OnCommand(platform::WindowHandle, int controlId, std::uint16_t notification) {
  const int first = IDC_SUB_PACKAGE_FIRST;
  const bool rowBox = controlId >= first && controlId < first + static_cast<int>(kMaxRows);
  if (notification == platform::kNotifyClicked && rowBox) {
    UpdateVisibility();
  }
}

void SubPackagesWizardPage::OnShow() {
  const DetectionContext detection = Detection(frame_.Run());
  for (const Row& row : rows_) {
    if (!row.package) continue;
    if (frame_.IsRemoval()) {
      // Only what is installed can be removed with the product.
      if (!IsPackageInstalled(detection, *row.package)) gui_.Enable(row.checkBox, false);
    } else {
      gui_.SetChecked(row.checkBox, row.package->handle);
    }
  }
  if (rows_.front().package) gui_.PostFocusControl(frame_.Window(), rows_.front().checkBox);
  if (frame_.IsAttended()) gui_.Show(Window(), true);
}

void SubPackagesWizardPage::TransferCheckStates() {
  std::vector<SubPackageCheckBox> states;
  for (const Row& row : rows_) {
    if (row.package) states.push_back({row.package, gui_.IsChecked(row.checkBox)});
  }
  TransferCheckBoxStates(states);
}

bool SubPackagesWizardPage::OnBack() {
  TransferCheckStates();
  return true;
}

bool SubPackagesWizardPage::OnNext() {
  TransferCheckStates();
  const RunContext& run = frame_.Run();
  const auto enableFrame = [&](bool enabled) {
    for (const int id : {platform::kIdOk, platform::kIdCancel, IDC_BACK}) gui_.Enable(frame_.FrameControl(id), enabled);
    gui_.Enable(frame_.Window(), enabled);
  };
  for (Row& row : rows_) {
    if (!row.package || !row.installed || !gui_.IsChecked(row.checkBox)) continue;
    enableFrame(false);
    if (!RemoveConflictingInstallation(run, *row.installed)) {
      // The removal's failure is the pending error: the frame reports it and shows the
      // finish page.
      gui_.Enable(frame_.Window(), true);
      Deactivate();
      return false;
    }
  }
  enableFrame(true);
  return true;
}

}  // namespace setup
