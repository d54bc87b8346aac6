// The window interface of the Windows build: real dialogs and controls.
#pragma once

#include "platform/window.h"

namespace platform::win32 {

class Win32WindowSystem : public WindowSystem {
 public:
  int RunModalDialog(const resources::DialogTemplate& dialogTemplate, bool fromModule,
                     DialogEvents& events) override;
};

}  // namespace platform::win32
