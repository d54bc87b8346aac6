// The query frame: its failure points, the address's shape and target, the
// request patterns on the two sessions, and what it releases on every path.
#include "device/query_frame.h"

#include <gtest/gtest.h>

#include "device/query_variants.h"
#include "device_test_machine.h"

namespace device::testing {
namespace {

using Snmp_pp::ScriptedReply;
using Snmp_pp::SessionKind;

constexpr char kIpxAddress[] = "00000001:0080c7aa1234";  // 21 characters
constexpr char kOid[] = "1.3.6.1.2.1.1.2.0";
constexpr QueryVariant kBoxedRow{"Boxed",
                                 HandleRule::kIgnoreOnWindows9x,
                                 AddressObject::kGenAddress,
                                 true,
                                 true,
                                 kShortMessageBuffer};
constexpr QueryVariant kUntimedRow{
    "Untimed", HandleRule::kKeepCallerHandle, AddressObject::kGenAddress, false, false, 0};

std::string AddressedQueue(std::string_view address, std::string_view more = {}) {
  return LocalQueue("USB001",
                    "\"SNMPIPAddress\"=\"" + std::string(address) + "\"\n" + std::string(more));
}

class QueryFrameTest : public DeviceTest {
 protected:
  // Runs `row` on queue "Q" with one request of `pattern`.
  FrameOutcome RunOne(const QueryVariant& row, RequestPattern pattern,
                      RequestResult* result = nullptr, platform::PrinterHandle queue = nullptr) {
    return RunQuery(row, {"Q", "0", queue}, [&](QuerySession& session) {
      const RequestResult r = session.Request(pattern, kOid);
      if (result != nullptr) *result = r;
    });
  }

  void AnswerOn(SessionKind kind) {
    backend_->SetResponder([kind](const Snmp_pp::ScriptedSend& send) {
      return send.session == kind ? ScriptedReply::ObjectId("1.3.6.1.4.1.1129.2.3.15")
                                  : ScriptedReply::Timeout();
    });
  }

  std::vector<SessionKind> SessionsSentTo() {
    std::vector<SessionKind> kinds;
    for (const auto& send : backend_->Sends()) kinds.push_back(send.session);
    return kinds;
  }

  void ExpectReleased() {
    EXPECT_EQ(Snmp_pp::SocketLayerStats::outstanding(), 0);
    EXPECT_EQ((*machine_)->simulatedSpooler().OpenHandleCount(), 0u);
  }
};

// ---- Failure points ------------------------------------------------------------------

TEST_F(QueryFrameTest, F1WithoutRecordOrAddressOpensNoSession) {
  UseMachine(LocalQueue("no-such-host.invalid"));
  bool ran = false;
  EXPECT_EQ(
      RunQuery(kGetMfpModelQuery, {"Missing", "0", nullptr}, [&](QuerySession&) { ran = true; }),
      FrameOutcome::kF1);
  EXPECT_EQ(RunQuery(kGetMfpModelQuery, {"Q", "0", nullptr}, [&](QuerySession&) { ran = true; }),
            FrameOutcome::kF1);
  EXPECT_FALSE(ran);
  // Only the port's classifier opened a UDP session; the frame opened none.
  EXPECT_EQ(backend_->OpenCount(SessionKind::kIpx), 0);
  ExpectReleased();
}

TEST_F(QueryFrameTest, F2WhenNeitherSessionOpensShowsTheRowsMessage) {
  UseMachine(AddressedQueue("10.0.0.5"));
  backend_->SetOpenStatus(SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  backend_->SetOpenStatus(SessionKind::kIpx, SNMP_CLASS_TL_UNSUPPORTED);
  EXPECT_EQ(RunOne(kGetMfpModelQuery, RequestPattern::kA), FrameOutcome::kF2);
  EXPECT_TRUE((*machine_)->simulatedUi().messageBoxes().empty());

  EXPECT_EQ(RunOne(kBoxedRow, RequestPattern::kA), FrameOutcome::kF2);
  const auto& boxes = (*machine_)->simulatedUi().messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_FALSE(boxes[0].ownerTemplateId.has_value());
  EXPECT_EQ(boxes[0].caption, "Error");
  EXPECT_EQ(boxes[0].text, "???? MFP ??");  // string 5023 in code page 1252
  EXPECT_TRUE(backend_->Sends().empty());
  ExpectReleased();
}

TEST_F(QueryFrameTest, OneOpenSessionIsEnoughUnlessTheRowNeedsUdp) {
  UseMachine(AddressedQueue("10.0.0.5"));
  backend_->SetOpenStatus(SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  EXPECT_EQ(RunOne(kGetMfpModelQuery, RequestPattern::kA), FrameOutcome::kRan);
  EXPECT_EQ(RunOne(kAbvPrinterCheckQuery, RequestPattern::kA), FrameOutcome::kF2);
  backend_->SetOpenStatus(SessionKind::kUdp, SNMP_CLASS_SUCCESS);
  backend_->SetOpenStatus(SessionKind::kIpx, SNMP_CLASS_TL_FAILED);
  EXPECT_EQ(RunOne(kAbvPrinterCheckQuery, RequestPattern::kA), FrameOutcome::kRan);
  ExpectReleased();
}

// ---- Address shape and target -------------------------------------------------------------

TEST_F(QueryFrameTest, AddressOfIpxLengthSetsIpxFirstOthersClearIt) {
  const std::pair<const char*, int> cases[] = {
      {kIpxAddress, 1},       {"printer.example.a", 1},     {"0000000100-80-c7-aa", 0},
      {"192.168.100.100", 0}, {"printer.example.lan.x", 1}, {"printer.example.lan.xy", 0}};
  for (const auto& [address, expected] : cases) {
    UseMachine(AddressedQueue(address));
    IpxFirst() = 1 - expected;
    RunOne(kGetMfpModelQuery, RequestPattern::kA);
    EXPECT_EQ(IpxFirst(), expected) << address;
  }
}

TEST_F(QueryFrameTest, VariantTextBeyond32BitsSaturatesAndPicksTheMakersKey) {
  // Read through a 64-bit long and cast, "4294967299" would be 3, the reseller's variant.
  UseMachine(LocalQueue("IP_lobby") + kDiscoveryKey + "\"IP_lobby\"=\"10.0.0.44\"\n" +
             "[HKCU\\Software\\Pellandine-nvtc\\Pellandine-nvtc Client\\LM-JobVue\\"
             "PrinterDiscovery]\n\"IP_lobby\"=\"10.0.0.33\"\n");
  const std::pair<const char*, const char*> cases[] = {{"4294967299", "10.0.0.44"},
                                                       {"-4294967293", "10.0.0.44"},
                                                       {"2147483647", "10.0.0.44"},
                                                       {"-2147483648", "10.0.0.44"},
                                                       {" +3x", "10.0.0.33"}};
  for (const auto& [variant, address] : cases) {
    backend_->ClearSends();
    RunQuery(kGetMfpModelQuery, {"Q", variant, nullptr},
             [](QuerySession& session) { session.Request(RequestPattern::kA, kOid); });
    ASSERT_FALSE(backend_->Sends().empty()) << variant;
    EXPECT_EQ(backend_->Sends()[0].address, address) << variant;
  }
}

TEST_F(QueryFrameTest, ScopeSuffixIsDroppedFromTheTargetAddress) {
  UseMachine(AddressedQueue("fe80::1%4"));
  RunOne(kGetMfpModelQuery, RequestPattern::kA);
  ASSERT_EQ(backend_->Sends().size(), 1u);
  EXPECT_EQ(backend_->Sends()[0].address, "fe80::1");
  EXPECT_EQ(backend_->Sends()[0].session, SessionKind::kUdp);
}

TEST_F(QueryFrameTest, AddressOfOnlyPercentSignsFailsEveryRequest) {
  UseMachine(AddressedQueue("%%"));
  RequestResult result;
  EXPECT_EQ(RunOne(kGetMfpModelQuery, RequestPattern::kA, &result), FrameOutcome::kRan);
  EXPECT_TRUE(result.failed);
  EXPECT_TRUE(backend_->Sends().empty());
}

TEST_F(QueryFrameTest, TargetCarriesTimeOutAndTheQueuesCommunity) {
  UseMachine(AddressedQueue("10.0.0.5", "\"SNMP Community\"=\"\""));
  RunOne(kGetMfpModelQuery, RequestPattern::kA);
  UseMachine(AddressedQueue("10.0.0.5"));
  RunOne(kUntimedRow, RequestPattern::kA);
  const auto sends = backend_->Sends();
  ASSERT_EQ(sends.size(), 2u);
  EXPECT_EQ(sends[0].community, "");  // present but empty: sent empty
  EXPECT_EQ(sends[0].timeout, kQueryTimeout);
  EXPECT_EQ(sends[1].community, "public");
  EXPECT_EQ(sends[1].timeout, Snmp_pp::kDefaultTimeout);
}

TEST_F(QueryFrameTest, ReadSnmpCommunityNeedsAQueueAndTheValue) {
  UseMachine(AddressedQueue("10.0.0.5", "\"SNMP Community\"=\"model14\""));
  Snmp_pp::CTarget target;
  EXPECT_EQ(ReadSnmpCommunity(target, nullptr), 0);
  QueueHandle queue;
  queue.OpenByName("Q");
  EXPECT_EQ(ReadSnmpCommunity(target, queue.get()), 1);
  EXPECT_STREQ(target.get_readcommunity(), "model14");
}

// ---- Request patterns ------------------------------------------------------------------

TEST_F(QueryFrameTest, PatternAFallsBackFromIpxToUdp) {
  // 18 characters: the shape of an IPX address, yet an IP address once its scope is cut.
  UseMachine(AddressedQueue("10.0.0.5%123456789"));
  AnswerOn(SessionKind::kUdp);
  RequestResult result;
  RunOne(kGetMfpModelQuery, RequestPattern::kA, &result);
  // The IPX session refuses an IP address; the UDP send answers.
  EXPECT_FALSE(result.failed);
  EXPECT_EQ(SessionsSentTo(), std::vector<SessionKind>{SessionKind::kUdp});

  UseMachine(AddressedQueue(kIpxAddress));
  backend_->ClearSends();
  AnswerOn(SessionKind::kIpx);
  RunOne(kGetMfpModelQuery, RequestPattern::kA, &result);
  EXPECT_FALSE(result.failed);
  EXPECT_EQ(SessionsSentTo(), std::vector<SessionKind>{SessionKind::kIpx});
  EXPECT_STREQ(result.vb.get_printable_value(), "1.3.6.1.4.1.1129.2.3.15");

  backend_->ClearSends();
  AnswerOn(SessionKind::kUdp);  // IPX times out: the UDP session then gets the request
  RunOne(kGetMfpModelQuery, RequestPattern::kA, &result);
  EXPECT_TRUE(result.failed);
  EXPECT_EQ(result.status, SNMP_CLASS_INVALID_ADDRESS);  // the UDP send's status
  EXPECT_EQ(SessionsSentTo(), std::vector<SessionKind>{SessionKind::kIpx});
  ExpectReleased();
}

TEST_F(QueryFrameTest, PatternBFailsOnlyWhenBothSessionsHoldAFailure) {
  UseMachine(AddressedQueue(kIpxAddress));
  AnswerOn(SessionKind::kUdp);
  RequestResult result;
  RunOne(kGetMfpModelQuery, RequestPattern::kB, &result);
  EXPECT_EQ(result.status, SNMP_CLASS_TIMEOUT);
  EXPECT_FALSE(result.failed);  // the UDP session still holds its opening's success
  EXPECT_STREQ(result.vb.get_printable_value(), "");
  EXPECT_EQ(SessionsSentTo(), std::vector<SessionKind>{SessionKind::kIpx});

  backend_->SetOpenStatus(SessionKind::kUdp, SNMP_CLASS_TL_FAILED);
  RunOne(kGetMfpModelQuery, RequestPattern::kB, &result);
  EXPECT_TRUE(result.failed);
}

TEST_F(QueryFrameTest, PatternCSendsOnThePreferredSessionAndReportsItsStatus) {
  UseMachine(AddressedQueue("10.0.0.5"));
  AnswerOn(SessionKind::kIpx);
  RequestResult result;
  RunOne(kGetMfpModelQuery, RequestPattern::kC, &result);
  EXPECT_EQ(result.status, SNMP_CLASS_TIMEOUT);
  EXPECT_TRUE(result.failed);
  EXPECT_EQ(SessionsSentTo(), std::vector<SessionKind>{SessionKind::kUdp});
}

TEST_F(QueryFrameTest, FurtherRequestsReuseThePduWithOneBinding) {
  UseMachine(AddressedQueue("10.0.0.5"));
  devices_["10.0.0.5"].Set("1.3.6.1.2.1.1.7.0", 72L).Set("1.3.6.1.2.1.1.5.0", "mfp");
  RunQuery(kGetMfpModelQuery, {"Q", "0", nullptr}, [](QuerySession& session) {
    EXPECT_EQ(session.Request(RequestPattern::kA, "1.3.6.1.2.1.1.7.0").vb.get_printable_value(),
              std::string("72"));
    EXPECT_EQ(session.Request(RequestPattern::kA, "1.3.6.1.2.1.1.5.0").vb.get_printable_value(),
              std::string("mfp"));
  });
  for (const auto& send : backend_->Sends()) EXPECT_EQ(send.oids.size(), 1u);
}

// ---- Queue handle ----------------------------------------------------------------------

TEST_F(QueryFrameTest, CallersHandleIsUsedAndKeptOpen) {
  UseMachine(AddressedQueue("10.0.0.5", "\"SNMP Community\"=\"mine\""));
  QueueHandle caller;
  caller.OpenByName("Q");
  RunQuery(kGetMfpModelQuery, {nullptr, "0", caller.get()},
           [](QuerySession& session) { session.Request(RequestPattern::kA, kOid); });
  ASSERT_EQ(backend_->Sends().size(), 1u);
  EXPECT_EQ(backend_->Sends()[0].community, "mine");
  EXPECT_EQ((*machine_)->simulatedSpooler().OpenHandleCount(), 1u);
}

TEST_F(QueryFrameTest, Windows9xIgnoresTheCallersHandleWhereTheRowSaysSo) {
  UseMachine(AddressedQueue("10.0.0.5") + LocalQueue("USB002", {}, "Other") +
             "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"PlatformId\"=dword:1\n"
             "\"MajorVersion\"=dword:4\n\"MinorVersion\"=dword:0000000a\n");
  QueueHandle other;
  other.OpenByName("Other");
  EXPECT_EQ(RunOne(kBoxedRow, RequestPattern::kA, nullptr, other.get()), FrameOutcome::kRan);
  EXPECT_EQ(RunOne(kGetMfpModelQuery, RequestPattern::kA, nullptr, other.get()),
            FrameOutcome::kF1);  // "Other" has no address
}

}  // namespace
}  // namespace device::testing
