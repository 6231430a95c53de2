#include "wizard/welcome_wizard_page.h"

#include "options/setup_options.h"
#include "packages/detection_context.h"
#include "packages/quick_install_decision.h"
#include "packages/setup_package.h"
#include "resources/resource_ids.h"
#include "wizard/wizard_dialog.h"

namespace setup {

namespace {

// The page's picture, in pixels square.
constexpr int kPictureSize = 48;
// The Back button grows by this much to the left while it reads "Quick Install".
constexpr int kQuickInstallExtraWidth = 10;

}  // namespace

WelcomeWizardPage::WelcomeWizardPage(CWizardDialog& frame, std::vector<ProductRecord>& quickInstall,
                                     SetupOptions* options, std::uint32_t welcomeTextId)
    : WizardPageBase(frame, L"Welcome"),
      quickInstall_(quickInstall),
      options_(options),
      welcomeTextId_(welcomeTextId) {}

void WelcomeWizardPage::CreateControls(platform::WindowHandle parent, int, int) {
  const WidgetParent widgets{gui_, parent};
  const auto text = [&] { return std::make_unique<ICBSTextWidget>(widgets, L"", true, kAlignStart); };
  root_ = std::make_unique<ICBSVerticalLayout>();
  root_->spacing = 10;

  auto header = std::make_unique<ICBSHorizontalLayout>();
  header->spacing = 10;
  const platform::IconHandle product = gui_.LoadSizedIcon(std::wstring_view(L"IDB_PRODUCT_IMAGE"), kPictureSize);
  header->AddChild(std::make_unique<ICBSImageWidget>(widgets, product), kAlignStart, kAlignCentre);
  auto headerTexts = std::make_unique<ICBSVerticalLayout>();
  title_ = headerTexts->AddChild(text());
  productName_ = headerTexts->AddChild(text());
  productName_->SetFont(frame_.Font(DialogFont::Tahoma9Bold));
  header->AddChild(std::move(headerTexts), kAlignStart, kAlignCentre);
  root_->AddChild(std::move(header));

  auto stack = std::make_unique<ICBSStackLayout>();
  intro_ = stack->AddChild(text());
  auto upgrade = std::make_unique<ICBSVerticalLayout>();
  foundText_ = upgrade->AddChild(text());
  auto hintRow = std::make_unique<ICBSHorizontalLayout>();
  hintRow->spacing = 8;
  const platform::IconHandle hintIcon = gui_.LoadIconResource(std::uint32_t{IDI_QUICK_INSTALL_HINT});
  hintRow->AddChild(std::make_unique<ICBSImageWidget>(widgets, hintIcon), kAlignStart, kAlignCentre);
  hint_ = hintRow->AddChild(text(), kAlignStart, kAlignCentre);
  upgrade->AddChild(std::move(hintRow));
  upgrade_ = stack->AddChild(std::move(upgrade));
  // Widgets are made visible; the stack shows only the child it selects.
  upgrade_->Hide();
  stack->SelectChild(intro_);
  stack_ = root_->AddChild(std::move(stack));

  auto footer = text();
  footer_ = footer.get();
  footerBox_ = root_->AddChild(std::make_unique<ICBSBoxLayout>(std::move(footer), kAlignStart, kAlignEnd));
}

void WelcomeWizardPage::OnShow() {
  const RunContext& run = frame_.Run();
  gui_.Show(frame_.FrameControl(IDC_LANGUAGE), languages_.IsMultiLanguage() && frame_.IsFreshInstall());

  // Decided afresh on every activation: Back from a later page asks again.
  QuickInstallDecision decision =
      DecideQuickInstall(Detection(run), languages_, run.packages, run.commandLine.SubPackages(), run.log);
  // Only a fresh install can be upgraded in one go.
  const bool offered = decision.offer && frame_.IsFreshInstall();
  installedDisplayName_ = offered ? decision.installedDisplayName : std::wstring();
  newMajorVersion_ = decision.newMajorVersion;
  found_ = std::move(decision.installations);

  const platform::WindowHandle back = frame_.FrameControl(IDC_BACK);
  if (!Offered()) {
    gui_.Enable(back, false);
  } else {
    WidenBackButton(true);
    gui_.Enable(back, true);
    // The previous installation's language is the user's likely choice.
    if (languages_.IsMultiLanguage() && !found_.empty() && !found_.front().Language().empty()) {
      languages_.SelectByIsoCode(found_.front().Language());
    }
  }
  gui_.Enable(frame_.FrameControl(platform::kIdOk), true);
  FocusFrameControl(platform::kIdOk);
  gui_.Show(Window(), true);
}

void WelcomeWizardPage::UpdateTexts() {
  const SetupPackage* main = frame_.Run().packages.Main();
  const std::wstring productName = main ? main->productName : std::wstring();
  title_->SetText(languages_.Text(IDS_WELCOME_TITLE));
  productName_->SetText(productName);
  footer_->SetText(languages_.Text(IDS_WELCOME_LEGAL_WARNING));

  if (frame_.IsRepair()) {
    intro_->SetText(languages_.Text(IDS_WELCOME_REPAIR));
  } else if (frame_.IsRemoval()) {
    intro_->SetText(languages_.Text(IDS_WELCOME_REMOVAL));
  } else if (frame_.IsMaintenance()) {
    intro_->SetText(languages_.Text(IDS_WELCOME_MAINTENANCE));
  } else if (!Offered()) {
    intro_->SetText(languages_.FormatText(welcomeTextId_, productName));
    stack_->SelectChild(intro_);
  } else {
    title_->SetText(languages_.Text(IDS_WELCOME_UPGRADING_TITLE));
    // The mobile server keeps its settings across major versions: it is always a replacement.
    const bool newMajor = newMajorVersion_ && !(main && main->productId.starts_with(L"PS::"));
    const std::uint32_t foundId = newMajor ? IDS_WELCOME_FOUND_NEW_MAJOR : IDS_WELCOME_FOUND_REPLACE;
    foundText_->SetText(languages_.FormatText(foundId, installedDisplayName_));
    hint_->SetText(languages_.Text(IDS_WELCOME_QUICK_INSTALL_HINT));
    stack_->SelectChild(upgrade_);
    const platform::WindowHandle back = frame_.FrameControl(IDC_BACK);
    gui_.SetText(back, languages_.Text(IDS_QUICK_INSTALL));
    gui_.Enable(back, true);
  }

  const platform::Size client = gui_.ClientSize(Window());
  const platform::Rect page{0, 0, client.width, client.height};
  root_->SetGeometry(page);
  // The footer sits at the bottom of the whole page, whatever the texts above it need.
  footerBox_->SetGeometry(page);
}

bool WelcomeWizardPage::OnNext() {
  WidenBackButton(false);
  return true;
}

bool WelcomeWizardPage::OnBack() {
  if (Offered()) {
    if (options_) options_->Bind(found_);
    quickInstall_ = found_;
  }
  WidenBackButton(false);
  // With the quick-install list filled, every following page passes by itself.
  frame_.GoNext();
  return false;
}

bool WelcomeWizardPage::OnCancel() {
  // The finish page must not inherit the wide button.
  WidenBackButton(false);
  return WizardPageBase::OnCancel();
}

void WelcomeWizardPage::WidenBackButton(bool wide) {
  if (wide == backWidened_) return;
  backWidened_ = wide;
  const platform::WindowHandle back = frame_.FrameControl(IDC_BACK);
  const platform::Rect placed = gui_.ScreenToClient(frame_.Window(), gui_.WindowRect(back));
  const int grow = wide ? kQuickInstallExtraWidth : -kQuickInstallExtraWidth;
  gui_.Place(back, {placed.x - grow, placed.y, placed.width + grow, placed.height}, false);
  if (!wide) gui_.SetText(back, languages_.Text(IDS_BACK));
}

}  // namespace setup
