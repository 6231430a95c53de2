#include "server_config/cluster_configuration_wizard_page.h"

#include "packages/setup_package.h"
#include "resources/resource_ids.h"
#include "wizard/wizard_dialog.h"

namespace setup {

namespace {

// A control's place as its left, top, right and bottom edges in page pixels.
platform::Rect Edges(int left, int top, int right, int bottom) { return {left, top, right - left, bottom - top}; }

std::uint32_t InformationText(ClusterRole role) {
  switch (role) {
    case ClusterRole::Master: return IDS_CLUSTER_INFO_MASTER;
    case ClusterRole::Worker: return IDS_CLUSTER_INFO_WORKER;
    case ClusterRole::StandAlone: break;
  }
  return IDS_CLUSTER_INFO_STANDALONE;
}

}  // namespace

ClusterConfigurationWizardPage::ClusterConfigurationWizardPage(CWizardDialog& frame)
    : WizardPageBase(frame, L"ClusterConfiguration") {}

void ClusterConfigurationWizardPage::CreateControls(platform::WindowHandle parent, int width, int) {
  const int right = width - 10;
  const auto make = [&](platform::ControlKind kind, int id, const platform::Rect& rect, DialogFont font,
                        platform::TextAlignment alignment = platform::TextAlignment::Left, bool groupStart = false) {
    platform::ControlSpec spec;
    spec.kind = kind;
    spec.id = id;
    spec.rect = rect;
    spec.alignment = alignment;
    spec.groupStart = groupStart;
    const platform::WindowHandle control = gui_.CreateControl(parent, spec, nullptr);
    gui_.SetFont(control, frame_.Font(font), false);
    return control;
  };
  using platform::ControlKind;
  using platform::kIdStatic;
  title_ = make(ControlKind::StaticText, kIdStatic, Edges(10, 10, right, 26), DialogFont::Tahoma9Bold);
  description_ = make(ControlKind::StaticText, kIdStatic, Edges(10, 30, right, 62), DialogFont::Tahoma9);
  standAlone_ = make(ControlKind::RadioButton, IDC_CLUSTER_STANDALONE, Edges(10, 66, right, 82), DialogFont::Tahoma9,
                     platform::TextAlignment::Left, true);
  master_ = make(ControlKind::RadioButton, IDC_CLUSTER_MASTER, Edges(10, 86, 150, 102), DialogFont::Tahoma9);
  portLabel_ = make(ControlKind::StaticText, kIdStatic, Edges(160, 86, 280, 102), DialogFont::Tahoma9,
                    platform::TextAlignment::Right);
  port_ = make(ControlKind::NumberEdit, IDC_CLUSTER_PORT, Edges(290, 85, right, 104), DialogFont::Tahoma9);
  worker_ = make(ControlKind::RadioButton, IDC_CLUSTER_WORKER, Edges(10, 106, right, 122), DialogFont::Tahoma9);
  information_ = make(ControlKind::StaticText, kIdStatic, Edges(10, 130, right, 178), DialogFont::Tahoma8);

  current_ = ReadClusterSettings(frame_.Run().platform, frame_.Run().packages);
  initial_ = current_;
}

void ClusterConfigurationWizardPage::OnShow() {
  WizardPageBase::OnShow();
  ApplyClusterCommandLine(current_, frame_.Run().commandLine.Properties());
  UpdateTexts();
  FocusFrameControl(platform::kIdOk);
}

void ClusterConfigurationWizardPage::UpdateTexts() {
  gui_.SetText(title_, languages_.Text(IDS_CLUSTER_TITLE));
  gui_.SetText(description_, languages_.Text(IDS_CLUSTER_DESCRIPTION));
  gui_.SetText(standAlone_, languages_.Text(IDS_CLUSTER_STANDALONE));
  gui_.SetText(master_, languages_.Text(IDS_CLUSTER_MASTER));
  gui_.SetText(worker_, languages_.Text(IDS_CLUSTER_WORKER));
  gui_.SetText(portLabel_, languages_.Text(IDS_CLUSTER_PORT));
  const ClusterRole role = current_.role;
  gui_.SetChecked(standAlone_, role == ClusterRole::StandAlone);
  gui_.SetChecked(master_, role == ClusterRole::Master);
  gui_.SetChecked(worker_, role == ClusterRole::Worker);
  if (role == ClusterRole::Master) gui_.SetText(port_, current_.port);
  gui_.SetText(information_, languages_.Text(InformationText(role)));
  gui_.Show(portLabel_, role == ClusterRole::Master);
  gui_.Show(port_, role == ClusterRole::Master);
  gui_.Invalidate(Window(), true);
}

void ClusterConfigurationWizardPage::OnCommand(platform::WindowHandle, int controlId, std::uint16_t notification) {
  if (notification != platform::kNotifyClicked) return;
  switch (controlId) {
    case IDC_CLUSTER_STANDALONE: current_.role = ClusterRole::StandAlone; break;
    case IDC_CLUSTER_MASTER: current_.role = ClusterRole::Master; break;
    case IDC_CLUSTER_WORKER: current_.role = ClusterRole::Worker; break;
    default: return;
  }
  // The port typed so far stays when the role goes back to master.
  if (gui_.IsShown(port_)) current_.port = gui_.Text(port_);
  UpdateTexts();
}

bool ClusterConfigurationWizardPage::OnNext() {
  const std::wstring editPort = gui_.Text(port_);
  frame_.clusterProperties = ClusterProperties(current_, editPort, initial_.role);
  if (current_.role == ClusterRole::Master) current_.port = editPort;
  current_.masterActive = current_.role == ClusterRole::Master;
  return true;
}

}  // namespace setup
