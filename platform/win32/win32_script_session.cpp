#include "platform/win32/win32_script_session.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace platform::win32 {

ScriptSession::ScriptSession(std::vector<scripted::ScriptStatement> statements,
                             scripted::Trace trace, std::string picturesFolder)
    : user_(std::move(statements)),
      trace_(std::move(trace)),
      picturesFolder_(std::move(picturesFolder)) {}

void ScriptSession::Record(const nlohmann::json& record) {
  std::lock_guard guard(mutex_);
  trace_.Write(record);
}

ScriptSession* ScriptSession::Current() {
  static const std::unique_ptr<ScriptSession> session = []() -> std::unique_ptr<ScriptSession> {
    const char* script = std::getenv(scripted::kUserVariable);
    if (script == nullptr) return nullptr;
    std::vector<scripted::ScriptStatement> statements;
    try {
      statements = scripted::ParseUserScript(script);
    } catch (const scripted::UserScriptError& error) {
      // Nobody can answer the dialogs: each one closes as by Escape.
      std::fprintf(stderr, "vx5prcfg: %s\n", error.what());
    }
    const char* pictures = std::getenv(kPicturesVariable);
    return std::make_unique<ScriptSession>(std::move(statements),
                                           scripted::Trace::FromEnvironment(),
                                           pictures != nullptr ? pictures : "");
  }();
  return session.get();
}

}  // namespace platform::win32
