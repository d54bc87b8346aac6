// The module's single application object. It has no data and does nothing
// of its own: its construction at load makes the framework's application
// exist, as the driver's process expects of the library.
#pragma once

#include "framework/application.h"

namespace prompts {

// The module's name, which also captions the framework's own messages.
inline constexpr const char* kModuleName = "vx5prcfg";

class CVx5PrCfgApp : public framework::Application {
 public:
  CVx5PrCfgApp() : framework::Application(kModuleName) {}
};

// The instance constructed by static initialisation.
CVx5PrCfgApp& TheApp();

}  // namespace prompts
