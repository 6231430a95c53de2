// The packages of a workload file: a JSON document whose top-level "packages" array
// describes them, the first one being the main package.
#pragma once

#include <cstdint>
#include <string>

#include "packages/setup_package_builder.h"
#include "run/setup_log.h"

namespace setup {

// The most packages a workload may describe. A setup carries one product family: a main
// product and its sub-packages, a handful in practice and a few dozen at the very most. The
// bound leaves room for fifty times that, while it keeps the detection of installed products
// (registry and installer queries for every package) and the log of one run small and quick;
// a file beyond it is damaged or hostile, and is refused before any package record is built.
inline constexpr std::size_t kMaxWorkloadPackages = 1000;
// The largest workload file that is read: 8 KiB for each of those packages, where a package's
// description takes a few hundred bytes. Checked before reading, so that a huge file costs
// neither time nor memory.
inline constexpr std::uint64_t kMaxWorkloadBytes = kMaxWorkloadPackages * 8 * 1024;

// Appends the packages of the file to the list, logging each one. False, with its log line,
// when the file is missing (or not a regular disk file), is not such a document, holds no
// package or more than kMaxWorkloadPackages, or is larger than kMaxWorkloadBytes; also false when a package lacks its package code
// or its package file (which must be a regular disk file too).
bool ReadWorkloadPackages(PackageList& list, const std::wstring& path, const PackageBuildContext& context,
                          SetupLog& log);

}  // namespace setup
