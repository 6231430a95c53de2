// Runs the wizard frame on the real windowing system with three plain pages ("Welcome",
// "Middle" and the finish page "Finish"), each showing one line with its name (control id
// 3001). Packed by setuppack like the launcher template, it carries the launcher's resources
// and the product name of its packages. It takes the launcher's command line (user-interface
// level, log), prints "dialog=<result> kind=<result kind>" when the frame ends and exits with
// the result kind.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "packages/package_resources.h"
#include "packages/setup_package.h"
#include "platform/win32/win32_ports.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"
#include "run/run_context.h"
#include "wizard/wizard_dialog.h"

namespace {

using namespace setup;

class LinePage : public WizardPageBase {
 public:
  static constexpr int kLineId = 3001;
  LinePage(CWizardDialog& frame, std::wstring name) : WizardPageBase(frame, std::move(name)) {}

  void CreateControls(platform::WindowHandle parent, int width, int) override {
    platform::ControlSpec spec;
    spec.kind = platform::ControlKind::StaticText;
    spec.id = kLineId;
    spec.rect = {0, 0, width, 40};
    line_ = gui_.CreateControl(parent, spec, nullptr);
    gui_.SetFont(line_, frame_.Font(DialogFont::Tahoma9Bold), false);
  }
  void UpdateTexts() override { gui_.SetText(line_, L"Page " + Name()); }

 private:
  platform::WindowHandle line_ = 0;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::unique_ptr<platform::Platform> platform = platform::win32::CreatePlatform();
  CSetupAppCommandLineInfo commandLine;
  commandLine.ParseArguments(std::vector<std::wstring>(argv + 1, argv + argc));
  SetupLog log(*platform->files, *platform->installer);
  log.Open(commandLine.LogPath(), commandLine.LogMode(), commandLine.LogAttributes());
  SetupResult result;
  LanguageCatalog languages(*platform->resources);
  languages.SelectByName(L"English");
  PackageList packages;
  const PackageResources packageResources(*platform->resources, languages);
  const std::wstring caption = languages.FormatText(IDS_WIZARD_TITLE, packageResources.ReadText(L"PRODUCT_NAME_0"));
  const RunContext run{*platform, log, result, languages, commandLine, packages, packageResources, caption,
                       platform::IsSixtyFourBitArchitecture(platform->system->NativeProcessorArchitecture())};

  const std::vector<ProductRecord> noQuickInstall;
  CWizardDialog frame(run, caption, noQuickInstall, [&] {
    log.WriteLog(log_lines::kError, DescribeResult(result, *platform->system));
    result.reported = true;
  });
  frame.AddPage(std::make_unique<LinePage>(frame, L"Welcome"));
  frame.AddPage(std::make_unique<LinePage>(frame, L"Middle"));
  frame.AddFinishPage(std::make_unique<LinePage>(frame, L"Finish"));
  const int dialogResult = frame.DoModal();
  std::printf("dialog=%d kind=%d\n", dialogResult, static_cast<int>(result.kind));
  std::fflush(stdout);
  return result.kind;
}
