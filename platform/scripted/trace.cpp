#include "platform/scripted/trace.h"

#include <cstdio>
#include <cstdlib>

namespace platform::scripted {

Trace::Trace(const std::string& path) {
  if (path.empty()) return;
  file_ = std::make_unique<std::ofstream>(path, std::ios::app | std::ios::binary);
  if (!*file_) {
    std::fprintf(stderr, "vx5prcfg: cannot write the trace %s\n", path.c_str());
    file_.reset();
  }
}

Trace Trace::FromEnvironment() {
  const char* path = std::getenv(kTraceVariable);
  return path != nullptr ? Trace(path) : Trace();
}

void Trace::Write(const nlohmann::json& record) noexcept {
  try {
    if (capturing_) records_.push_back(record);
    if (file_) {
      // Another process may append to the same file: one flushed line each.
      *file_ << record.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
      file_->flush();
    }
  } catch (...) {
    // Out of memory while tracing: the record is lost, the call goes on.
  }
}

std::string HexBytes(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    hex.push_back(kDigits[byte >> 4]);
    hex.push_back(kDigits[byte & 0x0F]);
  }
  return hex;
}

}  // namespace platform::scripted
