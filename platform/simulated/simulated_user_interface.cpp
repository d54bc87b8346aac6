#include "platform/simulated/simulated_user_interface.h"

namespace platform::simulated {

int SimulatedUserInterface::MessageBox(WindowHandle owner, std::string_view text,
                                       std::string_view caption, unsigned type) {
  MessageBoxRecord record{std::nullopt, std::string(text), std::string(caption), type, kIdOk};
  if (owner != nullptr && ownerResolver_) record.ownerTemplateId = ownerResolver_(owner);

  nlohmann::json event = {{"event", "message_box"},
                          {"owner", nullptr},
                          {"caption_hex", HexBytes(record.caption)},
                          {"text_hex", HexBytes(record.text)},
                          {"type", record.type},
                          {"result", record.result}};
  if (record.ownerTemplateId) event["owner"] = *record.ownerTemplateId;
  trace_.Write(event);
  messageBoxes_.push_back(std::move(record));
  return kIdOk;
}

}  // namespace platform::simulated
