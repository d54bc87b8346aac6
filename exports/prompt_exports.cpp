// The prompts' C entry points. No exception may cross into the driver: a
// failure answers as a cancelled prompt.
#include "exports/vx5prcfg.h"
#include "prompts/dept_code_dialog.h"

extern "C" {

VX5PRCFG_API int ValidateDepartmentCode(char* deptCode) {
  try {
    return prompts::PromptForDeptCode(deptCode);
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
