#include "prompts/application.h"

namespace prompts {
namespace {

// Constructed when the library is loaded, destroyed when it is unloaded.
CVx5PrCfgApp theApp;

}  // namespace

CVx5PrCfgApp& TheApp() { return theApp; }

}  // namespace prompts
