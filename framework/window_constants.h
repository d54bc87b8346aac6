// The Win32 values the framework and the prompts speak in, as framework::k...
#pragma once

#include "platform/window_constants.h"

namespace framework {
using namespace platform::window;
}  // namespace framework
