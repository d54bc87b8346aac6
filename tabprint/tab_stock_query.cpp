#include "tabprint/tab_stock_query.h"

#include <cstdint>
#include <optional>
#include <string_view>

#include "device/device_address.h"
#include "device/socket_layer.h"
#include "device/table_walk.h"
#include "prompts/message_boxes.h"
#include "resources/resource_ids.h"
#include "snmp/snmp_pp.h"

namespace tabprint {
namespace {

using Snmp_pp::Vb;

// Where a column's value goes in a record.
using StoreValue = void (*)(const Vb& value, TabStockRecord& record);

std::int32_t IntegerOf(const Vb& value) {
  int integer = 0;  // stays 0 for a binding that is no integer
  value.get_value(integer);
  return integer;
}

struct StockColumn {
  const char* oid;
  StoreValue store;
};

// The walks, in the order they are sent.
constexpr StockColumn kStockColumns[] = {
    {kStockKindColumnOid, [](const Vb& v, TabStockRecord& r) { r.kind = IntegerOf(v); }},
    {kStockNameColumnOid,
     [](const Vb& v, TabStockRecord& r) {
       device::CopyBounded(r.name, kStockNameSize, v.get_printable_value());
     }},
    {kStockTabsPerBankColumnOid,
     [](const Vb& v, TabStockRecord& r) { r.tabsPerBank = IntegerOf(v); }},
    {kStockColumn6Oid, [](const Vb& v, TabStockRecord& r) { r.column6Value = IntegerOf(v); }},
    {kStockColumn7Oid, [](const Vb& v, TabStockRecord& r) { r.column7Value = IntegerOf(v); }},
    {kStockColumn8Oid, [](const Vb& v, TabStockRecord& r) { r.column8Value = IntegerOf(v); }},
    {kStockImageShiftColumnOid,
     [](const Vb& v, TabStockRecord& r) { r.imageShiftMicrons = IntegerOf(v); }},
};

void ShowConnectionMessage() { prompts::ShowExportError(IDS_STR_TAB_NO_CONNECTION); }

// One get-next of one binding for the walk's next identifier; the answered
// binding lands in `answer`.
int GetNext(Snmp_pp::Snmp& session, const Snmp_pp::CTarget& target, const device::ColumnWalk& walk,
            Vb& answer) {
  Snmp_pp::Pdu pdu;
  pdu += Vb(Snmp_pp::Oid(walk.next()));
  const int status = session.get_next(pdu, target);
  pdu.get_vb(answer, 0);
  return status;
}

// The rows of the kind column; nothing when a get-next failed.
std::optional<int> CountRows(Snmp_pp::Snmp& session, const Snmp_pp::CTarget& target) {
  device::ColumnWalk walk(kStockKindColumnOid);
  for (;;) {
    Vb answer;
    if (GetNext(session, target, walk, answer) != SNMP_CLASS_SUCCESS) return std::nullopt;
    switch (walk.Take(answer)) {
      case device::WalkStep::kRow:
        continue;
      case device::WalkStep::kEnd:
        return walk.rows();
      case device::WalkStep::kFailed:
        return std::nullopt;
    }
  }
}

// Fills the records from one column; false when the walk failed. A column
// shorter than the count leaves the later records as they are.
bool WalkColumn(Snmp_pp::Snmp& session, const Snmp_pp::CTarget& target, const StockColumn& column,
                std::vector<TabStockRecord>& records) {
  device::ColumnWalk walk(column.oid);
  for (TabStockRecord& record : records) {
    Vb answer;
    if (GetNext(session, target, walk, answer) != SNMP_CLASS_SUCCESS) return false;
    const device::WalkStep step = walk.Take(answer);
    if (step == device::WalkStep::kFailed) return false;
    if (step == device::WalkStep::kEnd) return true;
    column.store(answer, record);
  }
  return true;
}

}  // namespace

TabStockTable QueryTabStock(const char* address) {
  TabStockTable table;
  if (address == nullptr) {
    ShowConnectionMessage();
    return table;
  }

  const device::SocketLayer sockets;
  Snmp_pp::CTarget target{Snmp_pp::IpAddress(address)};
  target.set_timeout(kTabStockTimeout);
  int countingStatus = SNMP_CLASS_SUCCESS;
  Snmp_pp::Snmp countingSession(countingStatus, 0, false);

  table.deviceListValid = true;
  const std::optional<int> rows = CountRows(countingSession, target);
  if (!rows || *rows == 0) {
    ShowConnectionMessage();
    return table;
  }

  table.records.resize(static_cast<std::size_t>(*rows));
  int columnStatus = SNMP_CLASS_SUCCESS;
  Snmp_pp::Snmp columnSession(columnStatus, 0, false);
  const Snmp_pp::CTarget columnTarget(target);
  for (const StockColumn& column : kStockColumns) {
    if (!WalkColumn(columnSession, columnTarget, column, table.records)) {
      table.deviceListValid = false;
    }
  }
  if (!table.deviceListValid) ShowConnectionMessage();
  return table;
}

}  // namespace tabprint
