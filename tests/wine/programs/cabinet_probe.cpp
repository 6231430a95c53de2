// Expands a cabinet file with the launcher's extractor over the real Cabinet.dll and prints
// what happened, one "name=value" line each: the files announced, the result, the disk-full
// flag, and for every file left the creation time as a local MS-DOS date and time.
//   cabinet-probe <cabinet file> <destination folder>
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/cabinet_extractor.h"
#include "foundation/text.h"
#include "platform/win32/win32_ports.h"

// After the launcher's headers: the macros of <windows.h> would rename their methods.
#include <windows.h>

namespace setup {
namespace {

class PrintingSink : public ICBSCabinetProgressCallbacks {
 public:
  void OnPercent(int percent) override { lastPercent = percent; }
  void OnBytes(unsigned) override {}
  int GetProgressRange() override { return 0; }
  void OnFileStart(std::wstring_view path) override {
    files.emplace_back(path);
    std::printf("start=%s\n", ToUtf8(path).c_str());
  }

  int lastPercent = -1;
  std::vector<std::wstring> files;
};

void PrintCreationTime(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::printf("absent=%s\n", ToUtf8(path).c_str());
    return;
  }
  FILETIME created{};
  FILETIME local{};
  WORD date = 0;
  WORD time = 0;
  if (GetFileTime(file, &created, nullptr, nullptr) && FileTimeToLocalFileTime(&created, &local) &&
      FileTimeToDosDateTime(&local, &date, &time)) {
    std::printf("created=%s %u %u\n", ToUtf8(path).c_str(), date, time);
  }
  CloseHandle(file);
}

}  // namespace
}  // namespace setup

int wmain(int argc, wchar_t** argv) {
  using namespace setup;
  if (argc != 3) return 2;
  auto platform = platform::win32::CreatePlatform();
  PrintingSink sink;
  bool extracted = false;
  {
    ICBSCabinetExtractor extractor(*platform, argv[1], argv[2]);
    extracted = extractor.Extract(sink);
  }
  std::printf("extract=%d\ndisk_full=%d\n", extracted ? 1 : 0, ICBSCabinetExtractor::DiskFull() ? 1 : 0);
  for (const std::wstring& file : sink.files) PrintCreationTime(file);
  return 0;
}
