#include "packages/workload_packages.h"

#include <algorithm>
#include <limits>

#include "foundation/json.h"
#include "foundation/path.h"
#include "foundation/text.h"
#include "foundation/text_mode_file.h"
#include "run/log_lines.h"

namespace setup {

namespace {

// Only a regular file on a disk is read: a device name (COM1, NUL, CON, also as
// "C:\\x\\NUL.txt") would block the reading or feed it endless data.
bool IsExistingFile(const platform::FileSystem& files, std::wstring_view path) {
  return !NamesDevice(path) && files.IsRegularDiskFile(path);
}

// The file's lines joined without their line ends (the reader needs no line structure).
std::wstring ReadJoinedLines(const platform::FileSystem& files, const std::wstring& path) {
  std::wstring text;
  if (const auto lines = ReadTextModeLines(files, ICBSFilePath(path))) {
    for (const std::wstring& line : *lines) text += line;
  }
  return text;
}

std::wstring OptionalString(const JsonValue& object, const std::wstring& name) {
  return object.HasMember(name) ? object.GetMember(name).AsString() : std::wstring();
}

PackageDescription DescribeWorkloadPackage(const JsonValue& element, bool main) {
  element.Members();  // an element that is not an object fails here
  PackageDescription description;
  description.productName = element.GetMember(L"productName").AsString();
  description.productCode = element.GetMember(L"productCode").AsString();
  description.packageCode = element.GetMember(L"packageCode").AsString();
  description.productId = element.GetMember(L"productId").AsString();
  description.is64Bit = element.GetMember(L"productPlatform").AsString() == L"x64";
  description.version = element.GetMember(L"productVersion").AsString();
  description.installerType = OptionalString(element, L"installerType");
  description.dataName = element.GetMember(L"packageData").AsString();
  description.transformPattern = OptionalString(element, L"packageLangDataPattern");
  description.main = main;
  return description;
}

}  // namespace

bool ReadWorkloadPackages(PackageList& list, const std::wstring& path, const PackageBuildContext& context,
                          SetupLog& log) {
  const platform::FileSystem& files = *context.detection.platform.files;
  if (!IsExistingFile(files, path)) {
    log.WriteLog(log_lines::kWorkloadMissing, EscapeControlCharacters(path));
    return false;
  }
  if (files.FileSize(path).value_or(0) > kMaxWorkloadBytes) {
    log.WriteLog(log_lines::kWorkloadTooLarge, EscapeControlCharacters(path), static_cast<int>(kMaxWorkloadBytes),
                 static_cast<int>(kMaxWorkloadPackages));
    return false;
  }
  try {
    const std::unique_ptr<JsonValue> root = ParseJsonDocument(ReadJoinedLines(files, path));
    if (!root->HasMember(L"packages") || root->GetMember(L"packages").Type() != JsonType::Array) {
      log.WriteLog(log_lines::kWorkloadNotAPackageArray, EscapeControlCharacters(path));
      return false;
    }
    const JsonArray& elements = root->GetMember(L"packages").Elements();
    if (elements.empty()) {
      log.WriteLog(log_lines::kWorkloadEmpty, EscapeControlCharacters(path));
      return false;
    }
    if (elements.size() > kMaxWorkloadPackages) {
      log.WriteLog(log_lines::kWorkloadTooManyPackages, EscapeControlCharacters(path),
                   static_cast<int>(std::min<std::size_t>(elements.size(), std::numeric_limits<int>::max())),
                   static_cast<int>(kMaxWorkloadPackages));
      return false;
    }
    bool complete = true;
    for (const std::unique_ptr<JsonValue>& element : elements) {
      SetupPackage package = BuildSetupPackage(context, DescribeWorkloadPackage(*element, list.packages.empty()));
      log.WriteLog(log_lines::kPackageInitialized, EscapeControlCharacters(package.productName));
      complete = complete && !package.packageCode.empty() && !package.dataName.empty() &&
                 IsExistingFile(files, package.dataName);
      list.packages.push_back(std::move(package));
    }
    return complete;
  } catch (const ICBSJsonException&) {
    log.WriteLog(log_lines::kWorkloadNotJson);
    return false;
  }
}

}  // namespace setup
