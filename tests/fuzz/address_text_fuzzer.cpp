// Port names, server names, URLs and printer names come from the spooler and
// the registry, written by anyone. The address predicates, the port
// classifiers and the URL, host-and-port and UNC splitters take any text; the
// resolvers write only inside the address buffer and leave it terminated.
// Names resolve through the machine's host table; every SNMP send of a model
// check times out at once.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "device/device_address.h"
#include "device/port_resolution.h"
#include "device/printer_host.h"
#include "platform/simulated/simulated_machine.h"
#include "snmp/scripted_backend.h"
#include "snmp/snmp_pp.h"

namespace {

constexpr char kMachine[] = R"([HKLM\SOFTWARE\SimulatedMachine\Hosts]
"printer.test"="10.0.0.7"
"multi.test"="10.0.0.1,10.0.0.2"
"six.test"="fe80::1"
"srv"="10.0.0.8"
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\Q]
"Port"="IP_10.0.0.7"
"Attributes"=dword:00000040
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\Lpr Copier]
"Port"="LprPort"
"Attributes"=dword:00000040
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\Standard TCP/IP Port\Ports\IP_10.0.0.7]
"IPAddress"="10.0.0.7"
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\Standard TCP/IP Port\Ports\HostPort]
"HostName"="printer.test"
[HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\LPR Port\Ports\LprPort]
"Server Name"="printer.test"
[HKLM\SOFTWARE\SimulatedMachine\NetworkPrinters\Shared]
"Port"="\\\\srv\\Shared"
"Attributes"=dword:00000010
)";

void Check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "address_text_fuzzer: %s\n", what);
    std::abort();
  }
}

// An address buffer on the heap at its exact size, checked to be terminated.
class AddressOut {
 public:
  explicit AddressOut(std::size_t size = device::kAddressBufferSize) : bytes_(size, '#') {}
  char* data() { return bytes_.data(); }
  void CheckTerminated() const {
    Check(std::memchr(bytes_.data(), '\0', bytes_.size()) != nullptr, "an unterminated address");
  }

 private:
  std::vector<char> bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int which = in.ConsumeIntegralInRange(0, 5);
  const int variant = in.ConsumeBool() ? 3 : 0;
  const int verify = in.ConsumeBool() ? 1 : 0;
  const std::string server = in.ConsumeRandomLengthString(300);
  const std::string text = in.ConsumeRemainingBytesAsString();

  const Snmp_pp::ScopedSessionBackend scoped(std::make_shared<Snmp_pp::ScriptedBackend>());
  const platform::simulated::ScopedMachine machine(
      platform::simulated::SimulatedMachine::FromRegistryLines(kMachine));

  device::IsIpv6Address(text);
  device::IsIpv6Name(text);
  device::IsDottedQuad(text);
  device::IsDottedAddress(text);
  device::ServerPart(text);

  AddressOut address;
  switch (which) {
    case 0: {
      int notOurs = 0;
      address.data()[0] = '\0';
      device::ResolveLocalPortAddress(text, address.data(), variant, nullptr, verify, &notOurs,
                                      verify == 0 ? 1 : 0);
      break;
    }
    case 1:
      address.data()[0] = '\0';
      device::ResolveNetworkPortAddress(server, text, address.data(), variant, nullptr, verify);
      break;
    case 2:
      device::ClassifyLocalPort(text);
      device::ClassifyNetworkPort(text, address.data());
      break;
    case 3:
      device::ResolveUncServer(text, address.data());
      break;
    case 4:
      device::ResolveHostOfHostPort(text, address.data());
      device::ResolveUrlHost(server, address.data());
      break;
    default: {
      AddressOut host(device::kPrinterHostSize);
      host.data()[0] = '\0';
      device::FindPrinterHost(text.c_str(), host.data(), nullptr);
      host.CheckTerminated();
      address.data()[0] = '\0';
      break;
    }
  }
  address.CheckTerminated();
  return 0;
}
