// The device's advanced profile table, copied into two caller blocks: texts
// from three text columns into fixed slots, and four numbers. Every object is
// read by its own reader with its own pair of sessions.
#pragma once

#include <cstddef>
#include <string>

#include "platform/spooler.h"
#include "snmp/snmp_pp.h"

namespace queries {

inline constexpr std::size_t kProfileSlotSize = 256;
inline constexpr std::size_t kProfileSlotCount = 102;
inline constexpr std::size_t kProfileStringsSize = kProfileSlotSize * kProfileSlotCount;
inline constexpr std::size_t kProfileSettingsCount = 5;
// The readers' text buffer: 259 bytes of value and its terminating zero.
inline constexpr std::size_t kProfileValueBufferSize = 260;

// A text column: its identifier prefix (the row follows), how many rows it
// has at most, and the slot of row 0.
struct ProfileColumn {
  const char* prefix;
  int rows;
  int slotOfRowZero;
};

inline constexpr ProfileColumn kProfileColumns[] = {
    {"1.3.6.1.4.1.1129.2.3.50.1.3.30.1.1.2.1.", 16, 0},
    {"1.3.6.1.4.1.1129.2.3.50.1.3.30.1.1.3.1.", 16, 18},
    {"1.3.6.1.4.1.1129.2.3.50.1.3.30.1.1.4.1.", 64, 36},
};

inline constexpr char kProfileNumber1Oid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.30.1.1.5.1.1";
inline constexpr char kProfileNumber2Oid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.30.1.1.5.1.2";
inline constexpr char kProfileNumber3Oid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.30.1.1.5.1.3";
inline constexpr char kProfileNumber4Oid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.30.1.1.5.1.4";

// What the settings hold before and without a read: 0, 1, 0, 1, 1.
inline constexpr int kInitialProfileSettings[kProfileSettingsCount] = {0, 1, 0, 1, 1};

// An index of -1 is not appended to the identifier.
inline constexpr int kNoIndex = -1;

// One object with pattern A over the reader's own sessions: 1 when the
// request succeeded and the value was read into `value`
// (kProfileValueBufferSize bytes, terminated, longer values cut), else 0.
int ReadProfileText(std::string oid, int index1, int index2, char* value, bool bindIpv6,
                    Snmp_pp::CTarget& target);
// The same for an integer; `value` holds 0 before the request.
int ReadProfileInteger(std::string oid, int index1, int index2, int* value, bool bindIpv6,
                       Snmp_pp::CTarget& target);

// Fills `settings` (kProfileSettingsCount ints) and `strings`
// (kProfileStringsSize bytes); both are initialised on every path. 1 when
// the table was read, 0 at F1 and F2.
int GetAdvancedProfileStrings(int* settings, char* strings, const char* queueName,
                              const char* variant, platform::PrinterHandle queue);

}  // namespace queries
