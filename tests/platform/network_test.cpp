#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/simulated/simulated_machine.h"

namespace platform::simulated {
namespace {

class NameResolution : public testing::Test {
 protected:
  std::unique_ptr<SimulatedMachine> machine_ = SimulatedMachine::FromRegistryLines(
      "[HKLM\\SOFTWARE\\SimulatedMachine\\Hosts]\n"
      "\"copier.office.test\"=\"127.0.0.1, ::1\"\n"
      "\"v6only.test\"=\"::1\"\n"
      "\"twice.test\"=\"127.0.0.2,127.0.0.3\"\n"
      "\"alias.test\"=\"127.0.0.1\"\n"
      "\"broken.test\"=\"not-an-address,127.0.0.9\"\n");
  NameResolver& resolver_ = *machine_->network().BindNameResolver();

  // The numeric texts GetAddrInfo answers for `node`.
  std::vector<std::string> Resolve(std::string_view node,
                                   AddressFamily family = AddressFamily::Unspecified) {
    std::vector<SocketAddress> addresses;
    EXPECT_EQ(resolver_.GetAddrInfo(node, family, &addresses), 0) << node;
    std::vector<std::string> texts;
    for (const SocketAddress& address : addresses) {
      char host[260];
      EXPECT_EQ(resolver_.GetNameInfo(address, host, sizeof host, true), 0);
      texts.emplace_back(host);
    }
    return texts;
  }
};

TEST_F(NameResolution, HostTableAnswersInItsOrderIgnoringCase) {
  using testing::ElementsAre;
  EXPECT_THAT(Resolve("COPIER.Office.test"), ElementsAre("127.0.0.1", "::1"));
  EXPECT_THAT(Resolve("copier.office.test", AddressFamily::Inet), ElementsAre("127.0.0.1"));
  EXPECT_THAT(Resolve("copier.office.test", AddressFamily::Inet6), ElementsAre("::1"));
  EXPECT_THAT(Resolve("twice.test"), ElementsAre("127.0.0.2", "127.0.0.3"));
  EXPECT_THAT(Resolve("broken.test"), ElementsAre("127.0.0.9")) << "unusable entries are skipped";

  std::vector<SocketAddress> addresses(3);
  EXPECT_EQ(resolver_.GetAddrInfo("v6only.test", AddressFamily::Inet, &addresses),
            kWsaHostNotFound);
  EXPECT_TRUE(addresses.empty());
}

TEST_F(NameResolution, NumericAddressesPassThrough) {
  using testing::ElementsAre;
  EXPECT_THAT(Resolve("192.0.2.7"), ElementsAre("192.0.2.7"));
  EXPECT_THAT(Resolve("2001:db8::1"), ElementsAre("2001:db8::1"));
  EXPECT_THAT(Resolve("fe80::1%3"), ElementsAre("fe80::1%3"));
  std::vector<SocketAddress> addresses;
  EXPECT_EQ(resolver_.GetAddrInfo("192.0.2.7", AddressFamily::Inet6, &addresses), kWsaHostNotFound);
  EXPECT_EQ(resolver_.GetAddrInfo("", AddressFamily::Unspecified, &addresses), kWsaHostNotFound);
  EXPECT_EQ(resolver_.GetAddrInfo("x", static_cast<AddressFamily>(17), &addresses),
            kWsaEafnosupport);
  EXPECT_EQ(resolver_.GetAddrInfo("x", AddressFamily::Unspecified, nullptr), kWsaEfault);
}

TEST_F(NameResolution, OnlyTheHostTableAnswersUnlessTheMachineOptsIntoTheSystemResolver) {
  std::vector<SocketAddress> addresses;
  EXPECT_EQ(resolver_.GetAddrInfo("localhost", AddressFamily::Unspecified, &addresses),
            kWsaHostNotFound);
  EXPECT_TRUE(addresses.empty());

  // "localhost" comes from the system's hosts file, not from a DNS server.
  const auto opted = SimulatedMachine::FromRegistryLines(
      "[HKLM\\SOFTWARE\\SimulatedMachine\\System]\n\"SystemResolver\"=dword:00000001\n");
  NameResolver& system = *opted->network().BindNameResolver();
  EXPECT_EQ(system.GetAddrInfo("localhost", AddressFamily::Inet, &addresses), 0);
  ASSERT_FALSE(addresses.empty());
  char host[260];
  EXPECT_EQ(system.GetNameInfo(addresses[0], host, sizeof host, true), 0);
  EXPECT_STREQ(host, "127.0.0.1");
}

TEST_F(NameResolution, ReverseLookupAsksTheHostTableFirst) {
  const SocketAddress v6 = *ParseNumericAddress("::1");
  const SocketAddress v4 = *ParseNumericAddress("127.0.0.3");
  char host[260];
  EXPECT_EQ(resolver_.GetNameInfo(v6, host, sizeof host, false), 0);
  EXPECT_STREQ(host, "copier.office.test") << "the first name listing the address";
  EXPECT_EQ(resolver_.GetNameInfo(v4, host, sizeof host, false), 0);
  EXPECT_STREQ(host, "twice.test");
  EXPECT_EQ(resolver_.GetNameInfo(*ParseNumericAddress("192.0.2.55"), host, sizeof host, false), 0);
  EXPECT_STREQ(host, "192.0.2.55") << "an unknown address answers in numeric form";
}

TEST_F(NameResolution, NameInfoIsBounded) {
  const SocketAddress v4 = *ParseNumericAddress("127.0.0.3");
  char host[11] = "untouched";
  EXPECT_EQ(resolver_.GetNameInfo(v4, host, 9, true), kWsaEfault);
  EXPECT_STREQ(host, "untouched");
  EXPECT_EQ(resolver_.GetNameInfo(v4, host, 10, true), 0);
  EXPECT_STREQ(host, "127.0.0.3");
  EXPECT_EQ(resolver_.GetNameInfo(v4, host, 10, false), kWsaEfault) << "twice.test and NUL";
  EXPECT_EQ(resolver_.GetNameInfo(SocketAddress{}, host, sizeof host, true), kWsaEafnosupport);
  EXPECT_EQ(resolver_.GetNameInfo(v4, nullptr, 0, true), kWsaEfault);
}

TEST(NumericAddresses, ParseAndFormat) {
  EXPECT_FALSE(ParseNumericAddress("printer"));
  EXPECT_FALSE(ParseNumericAddress("10.1.2"));
  EXPECT_FALSE(ParseNumericAddress("fe80::1%"));
  EXPECT_FALSE(ParseNumericAddress("fe80::1%no-such-interface"));
  EXPECT_EQ(ParseNumericAddress("fe80::1%lo")->scopeId, 1u) << "loopback is interface 1";
  EXPECT_EQ(FormatNumericAddress(*ParseNumericAddress("fe80::1%lo")), "fe80::1%1");
  EXPECT_EQ(FormatNumericAddress(SocketAddress{}), "");
}

}  // namespace
}  // namespace platform::simulated
