// A device with a tab stock table for the tab printing tests: the scripted
// SNMP backend answering from an in-memory table at one address; any other
// address times out at once.
#pragma once

#include <memory>
#include <string>

#include "snmp/scripted_backend.h"
#include "snmp/snmp_pp.h"
#include "tabprint/tab_stock_query.h"

namespace tabprint::testing {

inline constexpr char kDeviceAddress[] = "10.0.0.9";
// An object after the table, so that the last column's walk ends on it.
inline constexpr char kAfterTable[] = "1.3.6.1.4.1.1129.2.3.50.1.3.24.1.0";

struct Stock {
  int kind;
  const char* name;
  int tabsPerBank;
  int shiftMicrons;
};

inline std::string RowOf(const char* column, int row) {
  return std::string(column) + "." + std::to_string(row);
}

class TabDevice {
 public:
  TabDevice() : backend_(std::make_shared<Snmp_pp::ScriptedBackend>()), scoped_(backend_) {
    agent_.Set(kAfterTable, 1L);
    AnswerFromTable();
  }

  // Row `row` (from 1) of the table.
  TabDevice& Add(int row, const Stock& stock) {
    agent_.Set(RowOf(kStockKindColumnOid, row).c_str(), static_cast<long>(stock.kind))
        .Set(RowOf(kStockNameColumnOid, row).c_str(), stock.name)
        .Set(RowOf(kStockTabsPerBankColumnOid, row).c_str(), static_cast<long>(stock.tabsPerBank))
        .Set(RowOf(kStockColumn6Oid, row).c_str(), 6L)
        .Set(RowOf(kStockColumn7Oid, row).c_str(), 7L)
        .Set(RowOf(kStockColumn8Oid, row).c_str(), 8L)
        .Set(RowOf(kStockImageShiftColumnOid, row).c_str(), static_cast<long>(stock.shiftMicrons));
    AnswerFromTable();
    return *this;
  }

  // The stocks the dialog tests choose from: kinds 1, 3 (no tabs per bank) and 4.
  TabDevice& AddThreeKinds() {
    return Add(1, {1, "Device Eight", 5, 12000})
        .Add(2, {3, "Device Open", 0, 14500})
        .Add(3, {4, "Device Ten", 10, 9000});
  }

  Snmp_pp::ScriptedAgent& agent() { return agent_; }
  Snmp_pp::ScriptedBackend& backend() { return *backend_; }

  // The table answers again after a test changed the responder.
  void AnswerFromTable() {
    backend_->SetResponder([agent = agent_](const Snmp_pp::ScriptedSend& send) {
      if (send.address != kDeviceAddress) return Snmp_pp::ScriptedReply::Timeout();
      return agent.Answer(send);
    });
  }

 private:
  std::shared_ptr<Snmp_pp::ScriptedBackend> backend_;
  Snmp_pp::ScopedSessionBackend scoped_;
  Snmp_pp::ScriptedAgent agent_;
};

}  // namespace tabprint::testing
