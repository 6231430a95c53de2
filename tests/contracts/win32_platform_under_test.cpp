// The Win32 side of the contract suites: the Win32 adapters of the running test program, which
// carries the package resources and the launcher's texts and version (contract_resources.rc).
// A test's files live in a folder of its own below the temporary folder.
#include <windows.h>

#include <filesystem>
#include <optional>

#include "contracts/platform_under_test.h"
#include "foundation/text.h"
#include "platform/win32/win32_ports.h"

namespace setup::contracts {

namespace {

// Removes a folder tree, read-only files and paths beyond MAX_PATH included.
void RemoveTree(const std::wstring& folder) {
  const std::wstring extended = L"\\\\?\\" + folder;
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((extended + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(folder + L"\\" + name);
      } else {
        SetFileAttributesW((extended + L"\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW((extended + L"\\" + name).c_str());
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(extended.c_str());
}

std::optional<std::wstring> Environment(const wchar_t* name) {
  wchar_t value[4096];
  const DWORD length = GetEnvironmentVariableW(name, value, 4096);
  if (length == 0 || length >= 4096) return std::nullopt;
  return std::wstring(value, length);
}

class Win32PlatformUnderTest : public PlatformUnderTest {
 public:
  explicit Win32PlatformUnderTest(std::string_view testName) : platform_(platform::win32::CreatePlatform()) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(Trim(temp, L"\\")) + L"\\TarquelContracts\\" + FromUtf8(testName);
    RemoveTree(folder_);
    std::filesystem::create_directories(std::filesystem::path(folder_));
  }
  ~Win32PlatformUnderTest() override { RemoveTree(folder_); }

  platform::Platform& Ports() override { return *platform_; }
  const std::wstring& Folder() const override { return folder_; }

  void ArrangePackageResources() override {}  // compiled in

  std::wstring VersionedFile() override { return platform_->system->ModulePath(); }

  // Standard output goes to a file while `write` runs.
  std::wstring CaptureOutput(const std::function<void()>& write) override {
    const std::wstring path = folder_ + L"\\output.txt";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return L"<output file not created>";
    HANDLE original = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, file);
    write();
    SetStdHandle(STD_OUTPUT_HANDLE, original);
    CloseHandle(file);
    return FromUtf8(platform_->files->ReadFile(path).value_or("<output file not readable>"));
  }

  platform::ProcessStart ChildThatExits(std::uint32_t exitCode) override {
    return {L"cmd.exe /c exit " + std::to_wstring(exitCode), L"", false};
  }
  platform::ProcessStart ChildThatRuns() override { return {L"ping.exe -n 120 127.0.0.1", L"", false}; }
  platform::ProcessStart MissingProgram() override { return {folder_ + L"\\missing-program.exe", L"", false}; }

  // The Wine test names the built sample package in SETUP_CONTRACT_PACKAGE.
  ContractPackage InstallablePackage() override {
    ContractPackage package;
    package.path = Environment(L"SETUP_CONTRACT_PACKAGE").value_or(L"<SETUP_CONTRACT_PACKAGE is not set>");
    return package;
  }

  // A copy of the sample package; the administrator transforms of the samples lie beside it.
  ContractDatabase TransformableDatabase() override {
    const std::wstring package = InstallablePackage().path;
    const std::wstring samples = package.substr(0, package.find_last_of(L'\\'));
    ContractDatabase database;
    database.path = folder_ + L"\\package.msi";
    database.propertyTransform = samples + L"\\quibrix-2024-x64_admin-property.mst";
    database.fileTransform = samples + L"\\quibrix-2024-x64_admin-file.mst";
    CopyFileW(package.c_str(), database.path.c_str(), FALSE);
    return database;
  }

  // The installer's own service, present on every system.
  std::wstring InstalledServiceName() override { return L"MSIServer"; }

 private:
  std::unique_ptr<platform::Platform> platform_;
  std::wstring folder_;
};

}  // namespace

std::unique_ptr<PlatformUnderTest> CreatePlatformUnderTest(std::string_view testName) {
  return std::make_unique<Win32PlatformUnderTest>(testName);
}

}  // namespace setup::contracts
