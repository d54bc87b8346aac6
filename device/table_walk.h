// Walking one column of a device table with get-next. A walk takes a row
// only while the answered identifier lies inside the column (the column's
// identifier followed by "."), and fails when the device answers an
// identifier that does not come after the one asked for (as snmpwalk stops
// at "OID not increasing") or keeps answering beyond kMaxTableRows rows:
// against any device, every walk ends.
#pragma once

#include <string>
#include <string_view>

#include "snmp/snmp_pp.h"

namespace device {

// Far above any real device's table (boxes, tab stocks); a walk that gets
// this far is talking to a broken agent.
inline constexpr int kMaxTableRows = 10000;

// True when `oid` (dotted text) is a row of `column` (dotted text): the
// column followed by "." and more. "…1.3" holds "…1.3.5" but not "…1.30.1".
bool IsInColumn(std::string_view oid, std::string_view column);

enum class WalkStep {
  kRow,     // the answer is the column's next row
  kEnd,     // the answer lies beyond the column: the walk is over
  kFailed,  // the identifier did not increase, or too many rows
};

class ColumnWalk {
 public:
  explicit ColumnWalk(std::string_view column) : column_(column), next_(column) {}

  // The identifier the next get-next asks for.
  const char* next() const { return next_.c_str(); }
  int rows() const { return rows_; }

  // Judges the binding answered to a get-next for next(); a row moves the
  // walk on past it.
  WalkStep Take(const Snmp_pp::Vb& answer);

 private:
  std::string column_;
  std::string next_;
  int rows_ = 0;
};

}  // namespace device
