// Fuzz target: INI files of any content load, change and save without a fault.
#include "foundation/ini_file.h"
#include "config_file_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  setup::fuzzing::Exercise<setup::ICBSIniFile>(data, size);
  return 0;
}
