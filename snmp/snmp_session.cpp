#include "snmp/snmp_session.h"

#include <exception>
#include <new>

#include "snmp/snmp_errors.h"
#include "snmp/socket_api.h"

namespace Snmp_pp {
namespace {

// SNMP over IPX listens on this socket when the address names none.
constexpr unsigned short kSnmpIpxSocket = 0x900F;

struct StatusText {
  int status;
  const char* text;
};

constexpr StatusText kStatusTexts[] = {
    {SNMP_CLASS_SUCCESS, "Success"},
    {SNMP_CLASS_ERROR, "SNMP: General Error"},
    {SNMP_CLASS_RESOURCE_UNAVAIL, "SNMP: Resource Unavailable"},
    {SNMP_CLASS_INTERNAL_ERROR, "SNMP: Internal Error"},
    {SNMP_CLASS_UNSUPPORTED, "SNMP: Unsupported Function"},
    {SNMP_CLASS_TIMEOUT, "SNMP: SNMP request timed out"},
    {SNMP_CLASS_INVALID, "SNMP: Invalid SNMP object"},
    {SNMP_CLASS_INVALID_PDU, "SNMP: Invalid Pdu"},
    {SNMP_CLASS_INVALID_TARGET, "SNMP: Invalid Target"},
    {SNMP_CLASS_INVALID_OID, "SNMP: Invalid Object Identifier"},
    {SNMP_CLASS_INVALID_ADDRESS, "SNMP: Invalid Address"},
    {SNMP_CLASS_ERR_STATUS_SET, "SNMP: Agent returned a response with error status set"},
    {SNMP_CLASS_TL_UNSUPPORTED, "SNMP: Transport is not supported"},
    {SNMP_CLASS_TL_IN_USE, "SNMP: Transport is in use"},
    {SNMP_CLASS_TL_FAILED, "SNMP: Transport operation failed"},
    {SNMP_ERROR_TOO_BIG, "SNMP: Response PDU Too Big"},
    {SNMP_ERROR_NO_SUCH_NAME, "SNMP: Variable does not exist"},
    {SNMP_ERROR_BAD_VALUE, "SNMP: Cannot modify variable: Bad Value"},
    {SNMP_ERROR_READ_ONLY, "SNMP: Cannot modify object, Read Only"},
    {SNMP_ERROR_GENERAL_VB_ERR, "SNMP: Cannot perform operation, General Error"},
};

bool AddressFitsSession(SessionKind kind, bool ipv6, const GenAddress& address, int* status) {
  const Address::addr_type type = address.get_type();
  if (kind == SessionKind::kIpx) {
    if (type != Address::type_ipx && type != Address::type_ipxsock) {
      *status = SNMP_CLASS_INVALID_ADDRESS;
      return false;
    }
    return true;
  }
  if (type != Address::type_ip && type != Address::type_udp) {
    *status = SNMP_CLASS_INVALID_ADDRESS;
    return false;
  }
  // A session's socket has one family: an IPv4 session cannot reach an IPv6 host, nor the reverse.
  const auto& ip = static_cast<const IpAddress&>(*address.address());
  if ((ip.get_ip_version() == Address::version_ipv6) != ipv6) {
    *status = SNMP_CLASS_TL_FAILED;
    return false;
  }
  return true;
}

unsigned short DestinationPort(const GenAddress& address) {
  switch (address.get_type()) {
    case Address::type_udp: {
      const auto port = static_cast<const UdpAddress&>(*address.address()).get_port();
      return port != 0 ? port : DefaultDestinationPort();
    }
    case Address::type_ipxsock: {
      const auto socket = static_cast<const IpxSockAddress&>(*address.address()).get_socket();
      return socket != 0 ? socket : kSnmpIpxSocket;
    }
    case Address::type_ipx:
      return kSnmpIpxSocket;
    default:
      return DefaultDestinationPort();
  }
}

}  // namespace

namespace {

// Opens a session through the backend: a thrown failure becomes a status, and
// a failed open leaves no session behind.
template <typename Open>
int OpenSession(std::unique_ptr<TransportSession>& session, Open open) {
  int status = SNMP_CLASS_SUCCESS;
  try {
    status = open(&session);
  } catch (const std::bad_alloc&) {
    status = SNMP_CLASS_RESOURCE_UNAVAIL;
  } catch (const std::exception&) {
    status = SNMP_CLASS_INTERNAL_ERROR;
  }
  if (status != SNMP_CLASS_SUCCESS) {
    session.reset();
  } else if (session == nullptr) {
    status = SNMP_CLASS_INTERNAL_ERROR;
  }
  return status;
}

}  // namespace

Snmp::Snmp(int& status, unsigned short port, bool bind_ipv6)
    : kind_(SessionKind::kUdp), ipv6_(bind_ipv6) {
  status = OpenSession(session_, [&](std::unique_ptr<TransportSession>* session) {
    return CurrentSessionBackend()->OpenUdp(port, bind_ipv6, session);
  });
}

Snmp::Snmp(int& status, const IpxSockAddress& local) : kind_(SessionKind::kIpx) {
  status = OpenSession(session_, [&](std::unique_ptr<TransportSession>* session) {
    return CurrentSessionBackend()->OpenIpx(local, session);
  });
}

Snmp::~Snmp() = default;

int Snmp::get(Pdu& pdu, const SnmpTarget& target) { return Send(SnmpOperation::kGet, pdu, target); }

int Snmp::get_next(Pdu& pdu, const SnmpTarget& target) {
  return Send(SnmpOperation::kGetNext, pdu, target);
}

int Snmp::Send(SnmpOperation operation, Pdu& pdu, const SnmpTarget& target) {
  if (session_ == nullptr) {
    return SNMP_CLASS_INVALID;
  }
  const auto* community_target = dynamic_cast<const CTarget*>(&target);
  if (community_target == nullptr || !target.valid()) {
    return SNMP_CLASS_INVALID_TARGET;
  }
  if (pdu.get_vb_count() == 0) {
    return SNMP_CLASS_INVALID_PDU;
  }
  for (const Vb& vb : pdu.vbs()) {
    if (!vb.valid() || vb.get_oid().len() == 0) {
      return SNMP_CLASS_INVALID_OID;
    }
  }
  int status = SNMP_CLASS_SUCCESS;
  if (!AddressFitsSession(kind_, ipv6_, target.address(), &status)) {
    return status;
  }
  try {
    SnmpRequest request;
    request.session = kind_;
    request.operation = operation;
    request.address = target.address();
    request.destination_port = DestinationPort(target.address());
    const OctetStr& community = community_target->read_community();
    request.community.assign(reinterpret_cast<const char*>(community.data()), community.len());
    request.version = target.get_version();
    request.timeout = target.get_timeout();
    request.retries = target.get_retry();
    request.vbs = pdu.vbs();
    SnmpResponse response;
    status = session_->Send(request, &response);
    if (status != SNMP_CLASS_SUCCESS) {
      return status;
    }
    pdu.set_vbs(std::move(response.vbs));
    pdu.set_error_status(response.error_status);
    pdu.set_error_index(response.error_index);
    return response.error_status != SNMP_ERROR_SUCCESS ? SNMP_CLASS_ERR_STATUS_SET
                                                       : SNMP_CLASS_SUCCESS;
  } catch (const std::bad_alloc&) {
    return SNMP_CLASS_RESOURCE_UNAVAIL;
  } catch (const std::exception&) {
    return SNMP_CLASS_INTERNAL_ERROR;
  }
}

int Snmp::socket_startup() {
  ++SocketLayerStats::startups_;
#ifdef _WIN32
  constexpr WORD kWinsockVersion = MAKEWORD(2, 2);
  WSADATA data;
  if (WSAStartup(kWinsockVersion, &data) != 0) {
    return SNMP_CLASS_TL_FAILED;
  }
#endif
  return SNMP_CLASS_SUCCESS;
}

void Snmp::socket_cleanup() {
  ++SocketLayerStats::cleanups_;
#ifdef _WIN32
  WSACleanup();
#endif
}

const char* Snmp::error_msg(int status) {
  for (const StatusText& entry : kStatusTexts) {
    if (entry.status == status) {
      return entry.text;
    }
  }
  return "SNMP: Unknown error";
}

}  // namespace Snmp_pp
