// The department code check's C entry point. No exception may cross into the
// driver: a failure answers as a request that could not be completed.
#include "exports/export_guard.h"
#include "exports/vx5prcfg.h"
#include "queries/dept_code_check.h"

extern "C" {

VX5PRCFG_API int IsValidDeptCodeMck(const char* queueName, const char* variant, char* deptCode,
                                    void* queue) {
  return exports::Guarded(queries::kDeptCodeRequestFailed, [&] {
    return queries::IsValidDeptCodeMck(queueName, variant, deptCode, queue);
  });
}

}  // extern "C"
