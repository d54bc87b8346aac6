#include "device/model_check.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string>

#include "device/ansi_text.h"
#include "device/device_address.h"
#include "device/family_models.h"
#include "device/name_resolution.h"
#include "device/query_frame.h"
#include "device/socket_layer.h"
#include "platform/machine.h"
#include "prompts/module_state.h"
#include "snmp/snmp_pp.h"

namespace device {
namespace {

int NotOurs(int* notOurs) {
  if (notOurs != nullptr) *notOurs = 1;
  return kModelNotOurs;
}

}  // namespace

int VerifyDeviceModel(platform::PrinterHandle queue, const char* address, int verify,
                      int* notOurs) {
  if (address == nullptr || *address == '\0') return kModelNotOurs;
  platform::CurrentMachine().ui().SetWaitCursor(true);
  const prompts::ModuleStateGuard moduleState;

  std::array<char, kAddressBufferSize> numeric{};
  const bool resolved = ResolveNumericAddress(address, numeric.data());
  std::array<char, kAddressBufferSize> numericCopy{};
  std::snprintf(numericCopy.data(), numericCopy.size(), "%s", numeric.data());
  const bool ipv6 = IsIpv6Address(TextIn(numericCopy.data(), numericCopy.size()));

  int udpStatus = SNMP_CLASS_ERROR;
  int ipxStatus = SNMP_CLASS_ERROR;
  std::optional<Snmp_pp::Snmp> udpSession;
  std::optional<Snmp_pp::Snmp> ipxSession;
  const SocketLayer sockets;
  udpSession.emplace(udpStatus, 0, ipv6);
  ipxSession.emplace(ipxStatus, Snmp_pp::IpxSockAddress(nullptr));
  if (udpStatus != SNMP_CLASS_SUCCESS) {
    return ipxStatus != SNMP_CLASS_SUCCESS ? kModelNoSession : kModelNotOurs;
  }

  Snmp_pp::CTarget target;
  if (!resolved) return kModelNotOurs;
  const std::string host(WithoutScope(TextIn(numericCopy.data(), numericCopy.size())));
  target = Snmp_pp::CTarget(Snmp_pp::IpAddress(host.c_str()));
  target.set_timeout(kQueryTimeout);
  ReadSnmpCommunity(target, queue);

  if (verify != 1) return kModelOurs;
  if (notOurs != nullptr && *notOurs != 0) return kModelNotOurs;

  std::array<char, kAddressBufferSize> oidText{};
  CopyBounded(oidText.data(), oidText.size(), kSysObjectIdOid);
  Snmp_pp::Vb vb{Snmp_pp::Oid(oidText.data())};
  Snmp_pp::Pdu pdu;
  pdu += vb;
  // The model is asked over UDP only: a print server is no IPX device.
  const int status = udpSession->get(pdu, target);
  if (status == SNMP_CLASS_TIMEOUT) return kModelTimedOut;
  if (status != SNMP_CLASS_SUCCESS) return NotOurs(notOurs);

  pdu.get_vb(vb, 0);
  if (!Contains(vb.get_printable_oid(), kSysObjectIdOid)) return NotOurs(notOurs);
  std::array<char, kAddressBufferSize> value{};
  CopyBounded(value.data(), value.size(),
              std::string_view(vb.get_printable_value()).substr(0, kAddressOfferedBytes));
  if (MatchFamilyModel(TextIn(value.data(), value.size()), kVerifyModelOrder) != nullptr) {
    return kModelOurs;
  }
  return NotOurs(notOurs);
}

}  // namespace device
