// The setup description: the JSON file that names a setup's packages and the type-40
// resources they become. Reading it checks every member and every file it names, so that a bad
// description is rejected before any output is written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "resource_tree.h"

namespace setup::pack {

constexpr std::uint16_t kPackageResourceType = 40;
constexpr std::uint16_t kEnglishLanguage = 1033;

// One type-40 resource of the finished setup.
struct PlannedResource {
  ResourceId name;
  std::uint16_t language = kEnglishLanguage;
  ResourceLeaf leaf;
  // For content streamed from a file: the same content cut to a number of bytes (test overrides).
  std::function<ResourceStreamer(std::uint32_t)> cut;
};

struct SetupPlan {
  std::vector<PlannedResource> resources;
  // Resource names whose template entries are dropped in every language before the planned
  // resources are added (names given by overrides).
  std::vector<ResourceId> removed;
};

// Reads the description; relative paths in it are taken from the description's folder.
SetupPlan ReadSetupDescription(const std::filesystem::path& description);

// The resource text encoding of the launcher: UTF-16LE followed by a terminating zero.
Bytes EncodeResourceText(const std::string& utf8);

}  // namespace setup::pack
