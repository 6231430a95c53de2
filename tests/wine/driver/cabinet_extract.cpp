// cabinet-extract.exe CABINET FOLDER: expands every file of a cabinet into FOLDER through the
// system's cabinet decompression interface (FDI), as the launcher's extractor does; prints one
// line per file ("name size") and exits with 0, or prints the FDI error and exits with 1.
#include <windows.h>
#include <fcntl.h>
#include <fdi.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string g_folder;

FNALLOC(Allocate) { return std::malloc(cb); }
FNFREE(Free) { std::free(pv); }
FNOPEN(Open) { return _open(pszFile, oflag | _O_BINARY, pmode); }
FNREAD(Read) { return static_cast<UINT>(_read(static_cast<int>(hf), pv, cb)); }
FNWRITE(Write) { return static_cast<UINT>(_write(static_cast<int>(hf), pv, cb)); }
FNCLOSE(Close) { return _close(static_cast<int>(hf)); }
FNSEEK(Seek) { return _lseek(static_cast<int>(hf), dist, seektype); }

FNFDINOTIFY(Notify) {
  switch (fdint) {
    case fdintCOPY_FILE: {
      std::string target = g_folder + "\\" + pfdin->psz1;
      std::printf("%s %ld\n", pfdin->psz1, pfdin->cb);
      return _open(target.c_str(), _O_BINARY | _O_CREAT | _O_TRUNC | _O_WRONLY, _S_IREAD | _S_IWRITE);
    }
    case fdintCLOSE_FILE_INFO:
      _close(static_cast<int>(pfdin->hf));
      return TRUE;
    default:
      return 0;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: cabinet-extract CABINET FOLDER\n");
    return 2;
  }
  std::string cabinet = argv[1];
  g_folder = argv[2];
  std::size_t slash = cabinet.find_last_of('\\');
  std::string path = slash == std::string::npos ? "" : cabinet.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? cabinet : cabinet.substr(slash + 1);
  ERF error{};
  HFDI context = FDICreate(Allocate, Free, Open, Read, Write, Close, Seek, cpuUNKNOWN, &error);
  if (context == nullptr) {
    std::printf("FDICreate failed: %d\n", error.erfOper);
    return 1;
  }
  BOOL copied = FDICopy(context, name.data(), path.data(), 0, Notify, nullptr, nullptr);
  FDIDestroy(context);
  std::fflush(stdout);
  if (!copied) {
    std::printf("FDICopy failed: %d\n", error.erfOper);
    return 1;
  }
  return 0;
}
