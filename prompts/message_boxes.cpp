#include "prompts/message_boxes.h"

#include <array>

#include "framework/dialog.h"
#include "platform/machine.h"
#include "prompts/module_text.h"
#include "resources/resource_ids.h"

namespace prompts {

int ShowPromptMessage(framework::Dialog& dialog, int textId) {
  std::array<char, kMessageTextCapacity> text{};
  LoadModuleText(textId, text.data(), kMessageTextCapacity);
  return dialog.MessageBox(text.data(), kPromptCaption, kModuleBoxType);
}

int ShowExportError(int textId) {
  std::string text;
  std::string caption;
  LoadModuleText(textId, text);
  LoadModuleText(IDS_STR_ERROR, caption);
  return platform::CurrentMachine().ui().MessageBox(nullptr, text, caption, kModuleBoxType);
}

}  // namespace prompts
