#include "wizard/finish_wizard_page.h"

#include <initializer_list>

#include "foundation/text.h"
#include "packages/detection_context.h"
#include "packages/package_folder_trust.h"
#include "packages/package_installation_state.h"
#include "packages/setup_package.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"
#include "wizard/wizard_dialog.h"

namespace setup {

namespace {

constexpr int kPictureSize = 48;
constexpr std::wstring_view kCatalogTool = L"CatalogKeeperFrontend.exe";
constexpr std::wstring_view kSchemaTool = L"SchemaKeeperFrontend.exe";

bool ContainsAny(const std::wstring& name, std::initializer_list<const wchar_t*> parts) {
  for (const wchar_t* part : parts) {
    if (name.find(part) != std::wstring::npos) return true;
  }
  return false;
}

}  // namespace

FinishTexts FinishTextsFor(FinishRun run, bool succeeded) {
  // One row per kind of run: the main text on success and on failure, and the secondary text
  // of a failure.
  struct Row {
    FinishRun run;
    std::uint32_t success;
    std::uint32_t failure;
    std::uint32_t failureHint;
  };
  static constexpr Row kRows[] = {
      {FinishRun::Repair, IDS_FINISH_REPAIRED, IDS_FINISH_REPAIR_INTERRUPTED, 0},
      {FinishRun::Removal, IDS_FINISH_UNINSTALLED, IDS_FINISH_UNINSTALL_INTERRUPTED, IDS_FINISH_SYSTEM_NOT_MODIFIED},
      {FinishRun::Modify, IDS_FINISH_MODIFIED, IDS_FINISH_MODIFY_INTERRUPTED, 0},
      {FinishRun::Install, IDS_FINISH_INSTALLED, IDS_FINISH_INSTALL_INTERRUPTED, IDS_FINISH_INSTALL_LATER},
  };
  for (const Row& row : kRows) {
    if (row.run != run) continue;
    if (succeeded) return {IDS_FINISH_TITLE_COMPLETED, row.success, 0};
    return {IDS_FINISH_TITLE_ABORTED, row.failure, row.failureHint};
  }
  return {IDS_FINISH_TITLE_ABORTED, IDS_FINISH_INSTALL_INTERRUPTED, IDS_FINISH_INSTALL_LATER};
}

FinishWizardPage::FinishWizardPage(CWizardDialog& frame, std::vector<ProductRecord>& quickInstall)
    : WizardPageBase(frame, L"Finish"), quickInstall_(quickInstall) {}

void FinishWizardPage::CreateControls(platform::WindowHandle parent, int width, int height) {
  const auto make = [&](platform::ControlKind kind, int id, int left, int top, int right, int bottom, bool visible) {
    platform::ControlSpec spec;
    spec.kind = kind;
    spec.id = id;
    spec.rect = {left, top, right - left, bottom - top};
    spec.visible = visible;
    const platform::WindowHandle control = gui_.CreateControl(parent, spec, nullptr);
    gui_.SetFont(control, frame_.Font(DialogFont::Tahoma9), false);
    return control;
  };
  using enum platform::ControlKind;
  picture_ = make(StaticIcon, platform::kIdStatic, 0, 10, kPictureSize, 10 + kPictureSize, true);
  gui_.SetIconImage(picture_, gui_.LoadSizedIcon(std::wstring_view(L"IDB_PRODUCT_IMAGE"), kPictureSize));
  title_ = make(StaticText, platform::kIdStatic, 63, 13, width, 33, true);
  gui_.SetFont(title_, frame_.Font(DialogFont::Tahoma9Bold), false);
  main_ = make(StaticText, platform::kIdStatic, 63, 33, width, 73, true);
  secondary_ = make(StaticText, platform::kIdStatic, 0, 73, width, 133, true);
  catalogTool_ = make(CheckBox, IDC_FINISH_CATALOG_TOOL, 75, height - 80, width, height - 60, false);
  schemaTool_ = make(CheckBox, IDC_FINISH_SCHEMA_TOOL, 75, height - 60, width, height - 40, false);
  bottom_ = make(StaticText, platform::kIdStatic, 0, height - 20, width, height, true);
}

void FinishWizardPage::Activate() {
  const RunContext& run = frame_.Run();
  if (run.packages.packages.size() >= 2) quickInstall_.clear();
  offerCatalogTool_ = false;
  offerSchemaTool_ = false;
  const DetectionContext detection = Detection(run);
  for (const SetupPackage& package : run.packages.packages) {
    if (!IsPackageInstalled(detection, package)) continue;
    const std::wstring& name = package.productName;
    offerCatalogTool_ |= ContainsAny(name, {L"Trandel Server", L"Paloric Server", L"Yarrick+XBRL Server"});
    offerSchemaTool_ |= ContainsAny(name, {L"Paloric Server", L"Yarrick Server", L"Yarrick+XBRL Server"});
  }
  // The tools run with the launcher's administrator rights: a tool is offered only where no
  // other user can have put it or changed it.
  if (offerCatalogTool_) offerCatalogTool_ = ToolIsTrusted(kCatalogTool, log_lines::kToolNotOffered);
  if (offerSchemaTool_) offerSchemaTool_ = ToolIsTrusted(kSchemaTool, log_lines::kToolNotOffered);
  WizardPageBase::Activate();
}

void FinishWizardPage::OnShow() {
  gui_.Enable(frame_.FrameControl(IDC_BACK), false);
  FocusFrameControl(platform::kIdOk);
  gui_.Show(Window(), true);
}

void FinishWizardPage::UpdateTexts() {
  const RunContext& run = frame_.Run();
  const bool succeeded = run.result.kind == kResultSuccess;
  gui_.SetText(frame_.FrameControl(platform::kIdOk), languages_.Text(IDS_FINISH));
  gui_.Enable(frame_.FrameControl(platform::kIdCancel), false);

  const bool offerTools = succeeded && !frame_.IsRemoval();
  gui_.Show(catalogTool_, offerTools && offerCatalogTool_);
  gui_.Show(schemaTool_, offerTools && offerSchemaTool_);
  gui_.SetText(catalogTool_, languages_.Text(IDS_FINISH_INVOKE_CATALOG_TOOL));
  gui_.SetText(schemaTool_, languages_.Text(IDS_FINISH_INVOKE_SCHEMA_TOOL));

  const FinishRun kind = frame_.IsRepair()        ? FinishRun::Repair
                         : frame_.IsRemoval()     ? FinishRun::Removal
                         : frame_.IsMaintenance() ? FinishRun::Modify
                                                  : FinishRun::Install;
  const FinishTexts texts = FinishTextsFor(kind, succeeded);
  const SetupPackage* main = run.packages.Main();
  const std::wstring product = main ? main->productName : std::wstring();
  gui_.SetText(title_, languages_.Text(texts.title));
  gui_.SetText(main_, languages_.FormatText(texts.main, product));
  gui_.SetText(secondary_, texts.secondary == 0 ? std::wstring() : languages_.Text(texts.secondary));
  gui_.SetText(bottom_, languages_.Text(IDS_FINISH_CLICK_FINISH));
}

bool FinishWizardPage::OnNext() {
  if (offerCatalogTool_ && gui_.IsChecked(catalogTool_)) StartTool(kCatalogTool);
  if (offerSchemaTool_ && gui_.IsChecked(schemaTool_)) StartTool(kSchemaTool);
  return true;
}

std::wstring FinishWizardPage::ToolPath(std::wstring_view executable) const {
  const std::wstring shared = frame_.Run().platform.files->KnownFolderPath(platform::KnownFolder::CommonAppData);
  if (shared.empty()) return {};
  return shared + L"\\Tarquel\\SharedBetweenVersions\\" + std::wstring(executable);
}

bool FinishWizardPage::ToolIsTrusted(std::wstring_view executable,
                                     const LogLine<std::wstring_view, std::wstring_view>& refusal) const {
  const RunContext& run = frame_.Run();
  const std::wstring path = ToolPath(executable);
  const std::wstring reason =
      path.empty() ? L"the common application-data folder is not known" : ProgramFileDistrust(run.platform, path);
  if (reason.empty()) return true;
  run.log.WriteLog(refusal, EscapeControlCharacters(path.empty() ? executable : path), reason);
  return false;
}

void FinishWizardPage::StartTool(std::wstring_view executable) {
  // Looked at again just before the start: the page may have waited long for the user.
  if (!ToolIsTrusted(executable, log_lines::kToolNotStarted)) return;
  platform::Platform& platform = frame_.Run().platform;
  const std::wstring path = ToolPath(executable);
  platform::ProcessStart start;
  start.commandLine = L"\"" + path + L"\"";
  if (platform::StartResult started = platform.processes->Start(start); started.process) {
    started.process->WaitFor(platform::kWaitForever);
  }
}

}  // namespace setup
