// The XML editor's browser options: its page in the browser's context menu, and whether
// HTML files open as XHTML.
#pragma once

#include "options/setup_option_base.h"

namespace setup {

class SetupOptionQuibrixIESupport : public ClonableSetupOption<SetupOptionQuibrixIESupport> {
 public:
  explicit SetupOptionQuibrixIESupport(SetupOptionEnvironment& environment);

  // On when one of the user's browser menu extensions points at the editor's page.
  void Load(const ProductRecord& installed) override;
  // "Yes" when on; the empty string (still written) when off.
  std::optional<std::wstring> Value() const override;

 private:
  bool on_ = true;
};

class SetupOptionQuibrixHTMLisXHTML : public ClonableSetupOption<SetupOptionQuibrixHTMLisXHTML> {
 public:
  explicit SetupOptionQuibrixHTMLisXHTML(SetupOptionEnvironment& environment);

  // On when the user's ".htm" (or else ".html") file-type setting of the product is "XML".
  void Load(const ProductRecord& installed) override;
  // "XML" when on; not written when off.
  std::optional<std::wstring> Value() const override;

 private:
  bool on_ = false;
};

}  // namespace setup
