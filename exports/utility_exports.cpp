// The module utilities' C entry points. No exception may cross into the
// driver: a failure answers as the export's failure value.
#include "exports/export_guard.h"
#include "exports/vx5prcfg.h"
#include "prompts/module_utilities.h"

extern "C" {

VX5PRCFG_API unsigned int GetShortPathNameFromDll(const char* longPath, char* shortPath) {
  return exports::Guarded(0u, [&] { return prompts::ShortPathNameFromDll(longPath, shortPath); });
}

VX5PRCFG_API int GetCurrentTimeS(char* text) {
  return exports::Guarded(0, [&] { return prompts::CurrentTimeText(text); });
}

VX5PRCFG_API int GetCurrentTimePJL(char* text) {
  return exports::Guarded(0, [&] { return prompts::CurrentTimePjl(text); });
}

}  // extern "C"
