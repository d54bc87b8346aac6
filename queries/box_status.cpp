#include "queries/box_status.h"

#include <array>

#include "device/query_frame.h"
#include "device/query_variants.h"

namespace queries {
namespace {

using device::QuerySession;
using device::RequestPattern;
using device::RequestResult;

constexpr int kBitsPerByte = 8;
constexpr unsigned char kHighBit = 0x80;
constexpr int kBox0 = 0;
// Box setting 9983 as the single character "1".
constexpr unsigned char kBoxSettingOn = '1';
constexpr std::size_t kBoxSettingSize = 32;

// Reads a binding's raw bytes; an answer of another type leaves them zero.
void ReadOctets(const Snmp_pp::Vb& vb, unsigned char* bytes, std::size_t maximum) {
  unsigned long length = 0;
  vb.get_value(bytes, length, maximum);
}

// Sends a query's requests on the UDP session only, whatever the address's
// shape, and restores the module-wide choice afterwards.
class UdpOnly {
 public:
  UdpOnly() : saved_(device::IpxFirst()) { device::IpxFirst() = 0; }
  ~UdpOnly() { device::IpxFirst() = saved_; }
  UdpOnly(const UdpOnly&) = delete;
  UdpOnly& operator=(const UdpOnly&) = delete;

 private:
  int saved_;
};

}  // namespace

std::string BuildBoxPasswordOid(int passwordNumber) {
  // Widened: the largest number still has a row after it.
  return std::string(kBoxPasswordOidPrefix) +
         std::to_string(static_cast<long long>(passwordNumber) + 1);
}

std::string BuildNoPasswordOid() {
  return std::string(kBoxPasswordOidPrefix) + std::to_string(kNoPasswordRow);
}

bool TestBoxBit(std::span<const unsigned char> bitmap, int box) {
  if (box < 0 || static_cast<std::size_t>(box / kBitsPerByte) >= bitmap.size()) return false;
  return (bitmap[box / kBitsPerByte] & (kHighBit >> (box % kBitsPerByte))) != 0;
}

int GetBoxStatusEx(const char* queueName, const char* variant, platform::PrinterHandle queue,
                   int* notOurs) {
  int answer = kStatusOn;
  device::RunQuery(device::kGetBoxStatusExQuery, {queueName, variant, queue, notOurs},
                   [&](QuerySession& session) {
                     // Both requests go out before either answer is looked at: the
                     // no-password row on the preferred session, the setting over UDP.
                     // The row is judged by the statuses its own send left (pattern B),
                     // so that the setting's send over UDP cannot fail it.
                     const std::string rowOid = BuildNoPasswordOid();
                     const RequestResult row = session.Request(RequestPattern::kB, rowOid.c_str());
                     RequestResult setting;
                     {
                       const UdpOnly udpOnly;
                       setting = session.Request(RequestPattern::kC, kBoxSettingOid);
                     }
                     if (row.failed) return;
                     std::array<unsigned char, kBoxBitmapSize + 1> bitmap{};
                     std::array<unsigned char, kBoxSettingSize> value{};
                     ReadOctets(row.vb, bitmap.data(), kBoxBitmapSize);
                     ReadOctets(setting.vb, value.data(), kBoxSettingSize);
                     if (!TestBoxBit(bitmap, kBox0)) {
                       answer = kStatusOff;
                     } else if (value[0] == kBoxSettingOn && value[1] == '\0') {
                       answer = kStatusOff;
                     }
                   });
  return answer;
}

int GetHspStatusEx(const char* queueName, const char* variant, platform::PrinterHandle queue,
                   int* notOurs) {
  int answer = kStatusOn;
  device::RunQuery(device::kGetHspStatusExQuery, {queueName, variant, queue, notOurs},
                   [&](QuerySession& session) {
                     const RequestResult hsp = session.Request(RequestPattern::kB, kHspSettingOid);
                     int value = 0;
                     if (!hsp.failed) hsp.vb.get_value(value);
                     answer = value != 0 ? kStatusOn : kStatusOff;
                   });
  return answer;
}

}  // namespace queries
