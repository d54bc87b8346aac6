#include "queries/dept_code_check.h"

#include <cstring>

#include "device/query_frame.h"
#include "device/query_variants.h"
#include "prompts/dept_code_dialog.h"

namespace queries {

std::optional<std::string> BuildDeptCodeOid(std::string_view code) {
  // A code too long for the buffer is never sent: the device cannot know it.
  if (kDeptCodeOidPrefix.size() + 1 + code.size() + 1 > kDeptCodeOidCapacity) return std::nullopt;
  std::string oid(kDeptCodeOidPrefix);
  oid += '.';
  oid += code;
  return oid;
}

int IsValidDeptCodeMck(const char* queueName, const char* variant, char* deptCode,
                       platform::PrinterHandle queue) {
  int answer = kDeptCodeCancelled;
  const device::FrameOutcome outcome = device::RunQuery(
      device::kIsValidDeptCodeMckQuery, {queueName, variant, queue},
      [&](device::QuerySession& session) {
        int value = kDeptCodeUnregistered;
        const std::size_t originalCodeLength = deptCode != nullptr ? std::strlen(deptCode) : 0;
        // An empty code asks the preferred session only and says nothing of
        // a failure: the prompt asks for a code instead.
        const device::RequestPattern pattern =
            originalCodeLength != 0 ? device::RequestPattern::kA : device::RequestPattern::kC;
        for (;;) {
          const std::string_view code = deptCode != nullptr ? deptCode : "";
          if (const std::optional<std::string> oid = BuildDeptCodeOid(code)) {
            const device::RequestResult result = session.Request(pattern, oid->c_str());
            if (result.failed && originalCodeLength != 0) {
              device::ShowNoConnectionMessage(device::kIsValidDeptCodeMckQuery.messageBufferSize);
              answer = kDeptCodeRequestFailed;
              return;
            }
            result.vb.get_value(value);
          }
          if (value != kDeptCodeUnregistered) {
            answer = kDeptCodeRegistered;
            return;
          }
          if (prompts::PromptForDeptCode(deptCode) != 1) {
            answer = kDeptCodeCancelled;
            return;
          }
        }
      });
  return outcome == device::FrameOutcome::kF1 ? kDeptCodeNoAddress : answer;
}

}  // namespace queries
