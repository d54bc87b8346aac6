// Address detection and printing, and the defaults of a community target.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/simulated/simulated_machine.h"
#include "snmp/snmp_pp.h"

namespace Snmp_pp {
namespace {

TEST(GenAddressDetection, DottedIpv4IsAnIpAddress) {
  const GenAddress address("192.168.10.20");
  EXPECT_TRUE(address.valid());
  EXPECT_EQ(address.get_type(), Address::type_ip);
  EXPECT_STREQ(address.get_printable(), "192.168.10.20");
}

TEST(GenAddressDetection, Ipv6IsAnIpAddress) {
  const GenAddress address("fe80::1:2");
  ASSERT_EQ(address.get_type(), Address::type_ip);
  const IpAddress ip(address);
  EXPECT_EQ(ip.get_ip_version(), Address::version_ipv6);
  EXPECT_STREQ(ip.get_printable(), "fe80::1:2");
}

TEST(GenAddressDetection, Ipv6WithNumericScopeKeepsTheScope) {
  const IpAddress ip(GenAddress("fe80::1%3"));
  ASSERT_TRUE(ip.valid());
  EXPECT_EQ(ip.get_scope(), 3u);
  EXPECT_STREQ(ip.get_printable(), "fe80::1%3");
}

TEST(GenAddressDetection, Ipv6WithUnknownScopeNameIsInvalid) {
  EXPECT_FALSE(GenAddress("fe80::1%no-such-interface0").valid());
}

TEST(GenAddressDetection, HostNameIsResolvedPreferringIpv4) {
  const platform::simulated::ScopedMachine machine(
      platform::simulated::SimulatedMachine::FromRegistryLines(
          "[HKLM\\SOFTWARE\\SimulatedMachine\\Hosts]\n\"copier.test\"=\"::1,127.0.0.1\"\n"));
  const GenAddress address("copier.test");
  ASSERT_EQ(address.get_type(), Address::type_ip);
  const IpAddress ip(address);
  EXPECT_EQ(ip.get_ip_version(), Address::version_ipv4);
  EXPECT_STREQ(ip.get_printable(), "127.0.0.1");
  EXPECT_EQ(ip.friendly_name(), "copier.test");
}

TEST(GenAddressDetection, AddressWithPortIsAUdpAddress) {
  const GenAddress v4("127.0.0.1/1161");
  ASSERT_EQ(v4.get_type(), Address::type_udp);
  EXPECT_EQ(UdpAddress(v4).get_port(), 1161);
  EXPECT_EQ(UdpAddress(GenAddress("127.0.0.1:162")).get_port(), 162);
  const GenAddress v6("[::1]:1161");
  ASSERT_EQ(v6.get_type(), Address::type_udp);
  EXPECT_STREQ(v6.get_printable(), "[::1]/1161");
}

TEST(GenAddressDetection, IpxFormsAsTheLibraryAcceptsThem) {
  for (const char* text :
       {"0000ABCD-0123456789AB", "0000abcd:0123456789ab", "0000ABCD.0123456789AB",
        "0000ABCD-012345-6789AB", "0000abcd:012345-6789ab"}) {
    const GenAddress address(text);
    EXPECT_EQ(address.get_type(), Address::type_ipx) << text;
    EXPECT_STREQ(address.get_printable(), "0000abcd-0123456789ab") << text;
  }
}

TEST(GenAddressDetection, IpxWithSocketIsAnIpxSockAddress) {
  const GenAddress address("0000ABCD-0123456789AB/36879");
  ASSERT_EQ(address.get_type(), Address::type_ipxsock);
  EXPECT_STREQ(address.get_printable(), "0000abcd-0123456789ab/36879");
}

TEST(GenAddressDetection, NearMissesAreNotIpx) {
  for (const char* text : {"0000ABCD-0123456789A", "0000ABCD_0123456789AB", "0000ABCG-0123456789AB",
                           "0000ABCD-0123456789ABC"}) {
    EXPECT_NE(GenAddress(text).get_type(), Address::type_ipx) << text;
  }
}

TEST(GenAddressDetection, EmptyAndUnresolvableTextsAreInvalid) {
  EXPECT_FALSE(GenAddress("").valid());
  EXPECT_FALSE(GenAddress(nullptr).valid());
  EXPECT_FALSE(GenAddress("no-such-host.invalid").valid());
  EXPECT_EQ(GenAddress("").get_type(), Address::type_invalid);
  EXPECT_STREQ(GenAddress("").get_printable(), "");
}

TEST(GenAddressDetection, RequestedKindIsTheOnlyOneTried) {
  EXPECT_FALSE(GenAddress("0000ABCD-0123456789AB", Address::type_ip).valid());
  EXPECT_FALSE(GenAddress("10.0.0.1", Address::type_ipx).valid());
  EXPECT_EQ(GenAddress("10.0.0.1", Address::type_ip).get_type(), Address::type_ip);
}

TEST(IpxSockAddressDefault, NullTextIsTheInvalidDefaultAddress) {
  const IpxSockAddress local(nullptr);
  EXPECT_FALSE(local.valid());
  EXPECT_EQ(local.get_socket(), 0);
}

TEST(GenAddressCopies, AssignmentFromAnyAddressKeepsItsKind) {
  GenAddress address;
  address = IpAddress("10.1.2.3");
  EXPECT_EQ(address.get_type(), Address::type_ip);
  address = IpxAddress("00000001-000000000002");
  EXPECT_EQ(address.get_type(), Address::type_ipx);
  const GenAddress copy(address);
  EXPECT_STREQ(copy.get_printable(), "00000001-000000000002");
  address = GenAddress();
  EXPECT_FALSE(address.valid());
  EXPECT_TRUE(copy.valid());
}

TEST(CommunityTarget, HasTheLibraryDefaults) {
  const CTarget target(IpAddress("127.0.0.1"));
  EXPECT_TRUE(target.valid());
  EXPECT_EQ(target.get_timeout(), 100u);
  EXPECT_EQ(target.get_retry(), 1);
  EXPECT_EQ(target.get_version(), version1);
  EXPECT_STREQ(target.get_readcommunity(), "public");
}

TEST(CommunityTarget, ReadCommunityMayBeSetEmpty) {
  CTarget target(IpAddress("127.0.0.1"));
  target.set_readcommunity("model17");
  EXPECT_STREQ(target.get_readcommunity(), "model17");
  target.set_readcommunity("");
  EXPECT_STREQ(target.get_readcommunity(), "");
}

TEST(CommunityTarget, InvalidAddressMakesAnInvalidTarget) {
  CTarget target;
  EXPECT_FALSE(target.valid());
  EXPECT_FALSE(target.set_address(GenAddress("")));
  EXPECT_TRUE(target.set_address(IpAddress("10.0.0.1")));
  GenAddress back;
  EXPECT_TRUE(target.get_address(back));
  EXPECT_STREQ(back.get_printable(), "10.0.0.1");
}

class DestinationPortVariable : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* value = std::getenv(kVariable);
    saved_ = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
  }
  void TearDown() override {
    if (saved_) {
      setenv(kVariable, saved_->c_str(), 1);
    } else {
      unsetenv(kVariable);
    }
  }
  static constexpr char kVariable[] = "VX5PRCFG_SNMP_PORT";
  std::optional<std::string> saved_;
};

TEST_F(DestinationPortVariable, OverridesTheDefaultPortOnlyWithAPortNumber) {
  unsetenv(kVariable);
  EXPECT_EQ(DefaultDestinationPort(), 161);
  setenv(kVariable, "16100", 1);
  EXPECT_EQ(DefaultDestinationPort(), 16100);
  setenv(kVariable, "not-a-port", 1);
  EXPECT_EQ(DefaultDestinationPort(), 161);
  setenv(kVariable, "70000", 1);
  EXPECT_EQ(DefaultDestinationPort(), 161);
}

}  // namespace
}  // namespace Snmp_pp
