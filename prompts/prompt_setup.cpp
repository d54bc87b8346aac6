#include "prompts/prompt_setup.h"

#include <array>

#include "framework/dialog.h"
#include "framework/window_constants.h"
#include "prompts/module_text.h"

namespace prompts {

void MakeTopmost(framework::Dialog& dialog) {
  dialog.SetWindowPos(framework::kHwndTopMost, 0, 0, 0, 0,
                      framework::kSwpNoSize | framework::kSwpNoMove | framework::kSwpNoOwnerZOrder);
}

void SetRuntimeTexts(framework::Dialog& dialog, std::span<const RuntimeText> texts) {
  std::array<char, kCaptionTextCapacity> text{};
  for (const RuntimeText& runtimeText : texts) {
    LoadModuleText(runtimeText.stringId, text.data(), kCaptionTextCapacity);
    if (runtimeText.control == kTitleText) {
      dialog.SetWindowText(text.data());
    } else {
      dialog.SetDlgItemText(runtimeText.control, text.data());
    }
  }
}

}  // namespace prompts
