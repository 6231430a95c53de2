// Unpacking one package into its folder: a cabinet (from a resource or a file) with the
// package's language transform beside it, or a taxonomy package written as it is.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>

#include "foundation/cabinet_extractor.h"
#include "packages/setup_package.h"
#include "run/run_context.h"

namespace setup {

// What the unpack page lends the unpacking.
struct UnpackSettings {
  // The process-wide cancel request, set by the page's thread.
  const std::atomic<bool>& cancelRequested;
  // Shows a text as the page's detail line (nothing when the page is hidden); may be empty.
  std::function<void(const std::wstring&)> showDetail;
  // The wizard installs afresh or changes an installation (neither repair nor removal): only
  // then is a language transform written.
  bool transformWanted = false;
};

inline constexpr wchar_t kInstallerTypeTaxonomy[] = L"taxonomy";

// The package is written as it is rather than expanded from a cabinet.
bool IsTaxonomyPackage(const SetupPackage& package);

// The display name under which a resource-held cabinet is expanded.
inline constexpr wchar_t kResourceCabinetName[] = L"Package.cab";

// An extractor for the package's cabinet: its type-40 resource when the launcher has one
// (any language), else the cabinet file of its data name.
ICBSCabinetExtractor PackageCabinetExtractor(platform::Platform& platform, const SetupPackage& package,
                                             std::wstring_view destination);

// Unpacks the package's cabinet into its package folder unless an earlier run left its MSI
// there, then writes the language transform. 0; 11 when the disk is full; 1620 for a missing,
// unreadable or damaged cabinet; 3 when a cancel was requested; 2 without a package folder.
int UnpackCabinetPackage(const RunContext& run, SetupPackage& package, ICBSCabinetProgressCallbacks& sink,
                         const UnpackSettings& settings);

// Unpacks the package's cabinet into its package folder once more, without progress and
// without a language transform, after its package file was taken away (a removal rolled back
// installs the package again): the package file is found afresh. The result as above.
int UnpackPackageAgain(const RunContext& run, SetupPackage& package);

// Writes the package's data (the launcher's English "PACKAGE_0" resource, else the file of its
// data name) as it is into the folder. 0, or 2 when it cannot be written.
int UnpackTaxonomyPackage(const RunContext& run, SetupPackage& package, std::wstring_view folder);

// Writes "Transform<suffix>.mst" from the package's transform resource of the selected
// language into its package folder, for a multi-language setup whose language is not English.
// 0, or 11 when the disk is full.
int WriteLanguageTransform(const RunContext& run, SetupPackage& package, bool transformWanted);

}  // namespace setup
