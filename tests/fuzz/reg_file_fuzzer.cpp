// Any bytes given to the .reg reader are read or refused with RegFileError;
// anything else (a crash, a sanitizer report, another exception) is a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/simulated/reg_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using platform::simulated::RegFileError;
  platform::simulated::RegistryTree tree;
  try {
    ApplyRegFile(tree, std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.reg");
  } catch (const RegFileError&) {
  }
  return 0;
}
