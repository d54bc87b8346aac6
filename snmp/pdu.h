// Pdu: the variable bindings of one request, and the error status and index of its answer.
#pragma once

#include <vector>

#include "snmp/vb.h"

namespace Snmp_pp {

// SNMP++ caps a PDU at this many bindings.
constexpr int kPduMaxVbs = 50;

class Pdu {
 public:
  Pdu() = default;
  Pdu(const Vb* vbs, int count);

  // Appends a binding; a PDU already at kPduMaxVbs keeps its bindings.
  Pdu& operator+=(const Vb& vb);
  // Copies binding `index` into `vb`; false (vb untouched) when there is no such binding.
  bool get_vb(Vb& vb, int index) const;
  bool set_vb(const Vb& vb, int index);
  int get_vb_count() const { return static_cast<int>(vbs_.size()); }
  // Removes the last `count` bindings; false when the PDU holds fewer.
  bool trim(int count = 1);
  bool valid() const { return true; }

  int get_error_status() const { return error_status_; }
  void set_error_status(int status) { error_status_ = status; }
  int get_error_index() const { return error_index_; }
  void set_error_index(int index) { error_index_ = index; }

  // The bindings as a whole, for the transports.
  const std::vector<Vb>& vbs() const { return vbs_; }
  void set_vbs(std::vector<Vb> vbs);

 private:
  std::vector<Vb> vbs_;
  int error_status_ = 0;
  int error_index_ = 0;
};

}  // namespace Snmp_pp
