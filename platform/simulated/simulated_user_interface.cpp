#include "platform/simulated/simulated_user_interface.h"

#include "platform/scripted/script_player.h"

namespace platform::simulated {

int SimulatedUserInterface::MessageBox(WindowHandle owner, std::string_view text,
                                       std::string_view caption, unsigned type) {
  MessageBoxRecord record{std::nullopt, std::string(text), std::string(caption), type, kIdOk};
  if (owner != nullptr && ownerResolver_) record.ownerTemplateId = ownerResolver_(owner);

  trace_.Write(scripted::MessageBoxRecord(record.ownerTemplateId, record.text, record.caption,
                                          record.type, record.result));
  messageBoxes_.push_back(std::move(record));
  return kIdOk;
}

}  // namespace platform::simulated
