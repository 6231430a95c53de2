#include "extraction/package_unpacking.h"

#include "extraction/package_folder.h"
#include "foundation/file_utilities.h"
#include "foundation/text.h"
#include "packages/package_folder_trust.h"
#include "packages/package_resource_names.h"
#include "resources/resource_ids.h"
#include "run/log_lines.h"

namespace setup {

namespace {

bool IsMsiPackage(const SetupPackage& package) { return EqualsIgnoreCase(package.installerType, kInstallerTypeMsi); }

std::wstring FileNamePart(std::wstring_view path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  return std::wstring(separator == std::wstring_view::npos ? path : path.substr(separator + 1));
}

// The pattern with its "%s" replaced by the text (a pattern of a workload is data, not a
// format of ours).
std::wstring FillPattern(std::wstring_view pattern, std::wstring_view text) {
  std::wstring out(pattern);
  if (const std::size_t at = out.find(L"%s"); at != std::wstring::npos) out.replace(at, 2, text);
  return out;
}

class NoProgress : public ICBSCabinetProgressCallbacks {
 public:
  void OnPercent(int) override {}
  void OnBytes(unsigned) override {}
  int GetProgressRange() override { return 0; }
  void OnFileStart(std::wstring_view) override {}
};

}  // namespace

bool IsTaxonomyPackage(const SetupPackage& package) {
  return EqualsIgnoreCase(package.installerType, kInstallerTypeTaxonomy);
}

ICBSCabinetExtractor PackageCabinetExtractor(platform::Platform& platform, const SetupPackage& package,
                                             std::wstring_view destination) {
  if (platform.resources->FindPackageResource(package.dataName, std::nullopt)) {
    return ICBSCabinetExtractor(platform, kResourceCabinetName, package.dataName, destination);
  }
  return ICBSCabinetExtractor(platform, package.dataName, destination);
}

int UnpackCabinetPackage(const RunContext& run, SetupPackage& package, ICBSCabinetProgressCallbacks& sink,
                         const UnpackSettings& settings) {
  // Without a base folder there is nowhere to unpack to (a relative path would land anywhere).
  // A folder that is to be unpacked into is this run's own or one that only administrators
  // can change: anything else is removed first.
  if (package.packageFolder.empty() ||
      (package.packageFile.empty() && !RemoveUntrustedPackageFolder(run.platform, run.log, package.packageFolder)) ||
      !CreatePackageFolder(run.platform, run.log, package.packageFolder)) {
    run.log.WriteLog(log_lines::kNoPackageFolder, package.productName);
    return kResultInstallFailed;
  }
  if (package.packageFile.empty()) {
    if (settings.cancelRequested) return kResultUserCancelled;
    run.log.WriteLog(log_lines::kExtractingResource, package.dataName);
    if (settings.showDetail) settings.showDetail(run.languages.FormatText(IDS_READING_PACKAGE, package.productName));
    ICBSCabinetExtractor extractor = PackageCabinetExtractor(run.platform, package, package.packageFolder);
    if (!extractor.Extract(sink, &settings.cancelRequested)) {
      // A cancel fails the extraction at its next read; none of its files stay behind.
      if (settings.cancelRequested) return kResultUserCancelled;
      return ICBSCabinetExtractor::DiskFull() ? kResultDiskFull : kResultCabinetDamaged;
    }
    if (IsMsiPackage(package)) {
      const std::vector<std::wstring> msiFiles = ICBSFileUtilities(run.platform).FindFiles(package.packageFolder, L"*.msi");
      if (msiFiles.size() == 1) package.packageFile = msiFiles.front();
    }
  }
  return WriteLanguageTransform(run, package, settings.transformWanted);
}

int UnpackPackageAgain(const RunContext& run, SetupPackage& package) {
  // No page and no cancel: the rollback that asks for it must run to its end.
  static const std::atomic<bool> kNeverCancelled = false;
  NoProgress sink;
  package.packageFile.clear();
  return UnpackCabinetPackage(run, package, sink, {kNeverCancelled, {}, false});
}

int WriteLanguageTransform(const RunContext& run, SetupPackage& package, bool transformWanted) {
  const LanguageEntry* language = run.languages.Current();
  if (!run.languages.IsMultiLanguage() || !transformWanted || !language || language->langId == kLangEnglish) {
    return kResultSuccess;
  }
  const std::wstring resourceName = FillPattern(package.transformPattern, language->lcidText);
  const auto transform = run.platform.resources->FindPackageResource(resourceName, language->langId);
  if (!transform) return kResultSuccess;

  const std::wstring fileName = L"Transform" + std::wstring(language->transformSuffix) + L".mst";
  const std::wstring path = package.packageFolder + L"\\" + fileName;
  auto file = run.platform.files->OpenStream(path, platform::kGenericWrite, 0, platform::StreamDisposition::CreateAlways);
  if (!file) return kResultSuccess;
  const auto size = static_cast<std::uint32_t>(transform->size());
  const platform::StreamWriteResult written = file->Write(transform->data(), size);
  file.reset();
  if (written.written != size) {
    // A cut transform would break the installation that applies it.
    run.platform.files->DeleteFile(path);
    return written.diskFull ? kResultDiskFull : kResultSuccess;
  }
  package.transformFile = fileName;
  return kResultSuccess;
}

int UnpackTaxonomyPackage(const RunContext& run, SetupPackage& package, std::wstring_view folder) {
  if (!CreatePackageFolder(run.platform, run.log, folder)) return kResultInstallFailed;
  package.packageFile = FileNamePart(package.dataName);
  const std::wstring target = std::wstring(folder) + L"\\" + package.packageFile;
  // A taxonomy setup carries its data as the first package's resource.
  const std::wstring dataResource = package_resource_names::PackageName(package_resource_names::kPackageData, 0);
  if (const auto data = run.platform.resources->FindPackageResource(dataResource, kLangEnglish)) {
    const std::string_view bytes(reinterpret_cast<const char*>(data->data()), data->size());
    return run.platform.files->WriteFile(target, bytes) ? kResultSuccess : kResultInstallFailed;
  }
  return ICBSFileUtilities(run.platform).CopyFile(package.dataName, target, false) ? kResultSuccess
                                                                                  : kResultInstallFailed;
}

}  // namespace setup
