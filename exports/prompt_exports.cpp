// The prompts' C entry points. No exception may cross into the driver: a
// failure answers as a cancelled prompt.
#include "exports/export_guard.h"
#include "exports/vx5prcfg.h"
#include "prompts/dept_code_dialog.h"

extern "C" {

VX5PRCFG_API int ValidateDepartmentCode(char* deptCode) {
  return exports::Guarded(0, [&] { return prompts::PromptForDeptCode(deptCode); });
}

}  // extern "C"
