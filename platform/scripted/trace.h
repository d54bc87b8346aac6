// The simulated machine's record of what the user saw: JSON lines appended to
// the file named by VX5PRCFG_TRACE, and kept in memory when a test asks.
#pragma once

#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace platform::scripted {

inline constexpr const char* kTraceVariable = "VX5PRCFG_TRACE";

class Trace {
 public:
  // A trace that writes nowhere until told to.
  Trace() = default;
  // Appends to `path` (created when missing); an empty path writes nowhere.
  explicit Trace(const std::string& path);
  // The file named by VX5PRCFG_TRACE, if any.
  static Trace FromEnvironment();

  // Writes one record as one line. Never throws: a trace must not change
  // what the module does.
  void Write(const nlohmann::json& record) noexcept;

  void CaptureInMemory() { capturing_ = true; }
  const std::vector<nlohmann::json>& records() const { return records_; }

 private:
  std::unique_ptr<std::ofstream> file_;
  bool capturing_ = false;
  std::vector<nlohmann::json> records_;
};

// Bytes as lower-case hex digits, two per byte: texts in the ANSI code page
// travel through the trace unchanged this way.
std::string HexBytes(std::string_view bytes);

}  // namespace platform::scripted
