// Sessions and requests against the scripted backend, and the default backend's IPX refusal.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "snmp/netsnmp_backend.h"
#include "snmp/scripted_backend.h"
#include "snmp/snmp_pp.h"

namespace Snmp_pp {
namespace {

constexpr char kSysObjectId[] = "1.3.6.1.2.1.1.2.0";
constexpr char kIfDescrColumn[] = "1.3.6.1.2.1.2.2.1.2";

class ScriptedSessionTest : public ::testing::Test {
 protected:
  std::shared_ptr<ScriptedBackend> backend_ = std::make_shared<ScriptedBackend>();
  ScopedSessionBackend installed_{backend_};

  static Pdu RequestFor(const char* oid) {
    Pdu pdu;
    pdu += Vb(Oid(oid));
    return pdu;
  }
};

TEST_F(ScriptedSessionTest, AnswerReplacesTheBindingAndReadsBack) {
  backend_->SetResponder(
      [](const ScriptedSend&) { return ScriptedReply::ObjectId("1.3.6.1.4.1.1129.2.3.15"); });
  int status = -1;
  Snmp udp(status);
  ASSERT_EQ(status, SNMP_CLASS_SUCCESS);
  Pdu pdu = RequestFor(kSysObjectId);
  EXPECT_EQ(udp.get(pdu, CTarget(IpAddress("10.0.0.5"))), SNMP_CLASS_SUCCESS);
  Vb vb;
  ASSERT_TRUE(pdu.get_vb(vb, 0));
  EXPECT_STREQ(vb.get_printable_oid(), kSysObjectId);
  EXPECT_STREQ(vb.get_printable_value(), "1.3.6.1.4.1.1129.2.3.15");
}

TEST_F(ScriptedSessionTest, EachSendIsRecordedWithItsSessionAndTarget) {
  backend_->SetResponder([](const ScriptedSend&) { return ScriptedReply::Integer(1); });
  int udp_status = -1;
  int ipx_status = -1;
  Snmp udp(udp_status);
  Snmp ipx(ipx_status, IpxSockAddress(nullptr));
  ASSERT_EQ(udp_status, SNMP_CLASS_SUCCESS);
  ASSERT_EQ(ipx_status, SNMP_CLASS_SUCCESS);

  CTarget ipx_target(GenAddress("0000ABCD-0123456789AB"));
  ipx_target.set_readcommunity("secret");
  ipx_target.set_timeout(300);
  Pdu pdu = RequestFor(kSysObjectId);
  EXPECT_EQ(ipx.get(pdu, ipx_target), SNMP_CLASS_SUCCESS);
  pdu = RequestFor(kIfDescrColumn);
  EXPECT_EQ(udp.get_next(pdu, CTarget(IpAddress("10.0.0.5"))), SNMP_CLASS_SUCCESS);

  const auto sends = backend_->Sends();
  ASSERT_EQ(sends.size(), 2u);
  EXPECT_EQ(sends[0].session, SessionKind::kIpx);
  EXPECT_EQ(sends[0].operation, SnmpOperation::kGet);
  EXPECT_EQ(sends[0].address, "0000abcd-0123456789ab");
  EXPECT_EQ(sends[0].community, "secret");
  EXPECT_EQ(sends[0].timeout, 300u);
  EXPECT_EQ(sends[0].retries, 1);
  ASSERT_EQ(sends[0].oids.size(), 1u);
  EXPECT_STREQ(sends[0].oids[0].get_printable(), kSysObjectId);
  EXPECT_EQ(sends[1].session, SessionKind::kUdp);
  EXPECT_EQ(sends[1].operation, SnmpOperation::kGetNext);
  EXPECT_EQ(sends[1].address, "10.0.0.5");
  EXPECT_EQ(sends[1].community, "public");
}

TEST_F(ScriptedSessionTest, AddressWithoutPortGoesToTheDefaultPort) {
  backend_->SetResponder([](const ScriptedSend&) { return ScriptedReply::Integer(1); });
  int status = -1;
  Snmp udp(status);
  Pdu pdu = RequestFor(kSysObjectId);
  udp.get(pdu, CTarget(IpAddress("10.0.0.5")));
  pdu = RequestFor(kSysObjectId);
  udp.get(pdu, CTarget(UdpAddress("10.0.0.5/1161")));
  const auto sends = backend_->Sends();
  ASSERT_EQ(sends.size(), 2u);
  EXPECT_EQ(sends[0].port, DefaultDestinationPort());
  EXPECT_EQ(sends[1].port, 1161);
}

TEST_F(ScriptedSessionTest, TimeoutLeavesThePduAsItWas) {
  int status = -1;
  Snmp udp(status);
  Pdu pdu = RequestFor(kSysObjectId);
  EXPECT_EQ(udp.get(pdu, CTarget(IpAddress("10.0.0.5"))), SNMP_CLASS_TIMEOUT);
  Vb vb;
  ASSERT_TRUE(pdu.get_vb(vb, 0));
  EXPECT_STREQ(vb.get_printable_value(), "");
  int value = 99;
  EXPECT_NE(vb.get_value(value), SNMP_CLASS_SUCCESS);
  EXPECT_EQ(value, 99);
}

TEST_F(ScriptedSessionTest, ErrorStatusAnswerIsNonZeroAndKeptInThePdu) {
  backend_->SetResponder(
      [](const ScriptedSend&) { return ScriptedReply::ErrorStatus(SNMP_ERROR_NO_SUCH_NAME, 1); });
  int status = -1;
  Snmp udp(status);
  Pdu pdu = RequestFor(kSysObjectId);
  EXPECT_EQ(udp.get(pdu, CTarget(IpAddress("10.0.0.5"))), SNMP_CLASS_ERR_STATUS_SET);
  EXPECT_EQ(pdu.get_error_status(), SNMP_ERROR_NO_SUCH_NAME);
  EXPECT_EQ(pdu.get_error_index(), 1);
}

TEST_F(ScriptedSessionTest, FailedOpenGivesItsStatusAndRefusesRequests) {
  backend_->SetOpenStatus(SessionKind::kIpx, SNMP_CLASS_TL_UNSUPPORTED);
  int udp_status = -1;
  int ipx_status = 0;
  Snmp udp(udp_status);
  Snmp ipx(ipx_status, IpxSockAddress(nullptr));
  EXPECT_EQ(udp_status, SNMP_CLASS_SUCCESS);
  EXPECT_EQ(ipx_status, SNMP_CLASS_TL_UNSUPPORTED);
  EXPECT_FALSE(ipx.valid());
  Pdu pdu = RequestFor(kSysObjectId);
  EXPECT_NE(ipx.get(pdu, CTarget(GenAddress("0000ABCD-0123456789AB"))), SNMP_CLASS_SUCCESS);
  EXPECT_TRUE(backend_->Sends().empty());
  EXPECT_EQ(backend_->OpenCount(SessionKind::kIpx), 0);
  EXPECT_EQ(backend_->OpenCount(SessionKind::kUdp), 1);
}

TEST_F(ScriptedSessionTest, RequestsThatCannotBeSentNeverReachTheBackend) {
  int v4_status = -1;
  int v6_status = -1;
  Snmp v4(v4_status);
  Snmp v6(v6_status, 0, true);
  Pdu pdu = RequestFor(kSysObjectId);
  Pdu empty;
  Pdu bad_oid = RequestFor("1..3");
  EXPECT_EQ(v4.get(pdu, CTarget(GenAddress(""))), SNMP_CLASS_INVALID_TARGET);
  EXPECT_EQ(v4.get(empty, CTarget(IpAddress("10.0.0.5"))), SNMP_CLASS_INVALID_PDU);
  EXPECT_EQ(v4.get(bad_oid, CTarget(IpAddress("10.0.0.5"))), SNMP_CLASS_INVALID_OID);
  // One socket family per session, as the library binds it.
  EXPECT_NE(v4.get(pdu, CTarget(IpAddress("::1"))), SNMP_CLASS_SUCCESS);
  EXPECT_NE(v6.get(pdu, CTarget(IpAddress("127.0.0.1"))), SNMP_CLASS_SUCCESS);
  // IPX addresses only over IPX, IP addresses only over UDP.
  EXPECT_EQ(v4.get(pdu, CTarget(GenAddress("0000ABCD-0123456789AB"))), SNMP_CLASS_INVALID_ADDRESS);
  EXPECT_TRUE(backend_->Sends().empty());
}

TEST_F(ScriptedSessionTest, ScriptedAgentWalksAColumnAndEndsWithNoSuchName) {
  ScriptedAgent agent;
  agent.Set("1.3.6.1.2.1.2.2.1.2.1", "lo")
      .Set("1.3.6.1.2.1.2.2.1.2.2", "eth0")
      .Set("1.3.6.1.2.1.2.2.1.3.1", 24L);
  backend_->SetResponder(agent.AsResponder());
  int status = -1;
  Snmp udp(status);
  const CTarget target(IpAddress("10.0.0.5"));
  const Oid column(kIfDescrColumn);
  std::vector<std::string> names;
  Vb vb(column);
  for (;;) {
    Pdu pdu;
    pdu += vb;
    ASSERT_EQ(udp.get_next(pdu, target), SNMP_CLASS_SUCCESS);
    pdu.get_vb(vb, 0);
    if (!vb.get_oid().starts_with(column)) {
      break;
    }
    names.push_back(vb.get_printable_value());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"lo", "eth0"}));
  Pdu past_end;
  past_end += Vb(Oid("1.3.6.1.2.1.2.2.1.3.1"));
  EXPECT_EQ(udp.get_next(past_end, target), SNMP_CLASS_ERR_STATUS_SET);
  Pdu absent;
  absent += Vb(Oid("1.3.6.1.2.1.2.2.1.2.3"));
  EXPECT_EQ(udp.get(absent, target), SNMP_CLASS_ERR_STATUS_SET);
  EXPECT_EQ(absent.get_error_status(), SNMP_ERROR_NO_SUCH_NAME);
}

TEST_F(ScriptedSessionTest, ResponderSeesCommunityAndSessionToChooseItsAnswer) {
  backend_->SetResponder([](const ScriptedSend& send) {
    if (send.session == SessionKind::kIpx) {
      return ScriptedReply::Timeout();
    }
    return ScriptedReply::Text(send.community.c_str());
  });
  int status = -1;
  Snmp udp(status);
  Snmp ipx(status, IpxSockAddress(nullptr));
  CTarget target(IpAddress("10.0.0.5"));
  target.set_readcommunity("model14");
  Pdu pdu = RequestFor(kSysObjectId);
  ASSERT_EQ(udp.get(pdu, target), SNMP_CLASS_SUCCESS);
  Vb vb;
  pdu.get_vb(vb, 0);
  EXPECT_STREQ(vb.get_printable_value(), "model14");
  Pdu ipx_pdu = RequestFor(kSysObjectId);
  EXPECT_EQ(ipx.get(ipx_pdu, CTarget(GenAddress("0000ABCD-0123456789AB"))), SNMP_CLASS_TIMEOUT);
}

TEST_F(ScriptedSessionTest, SessionOutlivesAReplacedBackend) {
  backend_->SetResponder([](const ScriptedSend&) { return ScriptedReply::Integer(7); });
  int status = -1;
  Snmp udp(status);
  {
    const ScopedSessionBackend other(std::make_shared<ScriptedBackend>());
    Pdu pdu = RequestFor(kSysObjectId);
    EXPECT_EQ(udp.get(pdu, CTarget(IpAddress("10.0.0.5"))), SNMP_CLASS_SUCCESS);
  }
  EXPECT_EQ(CurrentSessionBackend(), backend_);
}

TEST(SocketLayer, StartupsAndCleanupsAreCounted) {
  const int startups = SocketLayerStats::startups();
  const int cleanups = SocketLayerStats::cleanups();
  EXPECT_EQ(Snmp::socket_startup(), SNMP_CLASS_SUCCESS);
  EXPECT_EQ(SocketLayerStats::outstanding(), startups - cleanups + 1);
  Snmp::socket_cleanup();
  EXPECT_EQ(SocketLayerStats::startups(), startups + 1);
  EXPECT_EQ(SocketLayerStats::cleanups(), cleanups + 1);
}

TEST(NetSnmpBackendSessions, IpxSessionDoesNotOpenOnLinux) {
  const ScopedSessionBackend installed(std::make_shared<NetSnmpBackend>());
  int status = SNMP_CLASS_SUCCESS;
  Snmp ipx(status, IpxSockAddress(nullptr));
  EXPECT_NE(status, SNMP_CLASS_SUCCESS);
  EXPECT_FALSE(ipx.valid());
}

TEST(NetSnmpBackendSessions, UdpSessionsOpenForBothFamilies) {
  const ScopedSessionBackend installed(std::make_shared<NetSnmpBackend>());
  int v4_status = -1;
  int v6_status = -1;
  Snmp v4(v4_status);
  Snmp v6(v6_status, 0, true);
  EXPECT_EQ(v4_status, SNMP_CLASS_SUCCESS);
  EXPECT_EQ(v6_status, SNMP_CLASS_SUCCESS);
}

TEST(NetSnmpBackendSessions, IpxNodeMappedToALoopbackEndpointOpens) {
  const ScopedSessionBackend installed(std::make_shared<NetSnmpBackend>(
      [](const IpxAddress&) { return std::optional<UdpAddress>(UdpAddress("127.0.0.1/9")); }));
  int status = -1;
  Snmp ipx(status, IpxSockAddress(nullptr));
  EXPECT_EQ(status, SNMP_CLASS_SUCCESS);
}

}  // namespace
}  // namespace Snmp_pp
