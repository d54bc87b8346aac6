#include "snmp/netsnmp_backend.h"

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
// clang-format on

#ifndef _WIN32
#include <dlfcn.h>
#endif

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "snmp/snmp_errors.h"
#include "snmp/socket_api.h"

namespace Snmp_pp {
namespace {

constexpr long kMicrosecondsPerTimeoutUnit = 10000;  // the timeout is in hundredths of a second
constexpr char kUdpDomain[] = "udp:";
constexpr char kUdp6Domain[] = "udp6:";

#ifdef _WIN32
// The application type this module's Net-SNMP state is shut down under.
constexpr char kNetSnmpType[] = "vx5prcfg";
#endif

// Net-SNMP is set up once per process, for numeric identifiers only: no configuration files, no
// persistent state, no MIB files. init_snmp would read all three, so it is never called: the
// single-session API registers its transports on first use. What that leaves in Net-SNMP's
// globals (transports, the default store, enumerations) must not be lost when this module is
// unloaded. Where Net-SNMP is linked into the module (the Windows DLL) it is shut down when the
// module's static objects go, at process detach. Where it is a shared library of its own, its
// shutdown cannot free everything its set-up allocated, and the set-up runs again after every
// reload: so this module keeps that library loaded for the life of the process instead, and a
// reload finds Net-SNMP still set up. A host that set Net-SNMP up itself (init_snmp names an
// application type) keeps it either way.
#ifndef _WIN32
void KeepNetSnmpLoaded() {
  Dl_info library{};
  if (dladdr(reinterpret_cast<void*>(&snmp_sess_init), &library) == 0 ||
      library.dli_fname == nullptr) {
    return;
  }
  // The reference taken here is never given back: that is what keeps the library loaded.
  (void)dlopen(library.dli_fname, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
}
#endif

class NetSnmpLifetime {
 public:
  static void Start() {
    static NetSnmpLifetime lifetime;
    std::call_once(lifetime.once_, [] {
      lifetime.startedHere_ =
          netsnmp_ds_get_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_APPTYPE) == nullptr;
      netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
      netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
      netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
#ifndef _WIN32
      if (lifetime.startedHere_) KeepNetSnmpLoaded();
#endif
    });
  }

  ~NetSnmpLifetime() {
#ifdef _WIN32
    if (startedHere_) snmp_shutdown(kNetSnmpType);
#endif
  }
  NetSnmpLifetime(const NetSnmpLifetime&) = delete;
  NetSnmpLifetime& operator=(const NetSnmpLifetime&) = delete;

 private:
  NetSnmpLifetime() = default;

  std::once_flag once_;
  bool startedHere_ = false;
};

void InitNetSnmp() { NetSnmpLifetime::Start(); }

// Sessions may send side by side, each on its own thread. The library is not
// built reentrant: its first-use set-up and its request-id counters are
// shared, so opening a session and creating a request take turns; waiting
// for the answer does not.
std::mutex& LibraryMutex() {
  static std::mutex mutex;
  return mutex;
}

struct SessionCloser {
  void operator()(void* session) const {
    const std::lock_guard lock(LibraryMutex());
    snmp_sess_close(session);
  }
};
struct PduFreer {
  void operator()(netsnmp_pdu* pdu) const { snmp_free_pdu(pdu); }
};
using SessionHandle = std::unique_ptr<void, SessionCloser>;
using PduHandle = std::unique_ptr<netsnmp_pdu, PduFreer>;

// A socket of the family a session binds proves the family is there, as SNMP++ opening its own
// socket does.
int ProbeFamily(bool ipv6) {
  return DatagramSocketOpens(ipv6 ? AF_INET6 : AF_INET) ? SNMP_CLASS_SUCCESS : SNMP_CLASS_TL_FAILED;
}

std::string PeerName(const IpAddress& host, unsigned short port) {
  const std::string numeric = IpAddress(host).get_printable();
  if (host.get_ip_version() == Address::version_ipv6) {
    return kUdp6Domain + ("[" + numeric + "]:" + std::to_string(port));
  }
  return kUdpDomain + numeric + ":" + std::to_string(port);
}

Vb ToVb(const netsnmp_variable_list& variable) {
  const std::vector<unsigned long> subids(variable.name, variable.name + variable.name_length);
  Vb vb(Oid(subids.data(), static_cast<unsigned long>(subids.size())));
  switch (variable.type) {
    case ASN_INTEGER:
      vb.set_value(static_cast<long>(*variable.val.integer));
      break;
    case ASN_OCTET_STR:
    case ASN_OPAQUE:
    case ASN_IPADDRESS:
      vb.set_octets(variable.type == ASN_OCTET_STR ? sNMP_SYNTAX_OCTETS
                    : variable.type == ASN_OPAQUE  ? sNMP_SYNTAX_OPAQUE
                                                   : sNMP_SYNTAX_IPADDR,
                    variable.val.string, static_cast<unsigned long>(variable.val_len));
      break;
    case ASN_OBJECT_ID: {
      const std::size_t count = variable.val_len / sizeof(oid);
      const std::vector<unsigned long> value(variable.val.objid, variable.val.objid + count);
      vb.set_value(Oid(value.data(), static_cast<unsigned long>(value.size())));
      break;
    }
    case ASN_COUNTER:
      vb.set_unsigned(sNMP_SYNTAX_CNTR32, *variable.val.integer);
      break;
    case ASN_GAUGE:
      vb.set_unsigned(sNMP_SYNTAX_GAUGE32, *variable.val.integer);
      break;
    case ASN_TIMETICKS:
      vb.set_unsigned(sNMP_SYNTAX_TIMETICKS, *variable.val.integer);
      break;
    case ASN_COUNTER64: {
      // Each half is an unsigned long, 32 bits on Windows: widen before shifting.
      const std::uint64_t value = (static_cast<std::uint64_t>(variable.val.counter64->high) << 32) |
                                  variable.val.counter64->low;
      vb.set_unsigned(sNMP_SYNTAX_CNTR64, static_cast<unsigned long>(value));
      break;
    }
    case SNMP_NOSUCHOBJECT:
    case SNMP_NOSUCHINSTANCE:
    case SNMP_ENDOFMIBVIEW:
      vb.set_exception(variable.type);
      break;
    default:
      vb.set_null();
      break;
  }
  return vb;
}

class NetSnmpUdpSession : public TransportSession {
 public:
  NetSnmpUdpSession(bool ipv6, NetSnmpBackend::IpxEndpointMap ipx_endpoints)
      : ipv6_(ipv6), ipx_endpoints_(std::move(ipx_endpoints)) {}

  int Send(const SnmpRequest& request, SnmpResponse* response) override {
    std::optional<UdpAddress> endpoint;
    if (request.session == SessionKind::kIpx) {
      endpoint = ipx_endpoints_ ? ipx_endpoints_(IpxAddress(request.address)) : std::nullopt;
      if (!endpoint || !endpoint->valid()) {
        return SNMP_CLASS_TL_FAILED;  // no route to that IPX node
      }
    } else {
      endpoint = UdpAddress(request.address);
      endpoint->set_port(request.destination_port);
    }
    if (request.session == SessionKind::kUdp &&
        (endpoint->get_ip_version() == Address::version_ipv6) != ipv6_) {
      return SNMP_CLASS_TL_FAILED;
    }
    const unsigned short port =
        endpoint->get_port() != 0 ? endpoint->get_port() : DefaultDestinationPort();
    std::string peer = PeerName(*endpoint, port);
    std::string community = request.community;

    SessionHandle session;
    PduHandle pdu;
    {
      const std::lock_guard lock(LibraryMutex());
      netsnmp_session config;
      snmp_sess_init(&config);
      config.version = request.version == version2c ? SNMP_VERSION_2c : SNMP_VERSION_1;
      config.peername = peer.data();
      config.community = reinterpret_cast<u_char*>(community.data());
      config.community_len = community.size();
      config.retries = request.retries;
      // Net-SNMP reads a zero time-out as "its default"; the smallest real one is meant instead.
      config.timeout = request.timeout > 0
                           ? static_cast<long>(request.timeout) * kMicrosecondsPerTimeoutUnit
                           : 1;
      session.reset(snmp_sess_open(&config));
      if (session == nullptr) {
        return SNMP_CLASS_TL_FAILED;
      }
      pdu.reset(snmp_pdu_create(request.operation == SnmpOperation::kGet ? SNMP_MSG_GET
                                                                         : SNMP_MSG_GETNEXT));
    }
    if (pdu == nullptr) {
      return SNMP_CLASS_RESOURCE_UNAVAIL;
    }
    for (const Vb& vb : request.vbs) {
      const std::vector<oid> name(vb.get_oid().subids().begin(), vb.get_oid().subids().end());
      if (snmp_add_null_var(pdu.get(), name.data(), name.size()) == nullptr) {
        return SNMP_CLASS_RESOURCE_UNAVAIL;
      }
    }
    netsnmp_pdu* answer = nullptr;
    // The request PDU belongs to the library from here on, whatever the outcome.
    const int outcome = snmp_sess_synch_response(session.get(), pdu.release(), &answer);
    const PduHandle answer_handle(answer);
    if (outcome == STAT_TIMEOUT) {
      return SNMP_CLASS_TIMEOUT;
    }
    if (outcome != STAT_SUCCESS || answer == nullptr) {
      return SNMP_CLASS_TL_FAILED;
    }
    response->error_status = static_cast<int>(answer->errstat);
    response->error_index = static_cast<int>(answer->errindex);
    for (const netsnmp_variable_list* v = answer->variables; v != nullptr; v = v->next_variable) {
      response->vbs.push_back(ToVb(*v));
    }
    return SNMP_CLASS_SUCCESS;
  }

 private:
  bool ipv6_;
  NetSnmpBackend::IpxEndpointMap ipx_endpoints_;
};

}  // namespace

NetSnmpBackend::NetSnmpBackend(IpxEndpointMap ipx_endpoints, IpxPresence ipx_present)
    : ipx_endpoints_(std::move(ipx_endpoints)), ipx_present_(std::move(ipx_present)) {}

int NetSnmpBackend::OpenUdp(unsigned short local_port, bool bind_ipv6,
                            std::unique_ptr<TransportSession>* session) {
  // Every send opens its own Net-SNMP session with an ephemeral source port; a fixed local port
  // is not supported (the module always asks for any port).
  if (local_port != 0) {
    return SNMP_CLASS_TL_UNSUPPORTED;
  }
  if (const int status = ProbeFamily(bind_ipv6); status != SNMP_CLASS_SUCCESS) {
    return status;
  }
  InitNetSnmp();
  *session = std::make_unique<NetSnmpUdpSession>(bind_ipv6, nullptr);
  return SNMP_CLASS_SUCCESS;
}

int NetSnmpBackend::OpenIpx(const IpxSockAddress& /*local*/,
                            std::unique_ptr<TransportSession>* session) {
  if (!ipx_endpoints_ || (ipx_present_ && !ipx_present_())) {
    return SNMP_CLASS_TL_UNSUPPORTED;  // no IPX protocol on this machine
  }
  InitNetSnmp();
  *session = std::make_unique<NetSnmpUdpSession>(false, ipx_endpoints_);
  return SNMP_CLASS_SUCCESS;
}

}  // namespace Snmp_pp
