// The general pages in a frame on the host GUI: packages and installed products arranged by
// the test, and what a page shows read back from its window.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "packages/package_product_records.h"
#include "packages/product_key_paths.h"
#include "wizard/wizard_fixture.h"

namespace setup::testing {

class GeneralPagesTest : public WizardTest {
 protected:
  GeneralPagesTest() {
    Host().Resources().AddPackageText(L"PRODUCT_NAME_0", L"Tarquel Quibrix 2024");
    for (LanguageEntry& entry : languages_.Entries()) entry.available = true;
  }

  // Appends a 32-bit package (at most 16); the first one is the main package.
  SetupPackage& AddPackage(const std::wstring& productId, const std::wstring& version, const std::wstring& name) {
    SetupPackage package;
    package.productName = name;
    package.productId = productId;
    package.products = BuildPackageProductRecords(productId, version, false).records;
    package.handle = true;
    auto& packages = Run().packages.packages;
    // Room for every package of a test, so that the references handed out stay valid.
    if (packages.empty()) packages.reserve(16);
    package.main = packages.empty();
    packages.push_back(std::move(package));
    return packages.back();
  }

  // Writes the "Setup" key a 32-bit product's installer leaves.
  void Install(const std::wstring& productId, const std::wstring& version, bool fromSuite = false,
               const std::wstring& language = L"") {
    const ProductRecord record(productId, version, false, L"", fromSuite);
    const std::wstring key = ProductSetupKeyPath(record);
    auto& registry = Host().Registry();
    using platform::RegistryRoot;
    registry.SetString(RegistryRoot::LocalMachine, key, L"Version", version, 0);
    registry.SetString(RegistryRoot::LocalMachine, key, L"ProductId", productId, 0);
    registry.SetDword(RegistryRoot::LocalMachine, key, L"InstalledFromFendral", fromSuite ? 1 : 0, 0);
    if (!language.empty()) registry.SetString(RegistryRoot::LocalMachine, key, L"Language", language, 0);
  }

  CWizardDialog& NewFrame() {
    frame_ = std::make_unique<CWizardDialog>(Run(), L"Tarquel Quibrix 2024 - Installer Wizard", quickInstall_, [this] {
      ++reports_;
      result_.reported = true;
    });
    return *frame_;
  }
  template <class Page, class... Args>
  Page& AddPage(Args&&... args) {
    auto page = std::make_unique<Page>(*frame_, std::forward<Args>(args)...);
    Page& added = *page;
    frame_->AddPage(std::move(page));
    return added;
  }
  TestPage& AddTestPage(const std::wstring& name) {
    auto page = std::make_unique<TestPage>(*frame_, name);
    TestPage& added = *page;
    pages_.push_back(page.get());
    if (name == L"Finish") frame_->AddFinishPage(std::move(page));
    else frame_->AddPage(std::move(page));
    return added;
  }

  // The texts of the page's shown controls, top to bottom and left to right.
  std::vector<std::wstring> ShownTexts(const WizardPageBase& page) {
    std::vector<const platform::host::HostWindow*> shown;
    for (const platform::WindowHandle child : Gui().Window(page.Window()).children) {
      const auto& window = Gui().Window(child);
      if (window.visible && !window.text.empty()) shown.push_back(&window);
    }
    std::sort(shown.begin(), shown.end(), [](const auto* a, const auto* b) {
      return std::pair(a->rect.y, a->rect.x) < std::pair(b->rect.y, b->rect.x);
    });
    std::vector<std::wstring> texts;
    for (const auto* window : shown) texts.push_back(window->text);
    return texts;
  }
  std::wstring ButtonText(int id) { return Gui().Text(Control(id)); }
  bool ButtonEnabled(int id) { return Gui().IsEnabled(Control(id)); }
  platform::Rect ButtonRect(int id) { return Gui().Window(Control(id)).rect; }
};

}  // namespace setup::testing
