// Model identification's C entry points. No exception may cross into the
// driver: a failure answers as the export's failure value.
#include "device/model_identification.h"
#include "exports/export_guard.h"
#include "exports/vx5prcfg.h"

namespace {

constexpr char kUnidentifiedAnswer[] = "ftmt";

}  // namespace

extern "C" {

VX5PRCFG_API int GetMFPModel(const char* queueName, const char* variant, void* queue) {
  return exports::Guarded(0, [&] { return device::GetMfpModel(queueName, variant, queue); });
}

VX5PRCFG_API void AbvPrinterCheck(const char* queueName, const char* variant, char* answer,
                                  void* queue) {
  try {
    device::AbvPrinterCheck(queueName, variant, answer, queue);
  } catch (...) {
    if (answer != nullptr) {
      for (std::size_t i = 0; i < sizeof kUnidentifiedAnswer; ++i)
        answer[i] = kUnidentifiedAnswer[i];
    }
  }
}

}  // extern "C"
