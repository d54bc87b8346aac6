// A user script for the real dialogs: given in VX5PRCFG_USER, as on the
// simulated machine, it turns the Windows build into one a script drives.
// Each dialog then plays its share of the statements from its own message
// loop (win32_window_system.cpp), message boxes are recorded and answered
// instead of shown (win32_user_interface.cpp), and everything the user saw
// goes to the trace file named by VX5PRCFG_TRACE in the simulated machine's
// form. Without a script nothing changes: a person uses the dialogs.
#pragma once

#include <mutex>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/scripted/script_player.h"
#include "platform/scripted/trace.h"

namespace platform::win32 {

// VX5PRCFG_PICTURES: a folder that receives a picture of each scripted dialog
// (TEMPLATE.bmp) once its statements are played, before it closes.
inline constexpr const char* kPicturesVariable = "VX5PRCFG_PICTURES";

class ScriptSession {
 public:
  // The process's session, made on first use; null when no script is given.
  static ScriptSession* Current();

  // The statements of every dialog, in order.
  scripted::User& user() { return user_; }
  // Writes one record to the trace; the threads of a call may share it.
  void Record(const nlohmann::json& record);
  // Empty when no pictures are asked for.
  const std::string& picturesFolder() const { return picturesFolder_; }

  ScriptSession(std::vector<scripted::ScriptStatement> statements, scripted::Trace trace,
                std::string picturesFolder);

 private:
  std::mutex mutex_;
  scripted::ScriptUser user_;
  scripted::Trace trace_;
  std::string picturesFolder_;
};

}  // namespace platform::win32
