// The device's tab stock table, read over SNMP with the query's own target
// and sessions (not the device query frame): the library's default community,
// a 3-second time-out, IPv4.
#pragma once

#include <vector>

#include "tabprint/job_record.h"

namespace tabprint {

// The tab stock table's columns: kind, name, tabs per bank, three values
// kept but not used, and the image shift in micrometres.
inline constexpr char kStockKindColumnOid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.2";
inline constexpr char kStockNameColumnOid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.3";
inline constexpr char kStockTabsPerBankColumnOid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.5";
inline constexpr char kStockColumn6Oid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.6";
inline constexpr char kStockColumn7Oid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.7";
inline constexpr char kStockColumn8Oid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.8";
inline constexpr char kStockImageShiftColumnOid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.9";

// Hundredths of a second a request waits.
inline constexpr unsigned long kTabStockTimeout = 300;

struct TabStockTable {
  // One record per row counted, in table order; empty when none was read.
  std::vector<TabStockRecord> records;
  // Set once the query starts on an address; cleared when a column walk
  // fails. The tab print dialog uses the records only while it is set.
  bool deviceListValid = false;
};

// Reads the table from the device at `address` (numeric text; null: no
// address). Shows the connection message (5014, caption 5007) once when there
// is no address, no row or a failed walk.
TabStockTable QueryTabStock(const char* address);

}  // namespace tabprint
