// The yardstick of the backup-size benchmark: the plainest Win32 program that sums the sizes
// of every file below a folder with FindFirstFileW and FindNextFileW.
//   find-files-sum <folder>   prints "ms=<elapsed> bytes=<total> files=<count>"
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

void Sum(const std::wstring& folder, unsigned long long& bytes, unsigned long long& files) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0) {
        Sum(folder + L"\\" + data.cFileName, bytes, files);
      }
      continue;
    }
    bytes += (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    ++files;
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: find-files-sum <folder>\n");
    return 2;
  }
  unsigned long long bytes = 0;
  unsigned long long files = 0;
  const auto started = std::chrono::steady_clock::now();
  Sum(argv[1], bytes, files);
  const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  std::printf("ms=%.1f bytes=%llu files=%llu\n", elapsed, bytes, files);
  return 0;
}
