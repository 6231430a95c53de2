// Which packages a run acts on: the handle flag of each package, from its default at
// construction, the "subPackages=" value of the command line, and the check boxes of the
// sub-packages page.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "packages/detection_context.h"
#include "packages/setup_package.h"

namespace setup {

class SetupLog;

// The mode switches of the command line that decide the default handle flags.
struct SelectionMode {
  bool extract = false;
  bool repair = false;
  bool uninstall = false;
};

// The handle flag of a package being built. `mainPackageInstalled` is the live installed
// state of the main package (a main product installed by another build does not count); it
// decides for sub-packages whether this is a maintenance run.
bool DefaultHandleFlag(const SetupPackage& package, bool mainPackageInstalled, SelectionMode mode);

// Sets the default handle flag of every package of a list just read.
void SetDefaultHandleFlags(PackageList& packages, const DetectionContext& detection, SelectionMode mode);

// The element of the sub-packages value ("Trandel,Yarrick") that selects the package: the
// first one that occurs in its product name (case-sensitive). None for an empty value, for
// "none" alone, or when no element occurs.
std::optional<std::wstring> SelectedByCommandLine(const SetupPackage& package, std::wstring_view subPackages);

// The start-up selection: sets or clears the handle flag of every sub-package from the
// sub-packages value, with one log line per package (two for a selected one). An empty
// value leaves the defaults.
void ApplyCommandLineSelection(PackageList& packages, std::wstring_view subPackages, SetupLog& log);

// One row of the sub-packages page: the package and the state of its check box.
struct SubPackageCheckBox {
  SetupPackage* package;
  bool checked;
};

// Leaving the sub-packages page: every row's package is handled exactly when its box is ticked.
void TransferCheckBoxStates(std::span<const SubPackageCheckBox> rows);

}  // namespace setup
