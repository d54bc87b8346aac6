// The login reply comes from the device; IPX address texts come from the
// registry, the discovery values and the IPX name space; any device address
// text reaches the SNMP address classes. ParseReturnValue takes any reply;
// HexPairsToBytes and the simulated IPX network read an IPX address text
// alike, and the SNMP IPX address reads every text they take, to the same
// bytes, printing a text it reads back the same; the other SNMP address
// classes take any text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "platform/network.h"
#include "platform/simulated/simulated_ipx.h"
#include "platform/simulated/simulated_machine.h"
#include "prompts/login_dialog.h"
#include "snmp/address.h"

namespace {

constexpr char kMachine[] = R"([HKLM\SOFTWARE\SimulatedMachine\Hosts]
"printer.test"="10.0.0.7"
"six.test"="fe80::1"
)";

void Check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "ipx_login_text_fuzzer: %s\n", what);
    std::abort();
  }
}

bool SameBytes(const platform::IpxSocketAddress& a, const platform::IpxSocketAddress& b) {
  return a.network == b.network && a.node == b.node;
}

bool SameBytes(const Snmp_pp::IpxAddress& snmp, const platform::IpxSocketAddress& b) {
  return std::memcmp(snmp.bytes().data(), b.network.data(), b.network.size()) == 0 &&
         std::memcmp(snmp.bytes().data() + b.network.size(), b.node.data(), b.node.size()) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const platform::simulated::ScopedMachine machine(
      platform::simulated::SimulatedMachine::FromRegistryLines(kMachine));
  FuzzedDataProvider in(data, size);
  const std::string text = in.ConsumeRemainingBytesAsString();

  prompts::ParseReturnValue(text);

  const std::optional<platform::IpxSocketAddress> login = prompts::HexPairsToBytes(text);
  const std::optional<platform::IpxSocketAddress> simulated =
      platform::simulated::ParseIpxAddressText(text);
  Check(login.has_value() == simulated.has_value(), "the IPX readers disagree on a text");
  if (login) Check(SameBytes(*login, *simulated), "the IPX readers disagree on the bytes");

  // The SNMP classes take C texts: up to the first NUL.
  const Snmp_pp::IpxAddress ipx(text.c_str());
  if (login && std::strlen(text.c_str()) == text.size()) {
    Check(ipx.valid(), "the SNMP IPX address refuses an IPX address text");
    Check(SameBytes(ipx, *login), "the SNMP IPX address reads other bytes");
  }
  if (ipx.valid()) {
    const Snmp_pp::IpxAddress again(ipx.get_printable());
    Check(again.valid() && again.bytes() == ipx.bytes(), "an IPX address prints another");
  }
  const Snmp_pp::IpxSockAddress socket(text.c_str());
  socket.get_printable();
  const Snmp_pp::UdpAddress udp(text.c_str());
  udp.get_printable();
  const Snmp_pp::GenAddress any(text.c_str());
  any.get_printable();
  return 0;
}
