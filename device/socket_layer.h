// The SNMP library's socket layer, started for a scope: every start is
// matched by exactly one clean-up, whichever way the scope is left.
#pragma once

#include "snmp/snmp_session.h"

namespace device {

class SocketLayer {
 public:
  SocketLayer() { Snmp_pp::Snmp::socket_startup(); }
  ~SocketLayer() { Snmp_pp::Snmp::socket_cleanup(); }
  SocketLayer(const SocketLayer&) = delete;
  SocketLayer& operator=(const SocketLayer&) = delete;
};

}  // namespace device
