// The job-time prompts' C entry points: scheduled time, DIN and inserter
// paper size. No exception may cross into the driver: a failure answers as
// a cancelled prompt.
#include "exports/export_guard.h"
#include "exports/vx5prcfg.h"
#include "prompts/din_dialog.h"
#include "prompts/inserter_paper_dialog.h"
#include "prompts/schedule_time_dialog.h"

using exports::Guarded;

extern "C" {

VX5PRCFG_API int ScheduleDateTime(char* text, char* seconds, int rangeMode) {
  return Guarded(0, [&] { return prompts::ScheduleDateTime(text, seconds, rangeMode); });
}

VX5PRCFG_API int ScheduleDateTime16(char* text, char* stamp) {
  return Guarded(0, [&] { return prompts::ScheduleDateTime16(text, stamp); });
}

VX5PRCFG_API int ValidateDIN(char* din) {
  return Guarded(0, [&] { return prompts::ValidateDin(din); });
}

VX5PRCFG_API int ValidateDIN1(char** din) {
  return Guarded(0, [&] { return prompts::ValidateDin1(din); });
}

VX5PRCFG_API int GetInserterPaperSelected(int* paperCode, int* inverted, int initialPaper) {
  return Guarded(
      0, [&] { return prompts::GetInserterPaperSelected(paperCode, inverted, initialPaper); });
}

}  // extern "C"
