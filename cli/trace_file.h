// The simulated machine reports what the user saw (message boxes, dialogs,
// control dumps) as JSON lines in the file named by VX5PRCFG_TRACE. The CLI
// names a temporary file before loading the library and reads it after each
// call.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace prcfg {

inline constexpr char kTraceVariable[] = "VX5PRCFG_TRACE";

// A temporary file, removed when this goes.
class TraceFile {
 public:
  TraceFile();  // throws std::runtime_error when no file can be made
  ~TraceFile();
  TraceFile(const TraceFile&) = delete;
  TraceFile& operator=(const TraceFile&) = delete;

  const std::string& path() const { return path_; }

  // Complete lines written since the last read.
  std::vector<std::string> ReadNewLines();

 private:
  std::string path_;
  std::uint64_t consumed_ = 0;
};

// The trace's events sorted by what the CLI does with them.
struct TraceEvents {
  std::optional<std::uint32_t> ansiCodePage;  // from the machine record
  std::vector<std::string> profileErrors;
  nlohmann::ordered_json ui = nlohmann::ordered_json::array();  // as written
};

// Sorts `lines` into `events`; a line that is not a JSON object becomes a
// "trace_text" event so nothing is lost.
void AbsorbTraceLines(const std::vector<std::string>& lines, TraceEvents& events);

}  // namespace prcfg
