// The simulated machine's IPX network: what the profile's Ipx key gives the
// name-space calls, where datagrams to an IPX node go, and whether the SNMP
// layer's sessions over IPX open.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "platform/simulated/simulated_ipx.h"
#include "platform/simulated/simulated_machine.h"
#include "snmp/snmp_pp.h"

namespace platform::simulated {
namespace {

constexpr char kIpxKey[] = "[HKLM\\SOFTWARE\\SimulatedMachine\\Ipx]\n";

// A UDP socket on 127.0.0.1 at a port the system chose.
class LoopbackPort {
 public:
  LoopbackPort() : fd_(::socket(AF_INET, SOCK_DGRAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~LoopbackPort() { ::close(fd_); }
  std::uint16_t port() const { return port_; }
  std::string Receive() {
    pollfd ready{fd_, POLLIN, 0};
    if (::poll(&ready, 1, 2000) != 1) return "(nothing)";
    char buffer[256];
    const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
    return got < 0 ? "(error)" : std::string(buffer, static_cast<std::size_t>(got));
  }

 private:
  int fd_;
  std::uint16_t port_ = 0;
};

std::string Machine(std::uint16_t port) {
  char socketPort[64];
  std::snprintf(socketPort, sizeof socketPort, "\"1a0b\"=dword:%08x\n", port);
  return std::string(kIpxKey) +
         "\"NameSpaceProviders\"=\"First;NWLink IPX/SPX Compatible Transport Protocol\"\n"
         "[HKLM\\SOFTWARE\\SimulatedMachine\\Ipx\\Services]\n"
         "\"zeta\"=\"0000000B-00C0EE445566\"\n\"alpha\"=\"0000000c:000000000001\"\n"
         "\"broken\"=\"0000000c000000000001\"\n"
         "[HKLM\\SOFTWARE\\SimulatedMachine\\Ipx\\Nodes]\n"
         "\"0000000b-00c0ee445566\"=\"127.0.0.1\"\n\"0000000d-000000000001\"=\"no address\"\n"
         "[HKLM\\SOFTWARE\\SimulatedMachine\\Ipx\\Sockets]\n" +
         socketPort;
}

IpxSocketAddress Node(std::string_view text, std::uint16_t socket) {
  auto address = ParseIpxAddressText(text);
  EXPECT_TRUE(address.has_value()) << text;
  address->socket = socket;
  return *address;
}

TEST(IpxNetwork, ProvidersAndServicesComeInTheProfilesOrder) {
  ScopedMachine machine(SimulatedMachine::FromRegistryLines(Machine(1)));
  Network& network = machine->network();

  std::uint32_t length = 0;
  std::vector<std::string> providers;
  ASSERT_EQ(network.EnumNameSpaceProviders(&length, &providers), kWsaEfault);
  ASSERT_GT(length, 0u);
  ASSERT_EQ(network.EnumNameSpaceProviders(&length, &providers), 0);
  EXPECT_EQ(providers,
            (std::vector<std::string>{"First", "NWLink IPX/SPX Compatible Transport Protocol"}));

  ServiceQuery query;
  query.nameSpace = kNameSpaceSap;
  LookupHandle handle = nullptr;
  ASSERT_EQ(network.LookupServiceBegin(query, kLookupReturnAll, &handle), 0);
  std::vector<IpxSocketAddress> found;
  std::uint32_t size = 120;
  IpxSocketAddress address;
  for (int error;
       (error = network.LookupServiceNext(handle, 0, &size, nullptr, &address)) != kWsaENoMore;) {
    if (error == kWsaEfault) continue;  // the size needed is in `size` now
    ASSERT_EQ(error, 0);
    found.push_back(address);
  }
  EXPECT_EQ(network.LookupServiceEnd(handle), 0);
  // Listed order, not name order; an entry that is no IPX address is left out.
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].node[5], 0x66);
  EXPECT_EQ(found[1].network[3], 0x0c);

  query.nameSpace = 2;  // not SAP
  EXPECT_NE(network.LookupServiceBegin(query, kLookupReturnAll, &handle), 0);
}

TEST(IpxNetwork, DatagramsReachTheMappedNodesPortAndAreLostElsewhere) {
  LoopbackPort device;
  ScopedMachine machine(SimulatedMachine::FromRegistryLines(Machine(device.port())));
  int error = -1;
  auto socket = machine->network().OpenIpxDatagramSocket(&error);
  ASSERT_NE(socket, nullptr);

  const IpxSocketAddress mapped = Node("0000000b-00c0ee445566", 0x1A0B);
  ASSERT_EQ(socket->Connect(mapped), 0);
  ASSERT_EQ(socket->SendTo("hello", 6, mapped), 0);
  EXPECT_EQ(device.Receive(), std::string("hello", 6));

  // An unmapped node takes the datagram and nothing ever answers.
  auto lost = machine->network().OpenIpxDatagramSocket(&error);
  const IpxSocketAddress unmapped = Node("0000000b-000000000099", 0x1A0B);
  EXPECT_EQ(lost->Connect(unmapped), 0);
  EXPECT_EQ(lost->SendTo("x", 1, unmapped), 0);
  char reply[8];
  std::size_t received = 99;
  EXPECT_EQ(lost->ReceiveFrom(reply, sizeof reply, 50, &received), kWsaTimedOut);
  EXPECT_EQ(received, 0u);

  // A node mapped to something that is no address cannot be reached.
  EXPECT_EQ(lost->Connect(Node("0000000d-000000000001", 0x1A0B)), kWsaEnetunreach);
}

TEST(IpxNetwork, WithoutTheIpxKeyNeitherSocketsNorSnmpSessionsOpen) {
  const Snmp_pp::ScopedSessionBackend defaultBackend(nullptr);
  {
    ScopedMachine machine(SimulatedMachine::FromRegistryLines(""));
    int error = 0;
    EXPECT_EQ(machine->network().OpenIpxDatagramSocket(&error), nullptr);
    EXPECT_EQ(error, kWsaEafnosupport);
    int status = 0;
    Snmp_pp::Snmp ipx(status, Snmp_pp::IpxSockAddress(nullptr));
    EXPECT_NE(status, SNMP_CLASS_SUCCESS);
  }
  ScopedMachine machine(SimulatedMachine::FromRegistryLines(kIpxKey));
  int status = -1;
  Snmp_pp::Snmp ipx(status, Snmp_pp::IpxSockAddress(nullptr));
  EXPECT_EQ(status, SNMP_CLASS_SUCCESS);
  // A node nothing stands for is no route.
  Snmp_pp::CTarget target(Snmp_pp::GenAddress("0000000b-00c0ee445566"));
  Snmp_pp::Pdu pdu;
  pdu += Snmp_pp::Vb(Snmp_pp::Oid("1.3.6.1.2.1.1.2.0"));
  EXPECT_EQ(ipx.get(pdu, target), SNMP_CLASS_TL_FAILED);
}

TEST(IpxNetwork, AddressTextsNeedBothNumbersInHexadecimal) {
  EXPECT_TRUE(ParseIpxAddressText("0000000b-00C0EE445566"));
  EXPECT_TRUE(ParseIpxAddressText("0000000b:00c0ee445566"));
  EXPECT_FALSE(ParseIpxAddressText("0000000b.00c0ee445566"));
  EXPECT_FALSE(ParseIpxAddressText("0000000b-00c0ee44556g"));
  EXPECT_FALSE(ParseIpxAddressText("000000b-00c0ee4455660"));
}

}  // namespace
}  // namespace platform::simulated
