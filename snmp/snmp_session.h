// Snmp: a session that sends requests and waits for their answers (synchronous get/get-next).
#pragma once

#include <atomic>
#include <memory>

#include "snmp/address.h"
#include "snmp/pdu.h"
#include "snmp/session_backend.h"
#include "snmp/target.h"

namespace Snmp_pp {

// How often the socket layer was started and cleaned up in this process, so tests can check that
// every path balances them.
class SocketLayerStats {
 public:
  static int startups() { return startups_.load(); }
  static int cleanups() { return cleanups_.load(); }
  static int outstanding() { return startups() - cleanups(); }
  static void reset() {
    startups_ = 0;
    cleanups_ = 0;
  }

 private:
  friend class Snmp;
  static inline std::atomic<int> startups_{0};
  static inline std::atomic<int> cleanups_{0};
};

class Snmp {
 public:
  // A UDP session on local `port` (0: any), bound for IPv6 or IPv4. `status` receives
  // SNMP_CLASS_SUCCESS or why the session did not open.
  Snmp(int& status, unsigned short port = 0, bool bind_ipv6 = false);
  // An IPX session on a local IPX socket address (a null text's address is the default).
  Snmp(int& status, const IpxSockAddress& local);
  ~Snmp();
  Snmp(const Snmp&) = delete;
  Snmp& operator=(const Snmp&) = delete;

  // Send `pdu`'s bindings to `target` and wait. On SNMP_CLASS_SUCCESS or SNMP_CLASS_ERR_STATUS_SET
  // (the agent answered with a non-zero error-status) the answer's bindings, error status and
  // index replace the PDU's; on any other status the PDU is left as it was.
  int get(Pdu& pdu, const SnmpTarget& target);
  int get_next(Pdu& pdu, const SnmpTarget& target);

  bool valid() const { return session_ != nullptr; }
  SessionKind kind() const { return kind_; }

  // Windows needs its socket layer started before any session; counted everywhere.
  static int socket_startup();
  static void socket_cleanup();
  static const char* error_msg(int status);

 private:
  int Send(SnmpOperation operation, Pdu& pdu, const SnmpTarget& target);

  SessionKind kind_;
  bool ipv6_ = false;
  std::unique_ptr<TransportSession> session_;
};

}  // namespace Snmp_pp
