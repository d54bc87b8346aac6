// SnmpTarget and CTarget: where a request goes and how (address, time-out, retries, version,
// community), with SNMP++'s defaults.
#pragma once

#include <memory>

#include "snmp/address.h"
#include "snmp/octet_str.h"
#include "snmp/smi.h"

namespace Snmp_pp {

// SNMP++'s defaults: 1 s (in hundredths of a second), one retry, community "public".
constexpr unsigned long kDefaultTimeout = 100;
constexpr int kDefaultRetries = 1;
constexpr char kDefaultCommunity[] = "public";

class SnmpTarget {
 public:
  virtual ~SnmpTarget() = default;

  // Valid when it holds a valid address.
  bool valid() const { return address_.valid(); }
  bool set_address(const Address& address);
  bool get_address(GenAddress& address) const;
  const GenAddress& address() const { return address_; }

  // Time-out of one send, in hundredths of a second.
  void set_timeout(unsigned long timeout) { timeout_ = timeout; }
  unsigned long get_timeout() const { return timeout_; }
  void set_retry(int retries) { retries_ = retries < 0 ? 0 : retries; }
  int get_retry() const { return retries_; }
  void set_version(snmp_version version) { version_ = version; }
  snmp_version get_version() const { return version_; }

 protected:
  SnmpTarget() = default;
  explicit SnmpTarget(const Address& address) : address_(address) {}
  SnmpTarget(const SnmpTarget&) = default;
  SnmpTarget& operator=(const SnmpTarget&) = default;

 private:
  GenAddress address_;
  unsigned long timeout_ = kDefaultTimeout;
  int retries_ = kDefaultRetries;
  snmp_version version_ = version1;
};

// A community-based (SNMPv1/v2c) target.
class CTarget : public SnmpTarget {
 public:
  CTarget() = default;
  explicit CTarget(const Address& address) : SnmpTarget(address) {}
  CTarget(const Address& address, const char* read_community, const char* write_community);
  CTarget(const CTarget&) = default;
  CTarget& operator=(const CTarget&) = default;

  void set_readcommunity(const OctetStr& community) { read_community_ = community; }
  void get_readcommunity(OctetStr& community) const { community = read_community_; }
  const char* get_readcommunity() const;
  void set_writecommunity(const OctetStr& community) { write_community_ = community; }
  void get_writecommunity(OctetStr& community) const { community = write_community_; }

  const OctetStr& read_community() const { return read_community_; }

 private:
  OctetStr read_community_{kDefaultCommunity};
  OctetStr write_community_{kDefaultCommunity};
  mutable std::string read_community_text_;
};

}  // namespace Snmp_pp
