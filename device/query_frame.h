// The frame every exported device query runs: find the queue's record,
// resolve the device address, open a UDP and an IPX session, build one
// community target, send requests of one binding each, tear everything down.
// What varies between queries is a row of data (QueryVariant) and the body
// that sends the query's own requests and reads their values.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "platform/spooler.h"
#include "snmp/snmp_pp.h"

namespace device {

// Step 2: whether the caller's handle is ignored on Windows 9x.
enum class HandleRule { kKeepCallerHandle, kIgnoreOnWindows9x };

// Step 8: how the target's address is built from the address text (its
// first run of characters other than "%" when the text holds a "%").
enum class AddressObject {
  kIpWithPercentElseGen,  // IpAddress when "%" was present, else GenAddress
  kGenAddress,            // GenAddress (type detected) in both cases
  kIpAddress,             // IpAddress in both cases
  kGenWholeText,          // GenAddress of the whole text, "%" not treated
  kGenWithPercentElseIp,  // GenAddress when "%" was present, else IpAddress
  kByShape,               // IPv6: IpAddress; 16-21 chars: IpxAddress; shorter: IpAddress;
                          // longer: no address at all
};

// Failure point F2: which sessions must have failed to open.
enum class SessionsRequired { kEither, kUdp };

// Patterns of a request: A falls back from IPX to UDP; B and C send on the
// preferred session only (B fails only when both sessions' statuses are
// non-zero; C leaves the verdict to the query).
enum class RequestPattern { kA, kB, kC };

// Target time-out in hundredths of a second: 3 s a send.
inline constexpr unsigned long kQueryTimeout = 300;
// Buffers the F2 message's text and caption are loaded into.
inline constexpr int kShortMessageBuffer = 60;
inline constexpr int kLongMessageBuffer = 1024;
// An address text of this many characters has the shape of an IPX
// network:node address.
inline constexpr std::size_t kIpxShapeMinLength = 16;
inline constexpr std::size_t kIpxShapeMaxLength = 21;

struct QueryVariant {
  std::string_view exportName;
  HandleRule handleRule;
  AddressObject addressObject;
  bool setTimeout;
  bool messageAtF2;
  int messageBufferSize;  // 0 when there is no message
  SessionsRequired sessionsRequired = SessionsRequired::kEither;
  // The query sends its request even without an address (F1: the shape step
  // is skipped and the text the resolution left is used) and without a
  // session (F2: after the message), and decides from the send's status.
  bool goesOnPastF1F2 = false;
  // The query stops at F1 but goes on past F2 (after the message): its
  // requests then fail and the body decides.
  bool goesOnPastF2 = false;
};

// What the caller passed.
struct QueryCall {
  const char* queueName = nullptr;
  const char* variantText = nullptr;
  platform::PrinterHandle queue = nullptr;
  int* notOurs = nullptr;  // passed on to the model check (status queries only)
};

// Where the frame stopped: the body ran, or failure point F1 or F2.
enum class FrameOutcome { kRan, kF1, kF2 };

struct RequestResult {
  int status = SNMP_CLASS_SUCCESS;  // the last send's status
  bool failed = false;              // under the pattern's rule
  Snmp_pp::Vb vb;                   // the binding as answered (or as sent)
};

// What a query's body works with between frame steps 8 and 11.
class QuerySession {
 public:
  QuerySession(Snmp_pp::Snmp& udp, int& udpStatus, Snmp_pp::Snmp& ipx, int& ipxStatus,
               Snmp_pp::CTarget& target, std::string_view address, platform::PrinterHandle queue)
      : udp_(udp),
        udpStatus_(udpStatus),
        ipx_(ipx),
        ipxStatus_(ipxStatus),
        target_(target),
        address_(address),
        queue_(queue) {}

  // One request of one binding for `oid` (dotted text); the binding is read
  // back whatever the send returned.
  RequestResult Request(RequestPattern pattern, const char* oid,
                        Snmp_pp::SnmpOperation operation = Snmp_pp::SnmpOperation::kGet);

  Snmp_pp::CTarget& target() { return target_; }
  std::string_view address() const { return address_; }
  platform::PrinterHandle queue() const { return queue_; }
  int udpStatus() const { return udpStatus_; }
  int ipxStatus() const { return ipxStatus_; }

 private:
  int Send(Snmp_pp::Snmp& session, int& status, Snmp_pp::SnmpOperation operation);

  Snmp_pp::Snmp& udp_;
  int& udpStatus_;
  Snmp_pp::Snmp& ipx_;
  int& ipxStatus_;
  Snmp_pp::CTarget& target_;
  std::string_view address_;
  platform::PrinterHandle queue_;
  Snmp_pp::Pdu pdu_;  // reused: each request trims the previous binding
};

using QueryBody = std::function<void(QuerySession&)>;

// Runs frame steps 1 to 11 around `body`.
FrameOutcome RunQuery(const QueryVariant& variant, const QueryCall& call, const QueryBody& body);

// 1 when the address of the last query had the shape of an IPX address, so
// that its requests try the IPX session first. Written by every query.
int& IpxFirst();

// Printer data "SNMP Community" as the target's read community (an empty
// text too): 1 when set, 0 without a queue or without the value.
int ReadSnmpCommunity(Snmp_pp::CTarget& target, platform::PrinterHandle queue);

// The text of the sessions' F2 message (string 5023, caption 5007, each in a
// buffer of `bufferSize` bytes), without an owner.
void ShowNoConnectionMessage(int bufferSize);

// The text up to the first "%" after any leading ones: an IPv6 address
// without its scope.
std::string_view WithoutScope(std::string_view address);

}  // namespace device
