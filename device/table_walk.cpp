#include "device/table_walk.h"

namespace device {

bool IsInColumn(std::string_view oid, std::string_view column) {
  return oid.size() > column.size() + 1 && oid.starts_with(column) && oid[column.size()] == '.';
}

WalkStep ColumnWalk::Take(const Snmp_pp::Vb& answer) {
  const Snmp_pp::Oid asked(next_.c_str());
  const Snmp_pp::Oid& answered = answer.get_oid();
  if (!(answered > asked)) return WalkStep::kFailed;
  const std::string_view printable = answer.get_printable_oid();
  if (!IsInColumn(printable, column_)) return WalkStep::kEnd;
  if (rows_ == kMaxTableRows) return WalkStep::kFailed;
  ++rows_;
  next_.assign(printable);
  return WalkStep::kRow;
}

}  // namespace device
