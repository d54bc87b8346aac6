// The module as the driver sees it: the library loaded, exports found by
// name, and what each call showed the user read back from the machine's
// trace.
#pragma once

#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/ansi_text.h"
#include "cli/call_arguments.h"
#include "cli/export_table.h"
#include "cli/host_system.h"
#include "cli/trace_file.h"

namespace prcfg {

struct CallReport {
  std::string exportName;
  std::optional<long long> returned;  // nothing for a void export
  nlohmann::ordered_json out = nlohmann::ordered_json::object();
  nlohmann::ordered_json ui = nlohmann::ordered_json::array();
  std::vector<std::string> overruns;
  std::vector<std::string> unterminated;
  std::vector<std::string> profileErrors;
};

class ModuleSession {
 public:
  // Names a fresh trace file in the environment, then loads the library.
  // Throws std::runtime_error when the library cannot be loaded.
  // `codePage` stands until the machine's own record says otherwise.
  explicit ModuleSession(const std::string& libraryPath,
                         std::uint32_t codePage = kDefaultAnsiCodePage);
  ~ModuleSession();
  ModuleSession(const ModuleSession&) = delete;
  ModuleSession& operator=(const ModuleSession&) = delete;

  bool Defines(const ExportRow& row) const;
  // The export must be defined.
  CallReport Call(const ExportRow& row, CallArguments& args);

  std::uint32_t AnsiCodePage() const;

 private:
  TraceFile trace_;
  TraceEvents events_;
  std::uint32_t profileCodePage_;
  std::unique_ptr<LoadedLibrary> library_;
};

}  // namespace prcfg
