// Runs the file, registry and process utilities against the real platform and prints one
// "name=value" line per observation; the Wine test checks them and the state they leave.
//   foundation-probe files <root folder> <file with a version resource>
//   foundation-probe registry
//   foundation-probe wait
// (No <windows.h> here: its CopyFile macro would rename the utilities' CopyFile.)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "foundation/file_utilities.h"
#include "foundation/format.h"
#include "foundation/registry_key.h"
#include "foundation/text.h"
#include "platform/win32/win32_ports.h"

namespace setup {
namespace {

void Print(const char* name, std::wstring_view value) { std::printf("%s=%s\n", name, ToUtf8(value).c_str()); }
void Print(const char* name, long long value) { std::printf("%s=%lld\n", name, value); }

int Files(platform::Platform& platform, const std::wstring& root, const std::wstring& versioned) {
  ICBSFileUtilities files(platform);
  platform::FileSystem& fs = *platform.files;

  Print("create_tree", files.CreateFolderTree(root + L"\\one\\two\\three"));
  Print("tree_exists", files.FolderExists(root + L"\\one\\two\\three"));

  const std::wstring source = root + L"\\source.txt";
  fs.WriteFile(source, "probe data");
  Print("file_size", static_cast<long long>(files.FileSize(source)));
  Print("missing_size", static_cast<long long>(files.FileSize(root + L"\\missing.txt")));

  const std::wstring readOnly = root + L"\\readonly.txt";
  fs.WriteFile(readOnly, "old");
  fs.SetReadOnly(readOnly, true);
  Print("copy_fail_if_exists", files.CopyFile(source, readOnly, true));
  Print("copy_over_read_only", files.CopyFile(source, readOnly, false));
  Print("read_only_content", FromUtf8(fs.ReadFile(readOnly).value_or("<unreadable>")));

  // 300 characters: a folder below the limit of folder names (248) and a long file name.
  const std::wstring longFolder = root + L"\\long\\" + std::wstring(100, L'a') + L"\\" + std::wstring(100, L'b');
  const std::wstring longTarget = longFolder + L"\\" + std::wstring(300 - longFolder.size() - 5, L'n') + L".txt";
  Print("long_target_length", static_cast<long long>(longTarget.size()));
  Print("copy_long", files.CopyFile(source, longTarget, false));

  const std::wstring tree = root + L"\\tree";
  files.CreateFolderTree(tree + L"\\sub");
  fs.WriteFile(tree + L"\\sub\\locked.txt", "x");
  fs.SetReadOnly(tree + L"\\sub\\locked.txt", true);
  fs.WriteFile(tree + L"\\plain.txt", "x");
  Print("count_tree", files.CountFolders(tree));
  Print("delete_tree", files.DeleteFolderTree(tree));
  Print("tree_gone", !files.FileExists(tree));

  auto found = files.FindFiles(root, L"*.txt");
  std::sort(found.begin(), found.end());
  std::wstring names;
  for (const std::wstring& path : found) names += (names.empty() ? L"" : L",") + path.substr(root.size() + 1);
  Print("find_txt", names);
  Print("count_root", files.CountFolders(root));
  Print("version", files.FileVersionText(versioned));
  Print("no_version", files.FileVersionText(source));

  const std::wstring shared = root + L"\\shared";
  files.CreateFolderTree(shared);
  Print("everyone_before", files.HasFullAccess(shared, platform::kGenericAll, L"EVERYONE"));
  Print("grant", files.GrantEveryoneFullAccess(shared));
  Print("everyone_after", files.HasFullAccess(shared, platform::kGenericAll, L"EVERYONE"));
  Print("users_after", files.HasFullAccess(shared, platform::kGenericAll, L"Users"));
  // What the list holds, for the log of a failing run: mask/grants/form/account per entry.
  std::wstring entries;
  for (const platform::AccessEntry& entry : fs.ExplicitAccessEntries(shared).value_or(std::vector<platform::AccessEntry>())) {
    entries += Format(L"%x/%d/%d/%s;", entry.accessMask, entry.grants ? 1 : 0, static_cast<int>(entry.trustee),
                      entry.account);
  }
  Print("acl_entries", entries);
  return 0;
}

int Registry(platform::Platform& platform) {
  const wchar_t* const path = L"Software\\TarquelProbe";
  ICBSRegistryKey key32(*platform.registry);
  ICBSRegistryKey key64(*platform.registry);
  Print("open32", key32.Open(platform::RegistryRoot::LocalMachine, path, false, true, 0));
  Print("open64", key64.Open(L"HKEY_LOCAL_MACHINE\\Software\\TarquelProbe", false, true, platform::kRegistryView64));
  key32.WriteString(L"View", L"thirty-two");
  key32.WriteDword(L"Number", 32);
  key64.WriteString(L"View", L"sixty-four");
  Print("read32", key32.ReadString(L"View"));
  Print("read64", key64.ReadString(L"View"));
  Print("dword32", key32.ReadDword(L"Number"));
  Print("dword64", key64.ReadDword(L"Number"));

  // A string stored without its terminating NUL reads back complete.
  auto raw = platform.registry->Open(platform::RegistryRoot::LocalMachine, path, platform::RegistryAccess::All, false,
                                     platform::kRegistryView64);
  raw->SetValue(L"NoNul", {platform::kRegSz, ToUtf16LeBytes(L"complete")});
  Print("no_nul", key64.ReadString(L"NoNul"));

  ICBSRegistryKey deep(*platform.registry);
  deep.Open(platform::RegistryRoot::LocalMachine, L"Software\\TarquelProbe\\Tree\\A\\A1", false, true,
            platform::kRegistryView64);
  deep.Open(platform::RegistryRoot::LocalMachine, L"Software\\TarquelProbe\\Tree\\B", false, true,
            platform::kRegistryView64);
  deep.Close();
  ICBSRegistryKey tree(*platform.registry);
  tree.Open(platform::RegistryRoot::LocalMachine, L"Software\\TarquelProbe\\Tree", false, false,
            platform::kRegistryView64);
  std::wstring names;
  for (const ICBSRegistryKey& subkey : tree.EnumerateSubkeys()) {
    names += (names.empty() ? L"" : L",") + subkey.KeyPath() + (subkey.IsOpen() ? L"" : L"(closed)");
  }
  Print("subkeys", names);
  tree.Close();
  Print("delete_tree", key64.DeleteSubkeyTree(L"Tree"));
  Print("tree_gone", !ICBSRegistryKey(*platform.registry)
                          .Open(platform::RegistryRoot::LocalMachine, L"Software\\TarquelProbe\\Tree", true, false,
                                platform::kRegistryView64));
  Print("bad_root", ICBSRegistryKey(*platform.registry).Open(L"HKLM\\Software", true, false, 0));
  return 0;
}

int Wait(platform::Platform& platform) {
  ICBSFileUtilities files(platform);
  const auto started = std::chrono::steady_clock::now();
  Print("timeout_exit", files.Wait(L"cmd /c ping -n 30 127.0.0.1 >NUL", true, L"", {}, 0, false));
  Print("timeout_fast", std::chrono::steady_clock::now() - started < std::chrono::seconds(10));
  Print("exit_code", files.Wait(L"cmd /c exit 7", true, L"", {}, platform::kWaitForever, false));

  platform.processes->SetEnvironment(L"PROBE_CODE", L"9");
  Print("environment_exit",
        files.Wait(L"cmd /c exit %PROBE_CODE%", true, L"", {{L"PROBE_CODE", L"5"}, {L"PROBE_NEW", L"kept"}},
                   platform::kWaitForever, false));
  Print("environment_restored", platform.processes->GetEnvironment(L"PROBE_CODE").value_or(L"<unset>"));
  Print("environment_kept", platform.processes->GetEnvironment(L"PROBE_NEW").value_or(L"<unset>"));
  Print("working_folder", files.Wait(L"cmd /c if exist probe-marker.txt (exit 3) else (exit 4)", true, L"C:\\windows",
                                     {}, platform::kWaitForever, false));
  Print("no_wait", files.Wait(L"cmd /c exit 7", false, L"", {}, platform::kWaitForever, false));
  Print("start_failure", files.Wait(L"C:\\missing-program.exe", true, L"", {}, platform::kWaitForever, false));
  return 0;
}

}  // namespace
}  // namespace setup

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  auto platform = setup::platform::win32::CreatePlatform();
  if (command == L"files" && argc == 4) return setup::Files(*platform, argv[2], argv[3]);
  if (command == L"registry") return setup::Registry(*platform);
  if (command == L"wait") return setup::Wait(*platform);
  std::fprintf(stderr, "usage: foundation-probe files <root> <versioned file> | registry | wait\n");
  return 2;
}
