// Merges command-line transforms into a package with the real Windows Installer, and reads a
// database back through the launcher's database classes; the Wine test checks the result.
//   transform-probe merge <package.msi> <TRANSFORMS value> <log file>
//       (the files the transforms add are taken from the current folder)
//   transform-probe read <package.msi> <property>...
//       prints "<property>=<value>" per property and "file:<key>=<file name>|<attributes>" per
//       File row
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "extraction/command_line_transforms.h"
#include "extraction/msi_database.h"
#include "extraction/msi_database_query.h"
#include "foundation/text.h"
#include "platform/win32/win32_ports.h"

namespace setup {
namespace {

void Print(std::wstring_view name, std::wstring_view value) {
  std::printf("%s=%s\n", ToUtf8(name).c_str(), ToUtf8(value).c_str());
}

int Read(platform::Platform& platform, const std::wstring& package, const std::vector<std::wstring>& properties) {
  ICBSMSIDatabase database(platform, package);
  if (database.Handle() == 0) {
    Print(L"open_error", database.LastError());
    return 1;
  }
  for (const std::wstring& property : properties) {
    ICBSMSIDatabaseQuery value(database, L"SELECT Value FROM Property WHERE Property=?", {property});
    Print(property, value.Fetch() ? value.StringField(1) : L"<none>");
  }
  ICBSMSIDatabaseQuery files(database, L"SELECT File, FileName, Attributes FROM File");
  while (files.Fetch()) {
    Print(L"file:" + files.StringField(1), files.StringField(2) + L"|" + std::to_wstring(files.IntegerField(3)));
  }
  return 0;
}

int Run(const std::vector<std::wstring>& args) {
  if (args.size() < 2) return 2;
  auto platform = platform::win32::CreatePlatform();
  if (args[0] == L"merge" && args.size() == 4) {
    SetupLog log(*platform->files, *platform->installer);
    log.Open(args[3], 0x397, 0);
    ApplyCommandLineTransforms(*platform, log, args[1], args[2], std::filesystem::current_path().wstring());
    return 0;
  }
  if (args[0] == L"read") return Read(*platform, args[1], std::vector<std::wstring>(args.begin() + 2, args.end()));
  return 2;
}

}  // namespace
}  // namespace setup

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args(argv + 1, argv + argc);
  return setup::Run(args);
}
