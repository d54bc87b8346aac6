#include "device/query_frame.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string>

#include "device/ansi_text.h"
#include "device/device_address.h"
#include "device/port_resolution.h"
#include "device/printer_queue.h"
#include "device/socket_layer.h"
#include "platform/decimal_text.h"
#include "platform/machine.h"
#include "prompts/module_state.h"
#include "prompts/module_text.h"
#include "resources/resource_ids.h"

namespace device {
namespace {

using Snmp_pp::Address;
using Snmp_pp::GenAddress;

constexpr std::string_view kSnmpCommunityData = "SNMP Community";
// Every query asks ResolveDeviceAddress for the model check where the port
// needs one, and never trusts the port blindly.
constexpr int kVerifyModel = 1;
constexpr int kUntrusted = 0;

GenAddress TargetAddress(AddressObject kind, std::string_view address, bool ipv6Shape) {
  const bool hadPercent = address.find('%') != std::string_view::npos;
  const std::string cut(hadPercent ? WithoutScope(address) : address);
  if (hadPercent && cut.empty()) return GenAddress();  // nothing but "%": every request fails
  const std::string whole(address);
  switch (kind) {
    case AddressObject::kIpWithPercentElseGen:
      return hadPercent ? GenAddress(Snmp_pp::IpAddress(cut.c_str()))
                        : GenAddress(cut.c_str(), Address::type_invalid);
    case AddressObject::kGenAddress:
      return GenAddress(cut.c_str(), Address::type_invalid);
    case AddressObject::kIpAddress:
      return GenAddress(Snmp_pp::IpAddress(cut.c_str()));
    case AddressObject::kGenWholeText:
      return GenAddress(whole.c_str(), Address::type_invalid);
    case AddressObject::kGenWithPercentElseIp:
      return hadPercent ? GenAddress(cut.c_str(), Address::type_invalid)
                        : GenAddress(Snmp_pp::IpAddress(cut.c_str()));
    case AddressObject::kByShape:
      if (ipv6Shape || cut.size() < kIpxShapeMinLength) {
        return GenAddress(Snmp_pp::IpAddress(cut.c_str()));
      }
      if (cut.size() <= kIpxShapeMaxLength) return GenAddress(Snmp_pp::IpxAddress(cut.c_str()));
      return GenAddress();  // a long host name gets no address at all
  }
  return GenAddress();
}

}  // namespace

int& IpxFirst() {
  static int ipxFirst = 0;
  return ipxFirst;
}

std::string_view WithoutScope(std::string_view address) {
  const std::size_t start = std::min(address.find_first_not_of('%'), address.size());
  const std::string_view rest = address.substr(start);
  return rest.substr(0, rest.find('%'));
}

int ReadSnmpCommunity(Snmp_pp::CTarget& target, platform::PrinterHandle queue) {
  if (queue == nullptr) return 0;
  std::array<char, kAddressBufferSize> community{};
  if (!ReadPrinterDataText(queue, kSnmpCommunityData, community.data())) return 0;
  target.set_readcommunity(Snmp_pp::OctetStr(community.data()));
  return 1;
}

void ShowNoConnectionMessage(int bufferSize) {
  std::array<char, kLongMessageBuffer> text{};
  std::array<char, kLongMessageBuffer> caption{};
  const int capacity = std::min(bufferSize, kLongMessageBuffer);
  prompts::LoadModuleText(IDS_STR_NO_DEVICE_CONNECTION, text.data(), capacity);
  prompts::LoadModuleText(IDS_STR_ERROR, caption.data(), capacity);
  platform::CurrentMachine().ui().MessageBox(nullptr, text.data(), caption.data(), platform::kMbOk);
}

int QuerySession::Send(Snmp_pp::Snmp& session, int& status, Snmp_pp::SnmpOperation operation) {
  status = operation == Snmp_pp::SnmpOperation::kGetNext ? session.get_next(pdu_, target_)
                                                         : session.get(pdu_, target_);
  return status;
}

RequestResult QuerySession::Request(RequestPattern pattern, const char* oid,
                                    Snmp_pp::SnmpOperation operation) {
  RequestResult result;
  result.vb = Snmp_pp::Vb(Snmp_pp::Oid(oid));
  pdu_.trim(1);
  pdu_ += result.vb;
  const bool ipxFirst = IpxFirst() == 1;
  switch (pattern) {
    case RequestPattern::kA:
      result.status = ipxFirst && Send(ipx_, ipxStatus_, operation) == SNMP_CLASS_SUCCESS
                          ? SNMP_CLASS_SUCCESS
                          : Send(udp_, udpStatus_, operation);
      result.failed = result.status != SNMP_CLASS_SUCCESS;
      break;
    case RequestPattern::kB:
    case RequestPattern::kC:
      // The session that sends nothing keeps the status of its opening.
      result.status =
          ipxFirst ? Send(ipx_, ipxStatus_, operation) : Send(udp_, udpStatus_, operation);
      result.failed = pattern == RequestPattern::kB
                          ? udpStatus_ != SNMP_CLASS_SUCCESS && ipxStatus_ != SNMP_CLASS_SUCCESS
                          : result.status != SNMP_CLASS_SUCCESS;
      break;
  }
  pdu_.get_vb(result.vb, 0);
  return result;
}

FrameOutcome RunQuery(const QueryVariant& variant, const QueryCall& call, const QueryBody& body) {
  // Step 2 first: IsWindows9x needs no module state. The queue closes last.
  const bool ignoreHandle = variant.handleRule == HandleRule::kIgnoreOnWindows9x && IsWindows9x();
  QueueHandle queue(ignoreHandle ? nullptr : call.queue);
  const prompts::ModuleStateGuard moduleState;  // step 1

  auto record = GetPrinterInfo(call.queueName, queue);  // step 3
  std::array<char, kAddressBufferSize> address{};
  const int resolved =
      ResolveDeviceAddress(record.get(), address.data(), platform::ReadDecimal(call.variantText),
                           queue.get(), kVerifyModel, call.notOurs, kUntrusted);  // step 4

  // Declared before the socket layer so that they go after its clean-up.
  int udpStatus = SNMP_CLASS_ERROR;
  int ipxStatus = SNMP_CLASS_ERROR;
  std::optional<Snmp_pp::Snmp> udpSession;
  std::optional<Snmp_pp::Snmp> ipxSession;
  std::optional<GenAddress> targetAddress;
  std::optional<Snmp_pp::CTarget> target;
  std::optional<QuerySession> session;
  const SocketLayer sockets;  // step 5
  const bool addressFound = record != nullptr && resolved == kAddressFound;
  record.reset();
  if (!addressFound && !variant.goesOnPastF1F2) return FrameOutcome::kF1;

  // Step 6: the address's shape. A query that went on past F1 skips it:
  // ipxFirst keeps its value and UDP binds IPv4.
  bool ipv6 = false;
  if (addressFound) {
    std::array<char, kAddressBufferSize> shape{};
    std::snprintf(shape.data(), shape.size(), "%s", address.data());
    const std::string_view shapeText = TextIn(shape.data(), shape.size());
    ipv6 = IsIpv6Address(shapeText);
    IpxFirst() =
        !ipv6 && shapeText.size() >= kIpxShapeMinLength && shapeText.size() <= kIpxShapeMaxLength
            ? 1
            : 0;
  }

  // Step 7.
  udpSession.emplace(udpStatus, 0, ipv6);
  ipxSession.emplace(ipxStatus, Snmp_pp::IpxSockAddress(nullptr));
  const bool noSession = variant.sessionsRequired == SessionsRequired::kUdp
                             ? udpStatus != SNMP_CLASS_SUCCESS
                             : udpStatus != SNMP_CLASS_SUCCESS && ipxStatus != SNMP_CLASS_SUCCESS;
  if (noSession) {
    if (variant.messageAtF2) ShowNoConnectionMessage(variant.messageBufferSize);
    if (!variant.goesOnPastF1F2 && !variant.goesOnPastF2) return FrameOutcome::kF2;
  }

  // Step 8.
  targetAddress.emplace(
      TargetAddress(variant.addressObject, TextIn(address.data(), address.size()), ipv6));
  target.emplace(*targetAddress);
  if (variant.setTimeout) target->set_timeout(kQueryTimeout);
  ReadSnmpCommunity(*target, queue.get());

  session.emplace(*udpSession, udpStatus, *ipxSession, ipxStatus, *target,
                  TextIn(address.data(), address.size()), queue.get());
  body(*session);  // steps 9 and 10
  return FrameOutcome::kRan;
}

}  // namespace device
