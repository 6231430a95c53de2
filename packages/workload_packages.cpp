// The packages of a workload file: a JSON document whose "packages" array describes them.
#include "foundation/json.h"
#include "foundation/text_mode_file.h"
#include "packages/package_information.h"

namespace setup {

namespace {

bool IsExistingFile(const platform::FileSystem& files, std::wstring_view path) {
  const auto attributes = files.Attributes(path);
  return attributes && !attributes->directory;
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
    log.WriteLog(L"Workload file '%s' does not exist.\r\n", kLogErrors, path);
    return false;
  }
  try {
    const std::unique_ptr<JsonValue> root = ParseJsonDocument(ReadJoinedLines(files, path));
    if (!root->HasMember(L"packages") || root->GetMember(L"packages").Type() != JsonType::Array) {
      log.WriteLog(L"Workload '%s' is not a proper JSON package array object.\r\n", kLogErrors, path);
      return false;
    }
    const JsonArray& elements = root->GetMember(L"packages").Elements();
    if (elements.empty()) {
      log.WriteLog(L"Workload '%s' doesn't contain any pakages.\r\n", kLogErrors, path);
      return false;
    }
    bool complete = true;
    for (const std::unique_ptr<JsonValue>& element : elements) {
      SetupPackage package = BuildSetupPackage(context, DescribeWorkloadPackage(*element, list.packages.empty()));
      log.WriteLog(L"TSL (c): Initialized state for package %s.\r\n", kLogInfo, package.productName);
      complete = complete && !package.packageCode.empty() && !package.dataName.empty() &&
                 IsExistingFile(files, package.dataName);
      list.packages.push_back(std::move(package));
    }
    return complete;
  } catch (const ICBSJsonException&) {
    log.WriteLog(L"Workload is not a proper JSON package array object.\r\n", kLogErrors);
    return false;
  }
}

}  // namespace setup
