#include "snmp/pdu.h"

#include <algorithm>

namespace Snmp_pp {

Pdu::Pdu(const Vb* vbs, int count) {
  for (int i = 0; vbs != nullptr && i < count; ++i) {
    *this += vbs[i];
  }
}

Pdu& Pdu::operator+=(const Vb& vb) {
  if (get_vb_count() < kPduMaxVbs) {
    vbs_.push_back(vb);
  }
  return *this;
}

bool Pdu::get_vb(Vb& vb, int index) const {
  if (index < 0 || index >= get_vb_count()) {
    return false;
  }
  vb = vbs_[static_cast<std::size_t>(index)];
  return true;
}

bool Pdu::set_vb(const Vb& vb, int index) {
  if (index < 0 || index >= get_vb_count()) {
    return false;
  }
  vbs_[static_cast<std::size_t>(index)] = vb;
  return true;
}

bool Pdu::trim(int count) {
  if (count < 0 || count > get_vb_count()) {
    return false;
  }
  vbs_.resize(vbs_.size() - static_cast<std::size_t>(count));
  return true;
}

void Pdu::set_vbs(std::vector<Vb> vbs) {
  if (vbs.size() > static_cast<std::size_t>(kPduMaxVbs)) {
    vbs.resize(static_cast<std::size_t>(kPduMaxVbs));
  }
  vbs_ = std::move(vbs);
}

}  // namespace Snmp_pp
