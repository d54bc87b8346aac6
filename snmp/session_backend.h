// Where Snmp sessions come from. The process has one installed backend: Net-SNMP over UDP unless
// something else is installed (the scripted backend in tests, a machine that maps IPX nodes to
// loopback endpoints). Snmp validates a request and hands it to its transport session.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "snmp/address.h"
#include "snmp/smi.h"
#include "snmp/vb.h"

namespace Snmp_pp {

enum class SessionKind { kUdp, kIpx };
enum class SnmpOperation { kGet, kGetNext };

struct SnmpRequest {
  SessionKind session = SessionKind::kUdp;
  SnmpOperation operation = SnmpOperation::kGet;
  GenAddress address;                   // the target's address as it was set
  unsigned short destination_port = 0;  // resolved: the address's port or the default
  std::string community;
  snmp_version version = version1;
  unsigned long timeout = 0;  // hundredths of a second, per send
  int retries = 0;
  std::vector<Vb> vbs;
};

struct SnmpResponse {
  int error_status = 0;
  int error_index = 0;
  std::vector<Vb> vbs;
};

class TransportSession {
 public:
  virtual ~TransportSession() = default;
  // SNMP_CLASS_SUCCESS with `response` filled in, or a negative SNMP_CLASS_* status
  // (SNMP_CLASS_TIMEOUT when nothing answered within timeout x (retries + 1)).
  virtual int Send(const SnmpRequest& request, SnmpResponse* response) = 0;
};

class SessionBackend {
 public:
  virtual ~SessionBackend() = default;
  // SNMP_CLASS_SUCCESS with `session` set, or a non-zero status.
  virtual int OpenUdp(unsigned short local_port, bool bind_ipv6,
                      std::unique_ptr<TransportSession>* session) = 0;
  virtual int OpenIpx(const IpxSockAddress& local, std::unique_ptr<TransportSession>* session) = 0;
};

// The installed backend; never null.
std::shared_ptr<SessionBackend> CurrentSessionBackend();
// Installs `backend` (null: the default Net-SNMP backend) and returns the one it replaces.
// Sessions already open keep the backend they came from.
std::shared_ptr<SessionBackend> InstallSessionBackend(std::shared_ptr<SessionBackend> backend);

// Installs a backend for the life of a scope (a test), then puts the previous one back.
class ScopedSessionBackend {
 public:
  explicit ScopedSessionBackend(std::shared_ptr<SessionBackend> backend)
      : previous_(InstallSessionBackend(std::move(backend))) {}
  ~ScopedSessionBackend() { InstallSessionBackend(std::move(previous_)); }
  ScopedSessionBackend(const ScopedSessionBackend&) = delete;
  ScopedSessionBackend& operator=(const ScopedSessionBackend&) = delete;

 private:
  std::shared_ptr<SessionBackend> previous_;
};

// The destination port of an address that names none: VX5PRCFG_SNMP_PORT when it holds a port
// number, else the SNMP port 161.
unsigned short DefaultDestinationPort();

}  // namespace Snmp_pp
