// setuppack --template setuplauncher.exe --setup setup.json --out Setup.exe
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "pack_error.h"
#include "setup_pack.h"

namespace {

constexpr const char* kUsage =
    "usage: setuppack --template setuplauncher.exe --setup setup.json --out Setup.exe\n";

int Run(int argc, char** argv) {
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
                   argv[i], kUsage);
      return 2;
    }
    *target = argv[++i];
  }
  if (template_path.empty() || description.empty() || output.empty()) {
    std::fprintf(stderr, "setuppack: --template, --setup and --out are required\n%s", kUsage);
    return 2;
  }
  try {
    setup::pack::PackSetup(std::filesystem::u8path(template_path), std::filesystem::u8path(description),
                           std::filesystem::u8path(output));
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

int main(int argc, char** argv) { return Run(argc, argv); }
