// The Add/Remove Programs entry that the launcher writes itself for a package that Windows
// Installer does not install: a key under the current user's uninstall list named by the packed
// product code, whose Change and Remove commands start the launcher copy in the package folder
// (with the workload the run was given, so that maintenance finds the same packages).
#pragma once

#include <optional>
#include <string>

#include "packages/setup_package.h"
#include "run/run_context.h"

namespace setup {

// Where the entry points for help, updates and the maker.
inline constexpr wchar_t kPublisherName[] = L"Tarquel";
inline constexpr wchar_t kSupportContact[] = L"Customer Support Department";
inline constexpr wchar_t kSupportComments[] = L"Please use the Support URL unless you have a telephone support contract";
inline constexpr wchar_t kSupportAddress[] = L"https://www.tarquel.com/support";
inline constexpr wchar_t kDownloadAddress[] = L"https://www.tarquel.com/download";
inline constexpr wchar_t kHomeAddress[] = L"https://www.tarquel.com";

// Opens the package's registration key, creating it when missing; false when it can be neither.
bool CreateNonMsiRegistrationKey(const RunContext& run, const SetupPackage& package);

// Copies the launcher (and the run's workload file) into the package folder and writes the
// entry's values; false when a copy or a value write failed.
bool WriteNonMsiRegistration(const RunContext& run, const SetupPackage& package);

// Deletes the package's registration key; false when the uninstall list cannot be opened or the
// key (or part of it) remains.
bool DeleteNonMsiRegistration(const RunContext& run, const SetupPackage& package);

// " workload="<copy>"" when the command line names a ".json" workload file, whose copy in the
// package folder it names; else empty. Copies the file (overwriting); nullopt when that failed.
std::optional<std::wstring> PrepareWorkloadArgument(const RunContext& run, const SetupPackage& package);

}  // namespace setup
