// The launcher templates import only KnownDLLs: Windows loads those from the system folder
// whatever lies beside the program, while any other imported library would be looked for
// first in the folder of Setup.exe (a Downloads folder) and run with administrator rights.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "binary_file.h"
#include "pe_image.h"

namespace {

using setup::pack::PeImage;

// KnownDLLs of every Windows the launcher supports (Windows 7 to 11 have all of these).
const std::set<std::string> kKnownDlls = {
    "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "gdi32.dll",   "imagehlp.dll", "imm32.dll",  "kernel32.dll",
    "msctf.dll",    "msvcrt.dll",  "normaliz.dll", "nsi.dll",     "ole32.dll",    "oleaut32.dll", "psapi.dll",
    "rpcrt4.dll",   "sechost.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll",  "user32.dll", "wldap32.dll",
    "ws2_32.dll",   "ntdll.dll"};

constexpr int kImportDirectory = 1;
constexpr int kDelayImportDirectory = 13;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::string NameAt(const PeImage& image, std::uint32_t rva) {
  std::string name;
  for (const std::uint8_t* p = image.AtRva(rva, 1); p && *p; p = image.AtRva(++rva, 1)) name += static_cast<char>(*p);
  return name;
}

// The library names of an import directory: descriptors of `entrySize` bytes, ended by a zero
// one, whose name field (an RVA) sits at `nameOffset`.
std::vector<std::string> LibraryNames(const PeImage& image, int directory, std::uint32_t entrySize,
                                      std::uint32_t nameOffset) {
  std::vector<std::string> names;
  const std::uint32_t start = image.Directory(directory).address;
  if (start == 0) return names;
  for (std::uint32_t at = start;; at += entrySize) {
    const std::uint8_t* entry = image.AtRva(at, entrySize);
    if (!entry) {
      ADD_FAILURE() << "import directory " << directory << " runs outside the file";
      break;
    }
    const std::uint32_t nameRva = setup::pack::ReadU32(entry + nameOffset);
    if (nameRva == 0) break;
    names.push_back(Lower(NameAt(image, nameRva)));
  }
  return names;
}

void ExpectOnlyKnownDllImports(const std::filesystem::path& path) {
  SCOPED_TRACE(path.string());
  ASSERT_TRUE(std::filesystem::exists(path)) << "build the win32 and win64 presets first";
  const PeImage image(setup::pack::ReadWholeFile(path), path.string());
  const std::vector<std::string> imports = LibraryNames(image, kImportDirectory, 20, 12);
  EXPECT_TRUE(std::count(imports.begin(), imports.end(), "kernel32.dll") == 1) << "the reader finds the imports";
  for (const std::string& name : imports) EXPECT_TRUE(kKnownDlls.count(name)) << "imports " << name;
  // Each further import costs every start its loading (advapi32 brings sechost and more):
  // everything beyond the kernel and the C runtime is loaded on first use.
  EXPECT_EQ(std::set<std::string>(imports.begin(), imports.end()), (std::set<std::string>{"kernel32.dll", "msvcrt.dll"}));
  for (const std::string& name : LibraryNames(image, kDelayImportDirectory, 32, 4)) {
    EXPECT_TRUE(kKnownDlls.count(name)) << "delay-imports " << name;
  }
}

TEST(LauncherImports, BothTemplatesImportOnlyKnownDlls) {
  ExpectOnlyKnownDllImports(SETUP_WIN32_TEMPLATE);
  ExpectOnlyKnownDllImports(SETUP_WIN64_TEMPLATE);
}

}  // namespace
