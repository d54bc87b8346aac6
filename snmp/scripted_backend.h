// A session backend for tests: a script decides the status and answer of every send on either
// session (UDP or IPX), every send is recorded, and opening either session can be made to fail.
// Nothing touches the network, so time-outs and IPX cost no time.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "snmp/session_backend.h"
#include "snmp/snmp_errors.h"

namespace Snmp_pp {

// One send as the scripted backend saw it.
struct ScriptedSend {
  SessionKind session = SessionKind::kUdp;
  SnmpOperation operation = SnmpOperation::kGet;
  std::string address;  // the target address's printable text ("" when empty)
  unsigned short port = 0;
  std::string community;
  unsigned long timeout = 0;
  int retries = 0;
  std::vector<Oid> oids;
};

struct ScriptedReply {
  int status = SNMP_CLASS_SUCCESS;
  int error_status = SNMP_ERROR_SUCCESS;
  int error_index = 0;
  // Bindings of the answer; one without an object identifier answers for the requested one.
  std::vector<Vb> vbs;

  static ScriptedReply Status(int status);
  static ScriptedReply Timeout() { return Status(SNMP_CLASS_TIMEOUT); }
  static ScriptedReply ErrorStatus(int error_status, int error_index = 1);
  static ScriptedReply Value(const Vb& vb);
  static ScriptedReply Integer(long value);
  static ScriptedReply Text(const char* text);
  static ScriptedReply Octets(const std::vector<unsigned char>& bytes);
  static ScriptedReply ObjectId(const char* dotted);
};

class ScriptedBackend : public SessionBackend {
 public:
  using Responder = std::function<ScriptedReply(const ScriptedSend&)>;

  // Until a responder is set, every send times out.
  ScriptedBackend();

  void SetResponder(Responder responder);
  // Opening a session of `kind` answers `status` from now on (SNMP_CLASS_SUCCESS: it opens).
  void SetOpenStatus(SessionKind kind, int status);

  std::vector<ScriptedSend> Sends() const;
  void ClearSends();
  int OpenCount(SessionKind kind) const;

  int OpenUdp(unsigned short local_port, bool bind_ipv6,
              std::unique_ptr<TransportSession>* session) override;
  int OpenIpx(const IpxSockAddress& local, std::unique_ptr<TransportSession>* session) override;

  struct State;

 private:
  int Open(SessionKind kind, std::unique_ptr<TransportSession>* session);

  std::shared_ptr<State> state_;
};

// An in-memory MIB answering as an SNMPv1 agent does: get of an absent object and get-next past
// the last one answer noSuchName.
class ScriptedAgent {
 public:
  ScriptedAgent& Set(const char* oid, long value);
  ScriptedAgent& Set(const char* oid, const char* text);
  ScriptedAgent& SetOctets(const char* oid, const std::vector<unsigned char>& bytes);
  ScriptedAgent& SetObjectId(const char* oid, const char* value);

  ScriptedReply Answer(const ScriptedSend& send) const;
  // A responder answering from a copy of this agent.
  ScriptedBackend::Responder AsResponder() const;

 private:
  std::map<Oid, Vb> objects_;
};

}  // namespace Snmp_pp
