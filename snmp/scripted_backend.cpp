#include "snmp/scripted_backend.h"

#include <mutex>

namespace Snmp_pp {

struct ScriptedBackend::State {
  mutable std::mutex mutex;
  Responder responder;
  int udp_open_status = SNMP_CLASS_SUCCESS;
  int ipx_open_status = SNMP_CLASS_SUCCESS;
  int udp_opens = 0;
  int ipx_opens = 0;
  std::vector<ScriptedSend> sends;
};

namespace {

class ScriptedSession : public TransportSession {
 public:
  explicit ScriptedSession(std::shared_ptr<ScriptedBackend::State> state)
      : state_(std::move(state)) {}

  int Send(const SnmpRequest& request, SnmpResponse* response) override {
    ScriptedSend send;
    send.session = request.session;
    send.operation = request.operation;
    send.address = request.address.get_printable();
    send.port = request.destination_port;
    send.community = request.community;
    send.timeout = request.timeout;
    send.retries = request.retries;
    for (const Vb& vb : request.vbs) {
      send.oids.push_back(vb.get_oid());
    }
    ScriptedBackend::Responder responder;
    {
      const std::lock_guard lock(state_->mutex);
      state_->sends.push_back(send);
      responder = state_->responder;
    }
    // The responder runs unlocked so it may inspect the backend.
    ScriptedReply reply = responder ? responder(send) : ScriptedReply::Timeout();
    if (reply.status != SNMP_CLASS_SUCCESS) {
      return reply.status;
    }
    response->error_status = reply.error_status;
    response->error_index = reply.error_index;
    for (std::size_t i = 0; i < reply.vbs.size(); ++i) {
      Vb vb = reply.vbs[i];
      if (vb.get_oid().len() == 0 && i < send.oids.size()) {
        vb.set_oid(send.oids[i]);
      }
      response->vbs.push_back(vb);
    }
    if (reply.vbs.empty()) {
      // An answer without bindings echoes the request's, as agents do with an error-status.
      response->vbs = request.vbs;
    }
    return SNMP_CLASS_SUCCESS;
  }

 private:
  std::shared_ptr<ScriptedBackend::State> state_;
};

}  // namespace

ScriptedReply ScriptedReply::Status(int status) {
  ScriptedReply reply;
  reply.status = status;
  return reply;
}

ScriptedReply ScriptedReply::ErrorStatus(int error_status, int error_index) {
  ScriptedReply reply;
  reply.error_status = error_status;
  reply.error_index = error_index;
  return reply;
}

ScriptedReply ScriptedReply::Value(const Vb& vb) {
  ScriptedReply reply;
  reply.vbs.push_back(vb);
  return reply;
}

ScriptedReply ScriptedReply::Integer(long value) {
  Vb vb;
  vb.set_value(value);
  return Value(vb);
}

ScriptedReply ScriptedReply::Text(const char* text) {
  Vb vb;
  vb.set_value(text);
  return Value(vb);
}

ScriptedReply ScriptedReply::Octets(const std::vector<unsigned char>& bytes) {
  Vb vb;
  vb.set_value(OctetStr(bytes.data(), static_cast<unsigned long>(bytes.size())));
  return Value(vb);
}

ScriptedReply ScriptedReply::ObjectId(const char* dotted) {
  Vb vb;
  vb.set_value(Oid(dotted));
  return Value(vb);
}

ScriptedBackend::ScriptedBackend() : state_(std::make_shared<State>()) {}

void ScriptedBackend::SetResponder(Responder responder) {
  const std::lock_guard lock(state_->mutex);
  state_->responder = std::move(responder);
}

void ScriptedBackend::SetOpenStatus(SessionKind kind, int status) {
  const std::lock_guard lock(state_->mutex);
  (kind == SessionKind::kUdp ? state_->udp_open_status : state_->ipx_open_status) = status;
}

std::vector<ScriptedSend> ScriptedBackend::Sends() const {
  const std::lock_guard lock(state_->mutex);
  return state_->sends;
}

void ScriptedBackend::ClearSends() {
  const std::lock_guard lock(state_->mutex);
  state_->sends.clear();
}

int ScriptedBackend::OpenCount(SessionKind kind) const {
  const std::lock_guard lock(state_->mutex);
  return kind == SessionKind::kUdp ? state_->udp_opens : state_->ipx_opens;
}

int ScriptedBackend::OpenUdp(unsigned short /*local_port*/, bool /*bind_ipv6*/,
                             std::unique_ptr<TransportSession>* session) {
  return Open(SessionKind::kUdp, session);
}

int ScriptedBackend::OpenIpx(const IpxSockAddress& /*local*/,
                             std::unique_ptr<TransportSession>* session) {
  return Open(SessionKind::kIpx, session);
}

int ScriptedBackend::Open(SessionKind kind, std::unique_ptr<TransportSession>* session) {
  const std::lock_guard lock(state_->mutex);
  const int status = kind == SessionKind::kUdp ? state_->udp_open_status : state_->ipx_open_status;
  if (status != SNMP_CLASS_SUCCESS) {
    return status;
  }
  ++(kind == SessionKind::kUdp ? state_->udp_opens : state_->ipx_opens);
  *session = std::make_unique<ScriptedSession>(state_);
  return SNMP_CLASS_SUCCESS;
}

ScriptedAgent& ScriptedAgent::Set(const char* oid, long value) {
  Vb vb{Oid(oid)};
  vb.set_value(value);
  objects_[vb.get_oid()] = vb;
  return *this;
}

ScriptedAgent& ScriptedAgent::Set(const char* oid, const char* text) {
  Vb vb{Oid(oid)};
  vb.set_value(text);
  objects_[vb.get_oid()] = vb;
  return *this;
}

ScriptedAgent& ScriptedAgent::SetOctets(const char* oid, const std::vector<unsigned char>& bytes) {
  Vb vb{Oid(oid)};
  vb.set_value(OctetStr(bytes.data(), static_cast<unsigned long>(bytes.size())));
  objects_[vb.get_oid()] = vb;
  return *this;
}

ScriptedAgent& ScriptedAgent::SetObjectId(const char* oid, const char* value) {
  Vb vb{Oid(oid)};
  vb.set_value(Oid(value));
  objects_[vb.get_oid()] = vb;
  return *this;
}

ScriptedReply ScriptedAgent::Answer(const ScriptedSend& send) const {
  ScriptedReply reply;
  for (std::size_t i = 0; i < send.oids.size(); ++i) {
    const auto found = send.operation == SnmpOperation::kGet ? objects_.find(send.oids[i])
                                                             : objects_.upper_bound(send.oids[i]);
    if (found == objects_.end()) {
      ScriptedReply error =
          ScriptedReply::ErrorStatus(SNMP_ERROR_NO_SUCH_NAME, static_cast<int>(i) + 1);
      for (const Oid& oid : send.oids) {
        error.vbs.emplace_back(oid);  // SNMPv1 answers an error with the request's bindings
      }
      return error;
    }
    reply.vbs.push_back(found->second);
  }
  return reply;
}

ScriptedBackend::Responder ScriptedAgent::AsResponder() const {
  return [agent = *this](const ScriptedSend& send) { return agent.Answer(send); };
}

}  // namespace Snmp_pp
