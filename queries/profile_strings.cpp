#include "queries/profile_strings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "device/device_address.h"
#include "device/query_frame.h"
#include "device/query_variants.h"
#include "device/side_by_side.h"
#include "device/socket_layer.h"

namespace queries {
namespace {

using device::QuerySession;
using device::RequestPattern;
using device::RequestResult;

// Settings elements.
constexpr std::size_t kNumber1 = 0;
constexpr std::size_t kNumber2 = 1;
constexpr std::size_t kNumber3 = 2;
constexpr std::size_t kNumber4 = 4;

std::string WithIndexes(std::string oid, int index1, int index2) {
  for (const int index : {index1, index2}) {
    if (index != kNoIndex) oid += "." + std::to_string(index);
  }
  return oid;
}

// Frame-like set-up of one reader: its own sockets and sessions, one
// request with pattern A; `read` sees the answered binding on success.
template <typename Read>
int ReadOne(const std::string& oid, bool bindIpv6, Snmp_pp::CTarget& target, Read read) {
  const device::SocketLayer sockets;
  int ipxStatus = SNMP_CLASS_ERROR;
  int udpStatus = SNMP_CLASS_ERROR;
  Snmp_pp::Snmp ipx(ipxStatus, Snmp_pp::IpxSockAddress(nullptr));
  Snmp_pp::Snmp udp(udpStatus, 0, bindIpv6);
  if (udpStatus != SNMP_CLASS_SUCCESS && ipxStatus != SNMP_CLASS_SUCCESS) return 0;
  QuerySession session(udp, udpStatus, ipx, ipxStatus, target, {}, nullptr);
  const RequestResult result = session.Request(RequestPattern::kA, oid.c_str());
  if (result.failed) return 0;
  read(result.vb);
  return 1;
}

void Initialise(int* settings, char* strings) {
  if (strings != nullptr) std::memset(strings, 0, kProfileStringsSize);
  if (settings != nullptr) std::copy_n(kInitialProfileSettings, kProfileSettingsCount, settings);
}

// Reads a column's rows into their slots up to the first row that fails.
void ReadColumn(const ProfileColumn& column, char* strings, bool bindIpv6,
                Snmp_pp::CTarget& target) {
  for (int row = 1; row <= column.rows; ++row) {
    std::array<char, kProfileValueBufferSize> value{};
    if (!ReadProfileText(column.prefix + std::to_string(row), kNoIndex, kNoIndex, value.data(),
                         bindIpv6, target)) {
      return;
    }
    // The value up to its first zero; a full slot keeps no terminator.
    std::array<char, kProfileValueBufferSize + 1> text{};
    std::memcpy(text.data(), value.data(), strnlen(value.data(), value.size()));
    char* slot = strings + kProfileSlotSize * static_cast<std::size_t>(column.slotOfRowZero + row);
    std::memset(slot, 0, kProfileSlotSize);
    std::memcpy(slot, text.data(), std::min(strnlen(text.data(), text.size()), kProfileSlotSize));
  }
}

// The settings element each number fills and what is added to its value.
struct ProfileNumber {
  const char* oid;
  std::size_t element;
  int offset;
};

constexpr ProfileNumber kProfileNumbers[] = {
    {kProfileNumber1Oid, kNumber1, 0},
    {kProfileNumber2Oid, kNumber2, 1},
    {kProfileNumber3Oid, kNumber3, 0},
    {kProfileNumber4Oid, kNumber4, 0},
};

void ReadNumber(const ProfileNumber& number, int* settings, bool bindIpv6,
                Snmp_pp::CTarget& target) {
  int value = 0;
  if (ReadProfileInteger(number.oid, kNoIndex, kNoIndex, &value, bindIpv6, target)) {
    // The 32-bit sum wraps as on the target (2147483647 + 1 gives
    // -2147483648); done on unsigned, where wrapping is defined.
    settings[number.element] = static_cast<int>(static_cast<std::uint32_t>(value) +
                                                static_cast<std::uint32_t>(number.offset));
  }
}

// The seven groups (three columns, four numbers) do not depend on each other,
// so they wait side by side: each with its own copy of the target, writing
// slots and elements no other group writes.
void ReadGroups(int* settings, char* strings, bool bindIpv6, const Snmp_pp::CTarget& target) {
  std::vector<std::function<void()>> groups;
  for (const ProfileColumn& column : kProfileColumns) {
    groups.emplace_back([&column, strings, bindIpv6, own = Snmp_pp::CTarget(target)]() mutable {
      ReadColumn(column, strings, bindIpv6, own);
    });
  }
  for (const ProfileNumber& number : kProfileNumbers) {
    groups.emplace_back([&number, settings, bindIpv6, own = Snmp_pp::CTarget(target)]() mutable {
      ReadNumber(number, settings, bindIpv6, own);
    });
  }
  device::RunSideBySide(groups);
}

}  // namespace

int ReadProfileText(std::string oid, int index1, int index2, char* value, bool bindIpv6,
                    Snmp_pp::CTarget& target) {
  return ReadOne(WithIndexes(std::move(oid), index1, index2), bindIpv6, target,
                 [value](const Snmp_pp::Vb& vb) {
                   unsigned long length = 0;
                   value[0] = '\0';
                   vb.get_value(reinterpret_cast<unsigned char*>(value), length,
                                kProfileValueBufferSize, true);
                 });
}

int ReadProfileInteger(std::string oid, int index1, int index2, int* value, bool bindIpv6,
                       Snmp_pp::CTarget& target) {
  *value = 0;
  return ReadOne(WithIndexes(std::move(oid), index1, index2), bindIpv6, target,
                 [value](const Snmp_pp::Vb& vb) { vb.get_value(*value); });
}

int GetAdvancedProfileStrings(int* settings, char* strings, const char* queueName,
                              const char* variant, platform::PrinterHandle queue) {
  Initialise(settings, strings);
  if (settings == nullptr || strings == nullptr) return 0;
  int answer = 0;
  device::RunQuery(device::kGetAdvancedProfileStringsQuery, {queueName, variant, queue},
                   [&](QuerySession& session) {
                     const bool bindIpv6 = device::IsIpv6Address(session.address());
                     ReadGroups(settings, strings, bindIpv6, session.target());
                     answer = 1;
                   });
  return answer;
}

}  // namespace queries
