#include "device/model_identification.h"

#include <string_view>

#include "device/device_address.h"
#include "device/family_models.h"
#include "device/query_frame.h"
#include "device/query_variants.h"

namespace device {
namespace {

using Snmp_pp::GenAddress;

struct AbvFlags {
  bool first = true;     // F
  bool second = true;    // M
  bool confirm = false;  // O: confirm F with the final object
};

// The integer a request answered; 0 when the value is not an integer.
int IntegerOf(const RequestResult& result) {
  int value = 0;
  result.vb.get_value(value);
  return value;
}

void WriteAnswer(const AbvFlags& flags, char* answer) {
  const char text[kAbvAnswerSize] = {'f', flags.first ? 't' : 'f', 'm', flags.second ? 't' : 'f',
                                     '\0'};
  CopyBounded(answer, kAbvAnswerSize, std::string_view(text));
}

// Steps 9 and 10: the second property, then the first confirmed.
void ReadSecondAndConfirm(QuerySession& session, AbvFlags& flags) {
  const RequestResult mode = session.Request(RequestPattern::kA, kAbvSecondModeOid);
  if (mode.failed || IntegerOf(mode) == kAbvModeSet) {
    flags.second = true;
  } else {
    const RequestResult count = session.Request(RequestPattern::kA, kAbvSecondCountOid);
    flags.second = count.failed || IntegerOf(count) > 0;
  }
  if (flags.confirm) {
    const RequestResult final = session.Request(RequestPattern::kA, kAbvFirstFinalOid);
    flags.first = final.failed || IntegerOf(final) == kAbvModeSet;
  }
}

void ReadGroupC(QuerySession& session, AbvFlags& flags) {
  const RequestResult final = session.Request(RequestPattern::kA, kAbvFirstFinalOid);
  flags.first = final.failed || IntegerOf(final) == kAbvModeSet;
}

void ReadGroupXOrY(QuerySession& session, AbvGroup group, AbvFlags& flags) {
  const RequestResult mode = session.Request(RequestPattern::kA, kAbvFirstModeOid);
  if (mode.failed) {
    flags.first = flags.second = true;
    if (group == AbvGroup::kX) return;
  } else if (IntegerOf(mode) == kAbvModeSet) {
    flags.confirm = true;
  } else {
    const RequestResult count = session.Request(RequestPattern::kA, kAbvFirstCountOid);
    if (count.failed) {
      flags.first = flags.second = true;
      flags.confirm = false;
    } else if (IntegerOf(count) > 0) {
      flags.confirm = true;
    } else {
      flags.first = flags.second = false;
      flags.confirm = false;
    }
    if (!flags.confirm && group == AbvGroup::kX) return;
  }
  ReadSecondAndConfirm(session, flags);
}

}  // namespace

int GetMfpModel(const char* queueName, const char* variant, platform::PrinterHandle queue) {
  int answer = 0;
  RunQuery(kGetMfpModelQuery, {queueName, variant, queue}, [&](QuerySession& session) {
    const RequestResult model = session.Request(RequestPattern::kA, kSysObjectIdOid);
    if (model.failed) return;
    const FamilyModel* match = MatchFamilyModel(model.vb.get_printable_value(), kMfpModelOrder);
    answer = match != nullptr && match->multiFunction ? 1 : 0;
  });
  return answer;
}

void AbvPrinterCheck(const char* queueName, const char* variant, char* answer,
                     platform::PrinterHandle queue) {
  AbvFlags flags;
  RunQuery(kAbvPrinterCheckQuery, {queueName, variant, queue}, [&](QuerySession& session) {
    GenAddress address;
    session.target().get_address(address);
    if (*address.get_printable() == '\0') return;
    const RequestResult model = session.Request(RequestPattern::kA, kSysObjectIdOid);
    if (model.failed) return;
    const FamilyModel* match = MatchFamilyModel(model.vb.get_printable_value(), kAbvModelOrder);
    if (match == nullptr) return;
    if (match->abvGroup == AbvGroup::kC) {
      ReadGroupC(session, flags);
    } else {
      ReadGroupXOrY(session, match->abvGroup, flags);
    }
  });
  if (answer != nullptr) WriteAnswer(flags, answer);
}

}  // namespace device
