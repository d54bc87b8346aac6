// The box password prompt's C entry point. No exception may cross into the
// driver: a failure answers as a device that could not be asked.
#include "exports/export_guard.h"
#include "exports/vx5prcfg.h"
#include "prompts/box_password_dialog.h"

extern "C" {

VX5PRCFG_API int CheckBoxPassword(const char* queueName, const char* variant, const char* boxNumber,
                                  const char* password, char* entered, void* queue) {
  return exports::Guarded(prompts::kBoxNotAsked, [&] {
    return prompts::CheckBoxPassword(queueName, variant, boxNumber, password, entered, queue);
  });
}

}  // extern "C"
