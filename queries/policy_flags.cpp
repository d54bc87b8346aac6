#include "queries/policy_flags.h"

#include <algorithm>
#include <cctype>

#include "device/query_frame.h"
#include "device/query_variants.h"

namespace queries {
namespace {

using device::FrameOutcome;
using device::QuerySession;
using device::RequestPattern;
using device::RequestResult;

bool Answers(const RequestResult& result, std::string_view expected) {
  return SameTextIgnoringCase(result.vb.get_printable_value(), expected);
}

// One object, sent with pattern C and compared whatever the send returned.
int SingleFlag(const device::QueryVariant& row, const char* oid, std::string_view on,
               const char* queueName, const char* variant, platform::PrinterHandle queue) {
  int answer = kPolicyOff;
  const FrameOutcome outcome =
      device::RunQuery(row, {queueName, variant, queue}, [&](QuerySession& session) {
        answer = Answers(session.Request(RequestPattern::kC, oid), on) ? kPolicyOn : kPolicyOff;
      });
  return outcome == FrameOutcome::kF1 ? kPolicyNoAddress : answer;
}

}  // namespace

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

int IsDeptCodeEnforced(const char* queueName, const char* variant, platform::PrinterHandle queue) {
  int answer = kPolicyOff;
  const FrameOutcome outcome = device::RunQuery(
      device::kIsDeptCodeEnforcedQuery, {queueName, variant, queue}, [&](QuerySession& session) {
        // The first request never counts as failed: an unanswered one reads
        // as empty text, which is not the expected value.
        if (!Answers(session.Request(RequestPattern::kB, kDeptCodeModeOid), kDeptCodeModeOn)) {
          return;
        }
        const RequestResult count = session.Request(RequestPattern::kA, kDeptCodeCountModeOid);
        if (count.failed || !Answers(count, kDeptCodeCountModeOn)) return;
        const RequestResult enabled = session.Request(RequestPattern::kA, kDeptCodeSwitchOid);
        if (enabled.failed || !Answers(enabled, kDeptCodeSwitchOn)) return;
        answer = kPolicyOn;
      });
  return outcome == FrameOutcome::kF1 ? kPolicyNoAddress : answer;
}

int IsConfirmDialogEnforced(const char* queueName, const char* variant,
                            platform::PrinterHandle queue) {
  return SingleFlag(device::kIsConfirmDialogEnforcedQuery, kConfirmDialogOid, kConfirmDialogOn,
                    queueName, variant, queue);
}

int IsUserAccountEnforced(const char* queueName, const char* variant,
                          platform::PrinterHandle queue) {
  int answer = kPolicyOff;
  // The frame goes on without an address or a session (the row says so): the
  // request is sent to whatever address the resolution left, and only a
  // time-out is told apart from "not enforced".
  device::RunQuery(
      device::kIsUserAccountenforcedQuery, {queueName, variant, queue}, [&](QuerySession& session) {
        const RequestResult result = session.Request(RequestPattern::kC, kUserAccountOid);
        if (Answers(result, kUserAccountOn)) {
          answer = kPolicyOn;
        } else if (result.status == SNMP_CLASS_TIMEOUT) {
          answer = SNMP_CLASS_TIMEOUT;
        }
      });
  return answer;
}

int IsBlackFreeModeEnabled(const char* queueName, const char* variant,
                           platform::PrinterHandle queue) {
  return SingleFlag(device::kIsBlackFreeModeEnabledQuery, kBlackFreeModeOid, kBlackFreeModeOn,
                    queueName, variant, queue);
}

int IsPrivPasswordEncryptEnabled(const char* queueName, const char* variant,
                                 platform::PrinterHandle queue) {
  return SingleFlag(device::kIsPrivPasswordEncryptEnabledQuery, kPrivPasswordEncryptOid,
                    kPrivPasswordEncryptOn, queueName, variant, queue);
}

}  // namespace queries
