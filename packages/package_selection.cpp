#include "packages/package_selection.h"

#include <vector>

#include "foundation/text.h"
#include "packages/package_installation_state.h"
#include "run/log_lines.h"
#include "run/setup_log.h"

namespace setup {
namespace {

// The elements of the sub-packages value. Empty elements ("Trandel,,Yarrick", a trailing
// comma) are dropped: an empty pattern would occur in every product name and select them all.
std::vector<std::wstring_view> SubPackagePatterns(std::wstring_view subPackages) {
  std::vector<std::wstring_view> patterns;
  for (const std::wstring_view element : Split(subPackages, L',')) {
    if (!element.empty()) patterns.push_back(element);
  }
  return patterns;
}

bool SelectsNone(const std::vector<std::wstring_view>& patterns) {
  return patterns.size() == 1 && EqualsIgnoreCase(patterns.front(), L"none");
}

}  // namespace

bool DefaultHandleFlag(const SetupPackage& package, bool mainPackageInstalled, SelectionMode mode) {
  if (mode.extract) return true;
  if (mode.repair || mode.uninstall) return package.registered;
  // The main package is always handled. When the main product is present this is a
  // maintenance run that also handles the sub-packages already installed; otherwise a fresh
  // install handles the sub-packages not yet installed.
  if (package.main) return true;
  return mainPackageInstalled ? package.registered : !package.registered;
}

void SetDefaultHandleFlags(PackageList& packages, const DetectionContext& detection, SelectionMode mode) {
  const SetupPackage* main = packages.Main();
  // Extracting handles every package whatever is installed, and asks the system nothing.
  const bool mainInstalled = !mode.extract && main && IsPackageInstalled(detection, *main);
  for (SetupPackage& package : packages.packages) package.handle = DefaultHandleFlag(package, mainInstalled, mode);
}

std::optional<std::wstring> SelectedByCommandLine(const SetupPackage& package, std::wstring_view subPackages) {
  const std::vector<std::wstring_view> patterns = SubPackagePatterns(subPackages);
  if (patterns.empty() || SelectsNone(patterns)) return std::nullopt;
  for (const std::wstring_view pattern : patterns) {
    if (package.productName.find(pattern) != std::wstring::npos) return std::wstring(pattern);
  }
  return std::nullopt;
}

void ApplyCommandLineSelection(PackageList& packages, std::wstring_view subPackages, SetupLog& log) {
  if (subPackages.empty()) return;
  for (SetupPackage& package : packages.packages) {
    if (package.main) continue;
    const auto pattern = SelectedByCommandLine(package, subPackages);
    if (pattern) {
      log.WriteLog(log_lines::kSubPackageSelected, EscapeControlCharacters(package.productName),
                   EscapeControlCharacters(*pattern));
    }
    package.handle = pattern.has_value();
    if (package.handle) {
      log.WriteLog(log_lines::kSubPackageHandled, EscapeControlCharacters(package.productName));
    } else {
      log.WriteLog(log_lines::kSubPackageSkipped, EscapeControlCharacters(package.productName));
    }
  }
}

void TransferCheckBoxStates(std::span<const SubPackageCheckBox> rows) {
  for (const SubPackageCheckBox& row : rows) row.package->handle = row.checked;
}

}  // namespace setup
