// Fuzz target: XML configuration files of any content load, change and save without a fault.
#include "foundation/xml_ini_file.h"
#include "config_file_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  setup::fuzzing::Exercise<setup::ICBSXMLIniFile>(data, size);
  return 0;
}
