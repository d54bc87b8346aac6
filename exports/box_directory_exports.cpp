// The box directory's C entry points. No exception may cross into the
// driver: a failure answers -1, leaving the caller's pointer as it was.
#include "exports/export_guard.h"
#include "exports/vx5prcfg.h"
#include "queries/box_directory.h"

extern "C" {

VX5PRCFG_API int GetBoxInfo(const char* queueName, int variant, Vx5BoxRecord** boxes, void* queue) {
  return exports::Guarded(queries::kBoxQueryFailed,
                          [&] { return queries::GetBoxInfo(queueName, variant, boxes, queue); });
}

VX5PRCFG_API int GetBoxInfo9x(const char* queueName, const char* variant, const char* boxFilePath) {
  return exports::Guarded(queries::kBoxQueryFailed,
                          [&] { return queries::GetBoxInfo9x(queueName, variant, boxFilePath); });
}

}  // extern "C"
