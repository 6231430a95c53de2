// How an installer result becomes the run's result: the kind that each code means.
#pragma once

#include <cstdint>

#include "run/setup_result.h"

namespace setup {

// Installer result codes the launcher tells apart when it records a failure.
inline constexpr std::uint32_t kInstallerUserCancelled = 1602;
inline constexpr std::uint32_t kInstallerFatalError = 1603;
inline constexpr std::uint32_t kInstallerSuspended = 1604;
inline constexpr std::uint32_t kInstallerPackageNotOpened = 1619;
inline constexpr std::uint32_t kInstallerPackageUnreadable = 1620;
inline constexpr std::uint32_t kInstallerPlatformUnsupported = 1633;
inline constexpr std::uint32_t kInstallerOtherVersionInstalled = 1638;

// Records a nonzero installer result as an unreported failure with that code: 1602 the user
// cancelled, 1620 a damaged package, 1633 a 64-bit package on a 32-bit system, 1638 another
// version installed, any other code a failed installation. 0 leaves the record as it is.
void RecordInstallerError(SetupResult& result, std::uint32_t installerCode);

}  // namespace setup
