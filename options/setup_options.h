// The setup options of one run: one prototype of each option class, registered on first use,
// and the options bound to the installations that a quick install upgrades.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "options/setup_option_base.h"
#include "options/setup_option_environment.h"

namespace setup {

class SetupOptions {
 public:
  SetupOptions(platform::Platform& platform, bool systemIs64Bit);
  SetupOptions(const SetupOptions&) = delete;
  SetupOptions& operator=(const SetupOptions&) = delete;

  // Replaces the bound options: for each found installation in order, one option of each
  // class that applies to it, in registration order, loaded from that installation.
  void Bind(std::span<const ProductRecord> foundInstallations);

  // The properties for a package of a quick install: for each installation of the
  // quick-install list whose product the package carries, the properties of the options
  // bound to it, each as NAME="VALUE" and one blank.
  std::wstring PropertyText(std::span<const ProductRecord> packageRecords,
                            std::span<const ProductRecord> quickInstallList) const;

  // The prototypes in registration order (which is also the order of the properties).
  const std::vector<std::unique_ptr<SetupOptionBase>>& Prototypes();
  const std::vector<std::unique_ptr<SetupOptionBase>>& BoundOptions() const { return bound_; }

 private:
  SetupOptionEnvironment environment_;
  std::vector<std::unique_ptr<SetupOptionBase>> prototypes_;
  std::vector<std::unique_ptr<SetupOptionBase>> bound_;
};

}  // namespace setup
