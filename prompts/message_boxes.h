// The module's message boxes: one OK button, no icon (type 0). A prompt's
// box is owned by its dialog and carries the product caption; a box an
// export raises without a dialog has no owner and the caption "Error" (5007).
#pragma once

#include <string_view>

namespace framework {
class Dialog;
}

namespace prompts {

inline constexpr std::string_view kPromptCaption = "NORVANE k-ORBITA730-940";
inline constexpr unsigned kModuleBoxType = 0;  // MB_OK

// Text `textId` (loaded into a message buffer), owned by `dialog`.
int ShowPromptMessage(framework::Dialog& dialog, int textId);
// Text `textId` with caption 5007, no owner.
int ShowExportError(int textId);

}  // namespace prompts
