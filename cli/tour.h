// `prcfg tour`: the demo. Walks the machine's printer queues through every
// export the library defines that takes a queue, and calls the others once.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/export_table.h"

namespace prcfg {

// The arguments the tour passes to `row`: the queue for its queue name,
// examples where the table has them, defaults elsewhere.
std::vector<std::string> TourArguments(const ExportRow& row,
                                       const std::optional<std::string>& queueName);

// Returns the process exit code: 4 when an export overran a buffer, else 0.
int RunTour(const std::string& libraryPath, const std::string& machinePath, bool json,
            std::ostream& out, std::ostream& err);

}  // namespace prcfg
