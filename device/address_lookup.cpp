#include "device/address_lookup.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "device/ansi_text.h"
#include "device/device_address.h"
#include "device/name_resolution.h"
#include "device/port_resolution.h"
#include "device/printer_host.h"
#include "device/printer_queue.h"
#include "device/query_frame.h"
#include "device/registry_text.h"
#include "device/socket_layer.h"
#include "platform/machine.h"
#include "prompts/module_state.h"
#include "snmp/snmp_pp.h"

namespace device {
namespace {

// Registry and host texts are read into buffers of this size.
constexpr std::size_t kHostTextSize = 255;
// The device's name is read into this buffer.
constexpr unsigned long kDeviceNameSize = 256;
// "%02x" bytes: 8 digits, ":", 12 digits.
constexpr std::size_t kIpxTextSize = 22;

// strncpy of exactly kAddressBookTextLength characters: the text, then NULs.
void WriteAddressBookText(char* out, std::string_view text) {
  for (std::size_t i = 0; i < kAddressBookTextLength; ++i) {
    out[i] = i < text.size() ? text[i] : '\0';
  }
}

std::string FormatIpxAddress(const platform::IpxSocketAddress& address) {
  std::array<char, kIpxTextSize> text{};
  std::snprintf(text.data(), text.size(), "%02x%02x%02x%02x:%02x%02x%02x%02x%02x%02x",
                address.network[0], address.network[1], address.network[2], address.network[3],
                address.node[0], address.node[1], address.node[2], address.node[3], address.node[4],
                address.node[5]);
  return text.data();
}

// Ends a service look-up however the search is left.
class ServiceLookup {
 public:
  ServiceLookup(platform::Network& network, const platform::ServiceQuery& query)
      : network_(network),
        error_(network.LookupServiceBegin(query, platform::kLookupReturnAll, &handle_)) {}
  ~ServiceLookup() {
    if (error_ == 0) network_.LookupServiceEnd(handle_);
  }
  ServiceLookup(const ServiceLookup&) = delete;
  ServiceLookup& operator=(const ServiceLookup&) = delete;

  bool started() const { return error_ == 0; }
  platform::LookupHandle handle() const { return handle_; }

 private:
  platform::Network& network_;
  platform::LookupHandle handle_ = nullptr;
  int error_;
};

bool IsIpxType(Snmp_pp::Address::addr_type type) {
  return type == Snmp_pp::Address::type_ipx || type == Snmp_pp::Address::type_ipxsock;
}

}  // namespace

int IpxNameSpaceKind() {
  const int nt = platform::CurrentMachine().kernel().GetVersion().platformId == 2 ? 1 : 0;
  platform::Network& network = platform::CurrentMachine().network();
  std::vector<std::string> providers;
  std::uint32_t length = 0;
  int error = network.EnumNameSpaceProviders(&length, &providers);
  // A provider list that keeps asking for more than it was given is no list.
  for (std::uint32_t offered = length; error == platform::kWsaEfault;) {
    error = network.EnumNameSpaceProviders(&length, &providers);
    if (error == platform::kWsaEfault && length <= offered) break;
    offered = length;
  }
  if (error != 0) return 3 + nt;
  for (const std::string& provider : providers) {
    if (EqualsIgnoringCase(provider, kSapNameProvider)) return 1 + nt;
    if (EqualsIgnoringCase(provider, kNwLinkProvider)) return 4;
  }
  return 3 + nt;
}

bool MatchIpxDeviceName(std::string_view address, const char* name) {
  if (name == nullptr) return false;
  const SocketLayer sockets;
  const std::string text(address);
  const bool ipv6 = IsIpv6Address(text);
  IpxFirst() =
      !ipv6 && text.size() >= kIpxShapeMinLength && text.size() <= kIpxShapeMaxLength ? 1 : 0;
  int udpStatus = SNMP_CLASS_ERROR;
  Snmp_pp::Snmp udp(udpStatus, 0, ipv6);

  const Snmp_pp::GenAddress target_address(text.c_str());
  Snmp_pp::CTarget target;
  target = Snmp_pp::CTarget(target_address);
  if (!target.set_address(target_address)) return false;

  Snmp_pp::Pdu pdu;
  pdu += Snmp_pp::Vb(Snmp_pp::Oid(kDeviceNameOid));
  int status = SNMP_CLASS_ERROR;
  // A UDP session cannot carry an IPX address: that one is asked over IPX.
  if (IsIpxType(target_address.get_type())) {
    int ipxStatus = SNMP_CLASS_ERROR;
    Snmp_pp::Snmp ipx(ipxStatus, Snmp_pp::IpxSockAddress(nullptr));
    if (ipxStatus != SNMP_CLASS_SUCCESS) return false;
    status = ipx.get(pdu, target);
  } else {
    if (udpStatus != SNMP_CLASS_SUCCESS) return false;
    status = udp.get(pdu, target);
  }
  if (status != SNMP_CLASS_SUCCESS) return false;
  Snmp_pp::Vb vb;
  pdu.get_vb(vb, 0);
  std::array<unsigned char, kDeviceNameSize> value{};
  unsigned long length = 0;
  if (vb.get_value(value.data(), length, kDeviceNameSize, true) != SNMP_CLASS_SUCCESS) {
    return false;
  }
  return EqualsIgnoringCase(reinterpret_cast<const char*>(value.data()), name);
}

bool FindIpxDeviceByName(const char* name, char* address) {
  if (name == nullptr || address == nullptr) return false;
  const SocketLayer sockets;
  platform::Network& network = platform::CurrentMachine().network();
  platform::ServiceQuery query;
  query.size = kServiceQuerySize;
  query.serviceInstanceName = IpxNameSpaceKind() >= kIpxKindWithInstanceName ? "*" : nullptr;
  query.serviceClass = kIpxServiceClass;
  query.nameSpace = platform::kNameSpaceSap;
  const ServiceLookup lookup(network, query);
  if (!lookup.started()) return false;

  std::vector<std::uint8_t> buffer(kServiceQuerySize, 0);
  while (true) {
    auto length = static_cast<std::uint32_t>(buffer.size());
    platform::IpxSocketAddress found;
    const int error = network.LookupServiceNext(lookup.handle(), platform::kLookupReturnAll,
                                                &length, buffer.data(), &found);
    if (error == platform::kWsaEfault) {
      // Grown only when the provider asks for more than it had.
      if (length <= buffer.size()) return false;
      buffer.assign(length, 0);
      continue;
    }
    if (error != 0) return false;
    const Snmp_pp::GenAddress candidate(FormatIpxAddress(found).c_str());
    if (MatchIpxDeviceName(candidate.get_printable(), name)) {
      CopyBounded(address, kAddressBufferSize, candidate.get_printable());
      return true;
    }
  }
}

int ReadControllerDiscoveryValue(const char* queueName, char* out) {
  if (out == nullptr) return 1;
  out[0] = '\0';
  QueueHandle queue;
  const auto record = GetPrinterInfo(queueName, queue);
  if (record == nullptr) return 1;
  const auto key = OpenKey(platform::Hive::LocalMachine, kControllerDiscoveryKey);
  if (key == nullptr) return 1;
  std::array<char, kHostTextSize> value{};
  if (ReadTextInto(*key, record->portName, value.data(), value.size(), value.size())) {
    CopyBounded(out, kAddressBufferSize, TextIn(value.data(), value.size()));
  }
  return 1;
}

bool LookUpIpxAddress(const char* deviceAddress, const char* queueName, char* out) {
  out[0] = '\0';
  if (!FindIpxDeviceByName(deviceAddress, out)) ReadControllerDiscoveryValue(queueName, out);
  return out[0] != '\0';
}

int GetIpAddressForAddressBook(const char* printerName, char* address) {
  const prompts::ModuleStateGuard moduleState;
  if (address == nullptr) return 0;
  WriteAddressBookText(address, kNoAddressBookAddress);
  if (printerName == nullptr) return 1;

  std::array<char, kPrinterHostSize> host{};
  const int found = FindPrinterHost(printerName, host.data(), nullptr);
  const std::string_view hostText = TextIn(host.data(), host.size());
  if (found == kNoPrinterHost) return 1;
  if (found == kPrinterHostNumeric) {
    WriteAddressBookText(address, hostText.empty() ? kNoAddressBookAddress : hostText);
    return 1;
  }
  std::vector<char> resolved(kAddressBufferSize, '\0');
  CanResolveHost(host.data(), resolved.data());
  WriteAddressBookText(address, TextIn(resolved.data(), resolved.size()));
  if (address[0] != '\0') return 1;

  std::array<char, kAddressBufferSize> fallback{};
  LookUpIpxAddress(host.data(), printerName, fallback.data());
  const std::string_view text = TextIn(fallback.data(), fallback.size());
  WriteAddressBookText(address, text.empty() ? kNoAddressBookAddress : text);
  return 1;
}

int GetControllerAddress(platform::PrinterHandle handle, int variant, char* address) {
  if (address == nullptr) return 0;
  // Only the handle names the queue: without one nothing is found.
  if (handle == nullptr) return 0;
  QueueHandle queue(handle);
  const auto record = GetPrinterInfo(nullptr, queue);
  if (record == nullptr) return 0;
  return ResolveDeviceAddress(record.get(), address, variant, queue.get(), 1, nullptr, 0) ==
                 kAddressFound
             ? 1
             : 0;
}

int GetControllerAddressForFax(int variant, char* address, const char* queueName,
                               platform::PrinterHandle handle) {
  if (address == nullptr) return 0;
  QueueHandle queue(IsWindows9x() ? nullptr : handle);
  const auto record = GetPrinterInfo(queueName, queue);
  if (record == nullptr) return 0;
  return ResolveDeviceAddress(record.get(), address, variant, queue.get(), 1, nullptr, 0) ==
                 kAddressFound
             ? 1
             : 0;
}

}  // namespace device
