// Creates a package folder as the unpacking does and reads its access list back through the
// system's own security functions, one "name=value" line each:
//   created=<1|0>                  the folder exists afterwards
//   protected=<1|0>                the list does not inherit from the parent folder
//   ace=<type> <flags> <mask> <sid> every entry in list order (type and flags in decimal, mask
//                                  in hex, the account as a SID string)
//   folder-access-probe <folder> <log file>   (the setup log of the creation, every level)
//   folder-access-probe --read <path>          (only reads the list of an existing folder or file)
#include <cstdio>
#include <string>

#include "extraction/package_folder.h"
#include "foundation/text.h"
#include "platform/win32/win32_ports.h"

// After the launcher's headers: the macros of <windows.h> would rename their methods.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

namespace {

std::string SidText(PSID sid) {
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(sid, &text)) return "?";
  std::string result = setup::ToUtf8(text);
  LocalFree(text);
  return result;
}

void PrintAccessList(const std::wstring& folder) {
  PACL acl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  std::wstring name = folder;
  const DWORD read = GetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                           &acl, nullptr, &descriptor);
  if (read != ERROR_SUCCESS) {
    std::printf("read_error=%lu\n", read);
    return;
  }
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (GetSecurityDescriptorControl(descriptor, &control, &revision)) {
    std::printf("protected=%d\n", (control & SE_DACL_PROTECTED) ? 1 : 0);
  }
  for (DWORD i = 0; acl && i < acl->AceCount; ++i) {
    void* entry = nullptr;
    if (!GetAce(acl, i, &entry)) continue;
    const auto* header = static_cast<const ACE_HEADER*>(entry);
    // Allowed and denied entries share one layout: header, mask, then the SID.
    const auto* access = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    std::printf("ace=%u %u %08lx %s\n", header->AceType, header->AceFlags, access->Mask,
                SidText(const_cast<DWORD*>(&access->SidStart)).c_str());
  }
  LocalFree(descriptor);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace setup;
  if (argc != 3) {
    std::fprintf(stderr, "usage: folder-access-probe <folder> <log file> | --read <path>\n");
    return 2;
  }
  if (std::wstring(argv[1]) == L"--read") {
    PrintAccessList(argv[2]);
    return 0;
  }
  auto platform = platform::win32::CreatePlatform();
  SetupLog log(*platform->files, *platform->installer);
  constexpr std::uint32_t kEveryLevel = 0x397;
  log.Open(argv[2], kEveryLevel, 0);
  std::printf("created=%d\n", CreatePackageFolder(*platform, log, argv[1]) ? 1 : 0);
  PrintAccessList(argv[1]);
  return 0;
}
