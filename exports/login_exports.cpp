// The device login's C entry points. No exception may cross into the
// driver: a failure answers as a cancelled login.
#include "exports/export_guard.h"
#include "exports/vx5prcfg.h"
#include "prompts/login_dialog.h"

using exports::Guarded;

extern "C" {

VX5PRCFG_API int IsVezurOruvaUser(char* userName, char* password, const char* queueName,
                                  void* /*reserved*/, int requestKind) {
  return Guarded(
      0, [&] { return prompts::IsVezurOruvaUser(userName, password, queueName, requestKind); });
}

VX5PRCFG_API int IsVezurOruvaUser16(char* userName, char* password, const char* queueName,
                                    void* /*reserved*/, unsigned int* requestKind) {
  return Guarded(
      0, [&] { return prompts::IsVezurOruvaUser16(userName, password, queueName, requestKind); });
}

}  // extern "C"
