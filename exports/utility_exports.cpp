// The module utilities' C entry points. No exception may cross into the
// driver: a failure answers as the export's failure value.
#include "exports/vx5prcfg.h"
#include "prompts/module_utilities.h"

extern "C" {

VX5PRCFG_API unsigned int GetShortPathNameFromDll(const char* longPath, char* shortPath) {
  try {
    return prompts::ShortPathNameFromDll(longPath, shortPath);
  } catch (...) {
    return 0;
  }
}

VX5PRCFG_API int GetCurrentTimeS(char* text) {
  try {
    return prompts::CurrentTimeText(text);
  } catch (...) {
    return 0;
  }
}

VX5PRCFG_API int GetCurrentTimePJL(char* text) {
  try {
    return prompts::CurrentTimePjl(text);
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
