#include "snmp/target.h"

namespace Snmp_pp {

bool SnmpTarget::set_address(const Address& address) {
  address_ = address;
  return address_.valid();
}

bool SnmpTarget::get_address(GenAddress& address) const {
  address = address_;
  return address_.valid();
}

CTarget::CTarget(const Address& address, const char* read_community, const char* write_community)
    : SnmpTarget(address), read_community_(read_community), write_community_(write_community) {}

const char* CTarget::get_readcommunity() const {
  read_community_text_.assign(reinterpret_cast<const char*>(read_community_.data()),
                              read_community_.len());
  return read_community_text_.c_str();
}

}  // namespace Snmp_pp
