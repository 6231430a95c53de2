// setuppack --template setuplauncher.exe --setup setup.json --out Setup.exe
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/text.h"
#include "pack_error.h"
#include "setup_pack.h"

namespace {

std::filesystem::path Utf8Path(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

constexpr const char* kUsage =
    "usage: setuppack --template setuplauncher.exe --setup setup.json --out Setup.exe\n";

int Run(const std::vector<std::string>& argv) {
  const int argc = static_cast<int>(argv.size());
  std::string template_path, description, output;
  for (int i = 1; i < argc; ++i) {
    std::string_view option = argv[i];
    std::string* target = option == "--template" ? &template_path
                          : option == "--setup"  ? &description
                          : option == "--out"    ? &output
                                                 : nullptr;
    if (option == "--help" || option == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (target == nullptr || i + 1 >= argc) {
      std::fprintf(stderr, "setuppack: %s '%s'\n%s", target == nullptr ? "unknown option" : "missing value for",
                   argv[i].c_str(), kUsage);
      return 2;
    }
    *target = argv[++i];
  }
  if (template_path.empty() || description.empty() || output.empty()) {
    std::fprintf(stderr, "setuppack: --template, --setup and --out are required\n%s", kUsage);
    return 2;
  }
  try {
    const auto report = setup::pack::PackSetup(Utf8Path(template_path), Utf8Path(description), Utf8Path(output));
    if (report.certificate_table_dropped) {
      std::fprintf(stderr, "setuppack: the template '%s' is signed: its certificate table is left out, "
                   "sign '%s' after packing\n", template_path.c_str(), output.c_str());
    }
  } catch (const setup::pack::PackError& error) {
    std::fprintf(stderr, "setuppack: %s\n", error.what());
    return 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "setuppack: %s\n", error.what());
    return 1;
  }
  return 0;
}

}  // namespace

#ifdef _WIN32
// Windows hands over the command line as UTF-16; arguments are carried as UTF-8 inside.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(setup::ToUtf8(argv[i]));
  return Run(arguments);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv, argv + argc)); }
#endif
