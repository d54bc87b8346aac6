// The device queries' C entry points: policy flags, box and HSP status and
// the profile table. No exception may cross into the driver: a failure
// answers as the export's failure value.
#include <algorithm>
#include <cstring>

#include "exports/export_guard.h"
#include "exports/vx5prcfg.h"
#include "queries/box_status.h"
#include "queries/policy_flags.h"
#include "queries/profile_strings.h"

using exports::Guarded;

extern "C" {

VX5PRCFG_API int IsDeptCodeEnforced(const char* queueName, const char* variant, void* queue) {
  return Guarded(queries::kPolicyOff,
                 [&] { return queries::IsDeptCodeEnforced(queueName, variant, queue); });
}

VX5PRCFG_API int IsConfirmDialogEnforced(const char* queueName, const char* variant, void* queue) {
  return Guarded(queries::kPolicyOff,
                 [&] { return queries::IsConfirmDialogEnforced(queueName, variant, queue); });
}

VX5PRCFG_API int IsUserAccountenforced(const char* queueName, const char* variant, void* queue) {
  return Guarded(queries::kPolicyOff,
                 [&] { return queries::IsUserAccountEnforced(queueName, variant, queue); });
}

VX5PRCFG_API int IsBlackFreeModeEnabled(const char* queueName, const char* variant, void* queue) {
  return Guarded(queries::kPolicyOff,
                 [&] { return queries::IsBlackFreeModeEnabled(queueName, variant, queue); });
}

VX5PRCFG_API int IsPrivPasswordEncryptEnabled(const char* queueName, const char* variant,
                                              void* queue) {
  return Guarded(queries::kPolicyOff,
                 [&] { return queries::IsPrivPasswordEncryptEnabled(queueName, variant, queue); });
}

VX5PRCFG_API int GetBoxStatusEx(const char* queueName, const char* variant, void* queue,
                                int* notOurs) {
  return Guarded(queries::kStatusOn,
                 [&] { return queries::GetBoxStatusEx(queueName, variant, queue, notOurs); });
}

VX5PRCFG_API int GetBoxStatus(const char* queueName, const char* variant, void* queue) {
  return GetBoxStatusEx(queueName, variant, queue, nullptr);
}

VX5PRCFG_API int GetHSPStatusEx(const char* queueName, const char* variant, void* queue,
                                int* notOurs) {
  return Guarded(queries::kStatusOn,
                 [&] { return queries::GetHspStatusEx(queueName, variant, queue, notOurs); });
}

VX5PRCFG_API int GetHSPStatus(const char* queueName, const char* variant, void* queue) {
  return GetHSPStatusEx(queueName, variant, queue, nullptr);
}

VX5PRCFG_API int GetAdvancedProfileStrings(int* settings, char* strings, const char* queueName,
                                           const char* variant, void* queue) {
  try {
    return queries::GetAdvancedProfileStrings(settings, strings, queueName, variant, queue);
  } catch (...) {
    // The blocks hold their initial contents on every path.
    if (strings != nullptr) std::memset(strings, 0, queries::kProfileStringsSize);
    if (settings != nullptr) {
      std::copy_n(queries::kInitialProfileSettings, queries::kProfileSettingsCount, settings);
    }
    return 0;
  }
}

}  // extern "C"
