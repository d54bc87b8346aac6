// TabPrinting: finds the device behind the printer, reads its tab stock
// table, runs one of the two tab dialogs and hands the job's tab list, tab
// stock, cassette and image shift back through the caller's buffers.
#pragma once

namespace tabprint {

// Modes 1 to 3 run the primary tab dialog, every other the tab print dialog.
// `tabListOut` holds TabListCapacity(tabListIn) bytes, `imageShift` (may be
// null) kImageShiftSize. Always 1.
int TabPrinting(unsigned mode, char* tabListOut, int* manufacturerIndex, int* cassetteIndex,
                char* imageShift, const char* tabListIn, const char* printerName);

}  // namespace tabprint
