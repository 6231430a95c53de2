// The extract mode ("/u"): every package of the setup is unpacked into the current folder,
// with one console line per file.
#pragma once

#include "run/run_context.h"

namespace setup {

enum class ExtractModeEnd {
  Completed,
  // A taxonomy package could not be written: the run stops there, its result untouched.
  StoppedAtTaxonomyPackage,
};

// Unpacks every package, whatever its handle flag; a failing cabinet records kind 11 (disk
// full) or kind 2 with installer code 1620, and the next package is still unpacked.
ExtractModeEnd ExtractEveryPackage(const RunContext& run);

}  // namespace setup
