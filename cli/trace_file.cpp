#include "cli/trace_file.h"

#include <filesystem>
#include <fstream>

#include "cli/host_system.h"

namespace prcfg {
namespace {

constexpr char kTracePrefix[] = "prcfg-trace-";

}  // namespace

TraceFile::TraceFile() : path_(CreateTemporaryFile(kTracePrefix)) {}

TraceFile::~TraceFile() {
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

std::vector<std::string> TraceFile::ReadNewLines() {
  std::vector<std::string> lines;
  std::ifstream in(path_, std::ios::binary);
  if (!in) return lines;
  in.seekg(static_cast<std::streamoff>(consumed_));
  std::string line;
  // A line without its newline is still being written: leave it for later.
  while (std::getline(in, line) && !in.eof()) {
    consumed_ += line.size() + 1;
    if (!line.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

void AbsorbTraceLines(const std::vector<std::string>& lines, TraceEvents& events) {
  for (const std::string& line : lines) {
    auto event = nlohmann::ordered_json::parse(line, nullptr, /*allow_exceptions=*/false);
    if (!event.is_object()) {
      events.ui.push_back({{"event", "trace_text"}, {"text", line}});
      continue;
    }
    const std::string kind = event.value("event", "");
    if (kind == "machine") {
      if (event.contains("ansi_code_page") && event["ansi_code_page"].is_number_unsigned()) {
        events.ansiCodePage = event["ansi_code_page"].get<std::uint32_t>();
      }
    } else if (kind == "profile_error") {
      events.profileErrors.push_back(event.value("message", line));
    } else {
      events.ui.push_back(std::move(event));
    }
  }
}

}  // namespace prcfg
