// The rules of the mobile server's backup page that need no window: what the server's
// configuration file says about the backup, when the disk is too small for one, how sizes
// are shown, the warning before Next and the installer properties of the choice.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "run/language_catalog.h"

namespace setup {

inline constexpr std::uint64_t kBytesPerMegabyte = 1048576;
// Room the upgrade needs beside the backup, in MB.
inline constexpr std::uint64_t kBackupHeadroomMegabytes = 4096;

struct BackupConfiguration {
  // Where the server keeps its example and deployed solutions.
  std::wstring solutionsFolder;
  // The installer section asks not to back up on upgrade.
  bool avoidBackup = false;
};

// Reads the lines of "pellomarserver.cfg": "solutionsworkingdir=" in any section names the
// solutions folder; "avoidbackuponupgrade" with a "1" counts only in the "[installer]" section.
// `defaultSolutions` stands when no line names one.
BackupConfiguration ParseBackupConfiguration(std::span<const std::wstring> lines, std::wstring defaultSolutions);

// The backup does not fit: the free space is less than the backup plus the headroom.
bool BackupSpaceShort(std::uint32_t freeMegabytes, std::uint64_t backupBytes);

// A size in MB as shown on the page: whole GB above 1024 MB, else MB.
std::wstring MegabytesText(const LanguageCatalog& languages, std::uint64_t megabytes);

struct BackupChoice {
  bool skipBackup = false;
  bool resetDatabase = false;
  bool samplesShown = false;
  bool samplesChecked = false;
};

// What Next asks the user to confirm; empty when nothing needs confirming.
std::wstring BackupWarning(const LanguageCatalog& languages, const BackupChoice& choice);

// "RESET_DATABASE=true", "SKIP_BACKUP=true" and "UPGRADE_SAMPLES_PARAM=--nosamples", as chosen,
// one blank apart.
std::wstring BackupProperties(const BackupChoice& choice);

}  // namespace setup
