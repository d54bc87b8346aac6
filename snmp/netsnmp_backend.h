// The default session backend: SNMP over UDP (IPv4, IPv6) through Net-SNMP's single-session API.
// Linux has no IPX: an IPX session opens only when the machine maps IPX nodes to UDP endpoints.
#pragma once

#include <functional>
#include <optional>

#include "snmp/session_backend.h"

namespace Snmp_pp {

class NetSnmpBackend : public SessionBackend {
 public:
  // The UDP endpoint that stands for an IPX node, if the machine has one.
  using IpxEndpointMap = std::function<std::optional<UdpAddress>(const IpxAddress& node)>;

  // Whether the machine has IPX at all; unset: it has when there is a map.
  using IpxPresence = std::function<bool()>;

  explicit NetSnmpBackend(IpxEndpointMap ipx_endpoints = {}, IpxPresence ipx_present = {});

  int OpenUdp(unsigned short local_port, bool bind_ipv6,
              std::unique_ptr<TransportSession>* session) override;
  int OpenIpx(const IpxSockAddress& local, std::unique_ptr<TransportSession>* session) override;

 private:
  IpxEndpointMap ipx_endpoints_;
  IpxPresence ipx_present_;
};

}  // namespace Snmp_pp
