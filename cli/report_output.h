// How the CLI shows one call: human-readable lines, or one JSON object
// {"export", "return", "out", "ui"}; faults of the call go to stderr.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string_view>

#include "cli/module_session.h"

namespace prcfg {

nlohmann::ordered_json ReportJson(const CallReport& report);

void PrintReport(std::ostream& out, const CallReport& report, std::string_view indent = "");

// Overruns, unterminated texts and machine profile errors. Returns whether
// the call overran a buffer.
bool PrintFaults(std::ostream& err, const CallReport& report);

}  // namespace prcfg
