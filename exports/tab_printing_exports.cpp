// Tab printing's C entry point. It has no failure result: should anything be
// thrown, it still answers 1.
#include "exports/export_guard.h"
#include "exports/vx5prcfg.h"
#include "tabprint/tab_printing.h"

extern "C" {

VX5PRCFG_API int TabPrinting(unsigned int mode, char* tabListOut, int* manufacturerIndex,
                             int* cassetteIndex, char* imageShift, const char* tabListIn,
                             const char* printerName) {
  return exports::Guarded(1, [&] {
    return tabprint::TabPrinting(mode, tabListOut, manufacturerIndex, cassetteIndex, imageShift,
                                 tabListIn, printerName);
  });
}

}  // extern "C"
