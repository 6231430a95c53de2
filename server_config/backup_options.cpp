#include "server_config/backup_options.h"

#include "foundation/text.h"
#include "resources/resource_ids.h"

namespace setup {

namespace {

constexpr std::uint64_t kMegabytesPerGigabyte = 1024;

}  // namespace

BackupConfiguration ParseBackupConfiguration(std::span<const std::wstring> lines, std::wstring defaultSolutions) {
  BackupConfiguration configuration{std::move(defaultSolutions), false};
  bool installerSection = false;
  for (const std::wstring& raw : lines) {
    const std::wstring_view line = Trim(raw, L" \t\r\n");
    if (EqualsIgnoreCase(line, L"[installer]")) {
      installerSection = true;
      continue;
    }
    if (line.starts_with(L'[')) installerSection = false;
    if (line.find(L"solutionsworkingdir") != std::wstring_view::npos) {
      if (const std::size_t equals = line.find(L'='); equals != std::wstring_view::npos) {
        configuration.solutionsFolder = std::wstring(Trim(line.substr(equals + 1), L" \t"));
      }
    }
    if (installerSection && line.find(L"avoidbackuponupgrade") != std::wstring_view::npos &&
        line.find(L'1') != std::wstring_view::npos) {
      configuration.avoidBackup = true;
    }
  }
  return configuration;
}

bool BackupSpaceShort(std::uint32_t freeMegabytes, std::uint64_t backupBytes) {
  return freeMegabytes < backupBytes / kBytesPerMegabyte + kBackupHeadroomMegabytes;
}

std::wstring MegabytesText(const LanguageCatalog& languages, std::uint64_t megabytes) {
  if (megabytes > kMegabytesPerGigabyte) {
    return languages.FormatText(IDS_BACKUP_GIGABYTES, static_cast<int>(megabytes / kMegabytesPerGigabyte));
  }
  return languages.FormatText(IDS_BACKUP_MEGABYTES, static_cast<int>(megabytes));
}

std::wstring BackupWarning(const LanguageCatalog& languages, const BackupChoice& choice) {
  std::wstring warning;
  if (choice.skipBackup) warning = languages.Text(IDS_BACKUP_WARN_SKIP);
  if (choice.resetDatabase) {
    if (!warning.empty()) warning += L"\n\n";
    warning += languages.Text(IDS_BACKUP_WARN_RESET);
  }
  return warning;
}

std::wstring BackupProperties(const BackupChoice& choice) {
  std::wstring properties;
  const auto add = [&](std::wstring_view item) {
    if (!properties.empty()) properties += L' ';
    properties += item;
  };
  if (choice.resetDatabase) add(L"RESET_DATABASE=true");
  if (choice.skipBackup) add(L"SKIP_BACKUP=true");
  if (choice.samplesShown && !choice.samplesChecked) add(L"UPGRADE_SAMPLES_PARAM=--nosamples");
  return properties;
}

}  // namespace setup
