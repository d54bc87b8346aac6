// What the topmost prompts do at the start of their initialisation: come to
// the top of the z-order, then take their title and control texts from the
// string table (each loaded as LoadStringA does into a caption-sized buffer).
#pragma once

#include <span>

namespace framework {
class Dialog;
}

namespace prompts {

// A text set at run time: string `stringId` into `control`.
struct RuntimeText {
  int control;
  int stringId;
};
// The "control" that stands for the window's title.
inline constexpr int kTitleText = 0;

// SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER).
void MakeTopmost(framework::Dialog& dialog);

void SetRuntimeTexts(framework::Dialog& dialog, std::span<const RuntimeText> texts);

}  // namespace prompts
