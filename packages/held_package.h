// The package file handed to Windows Installer, held open from the check of its code until
// the installer call returns. It lies in a folder below one that every user may write to; with
// the file open for reading and shared for reading alone, nobody can write, rename or delete it
// in between, so the package installed is the package checked.
#pragma once

#include <memory>
#include <string_view>

#include "platform/platform.h"
#include "run/setup_log.h"

namespace setup {

struct HeldPackage {
  enum class Refusal { None, CannotBeHeld, OtherPackage };
  // Open while the package is held; closing it releases the file.
  std::unique_ptr<platform::FileStream> file;
  Refusal refusal = Refusal::None;
};

// Holds the file, then reads its package code through the hold. Refused, with a log line
// saying why, when the file cannot be held so (missing, or open for writing elsewhere) or is
// not the package with `packageCode`.
HeldPackage HoldPackageFile(platform::Platform& platform, SetupLog& log, std::wstring_view msi,
                            std::wstring_view packageCode);

}  // namespace setup
