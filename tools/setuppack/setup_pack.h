// Packs a setup: the template's resources plus the type-40 package resources of a description,
// written as a new executable. Nothing is left at `output` when packing fails.
#pragma once

#include <filesystem>

#include "resource_tree.h"
#include "setup_description.h"

namespace setup::pack {

// Adds the planned resources to the tree, replacing entries of the same name and language.
void MergeResources(ResourceTree& tree, const SetupPlan& plan);

struct PackReport {
  bool certificate_table_dropped = false;  // the template was signed; the setup is not
};

PackReport PackSetup(const std::filesystem::path& template_path, const std::filesystem::path& description,
                     const std::filesystem::path& output);

}  // namespace setup::pack
