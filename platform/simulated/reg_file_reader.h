// Reader of registry export files (.reg), the format of machine profiles:
// "Windows Registry Editor Version 5.00" or "REGEDIT4", UTF-8 (BOM optional)
// or UTF-16LE with BOM.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/simulated/registry_tree.h"

namespace platform::simulated {

// A refused file; what() is "source:line: what is wrong".
class RegFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Applies the export in `bytes` to `tree` as regedit imports it: keys are
// created, "[-key]" removes a subtree, "name"=- removes a value. `source`
// names the text in error messages. A malformed file throws RegFileError and
// leaves the tree as it was.
void ApplyRegFile(RegistryTree& tree, std::string_view bytes, std::string_view source);

// Reads the export file at `path` into a new tree; a file that cannot be read
// throws RegFileError ("path: cannot read ...").
RegistryTree ReadRegFile(const std::string& path);

}  // namespace platform::simulated
