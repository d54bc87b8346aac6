// Box and HSP status, and the device's box password table they share with
// the box password prompt: for every password a bitmap of the boxes it
// opens, box 0 the most significant bit of byte 0.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "platform/spooler.h"

namespace queries {

// The table's column; the row follows the trailing dot.
inline constexpr std::string_view kBoxPasswordOidPrefix = "1.3.6.1.4.1.1129.2.3.50.1.3.23.2.1.2.1.";
// The row of the empty password: one past the row of "99999".
inline constexpr int kNoPasswordRow = 100001;
inline constexpr int kLastBoxNumber = 255;
inline constexpr std::size_t kBoxBitmapSize = 32;
inline constexpr char kBoxSettingOid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.4.1.1.4.1.9983.0";
inline constexpr char kHspSettingOid[] = "1.3.6.1.4.1.1129.2.3.50.1.2.4.1.45.1.1";

// Answers of the status queries.
inline constexpr int kStatusOff = 0;
inline constexpr int kStatusOn = 1;

// The table's object for a password number (its row is the number plus one).
std::string BuildBoxPasswordOid(int passwordNumber);
// The table's object for the empty password.
std::string BuildNoPasswordOid();

// Whether box `box` is set in `bitmap`, most significant bit first. A box
// outside the bitmap is never set.
bool TestBoxBit(std::span<const unsigned char> bitmap, int box);

// 1 when box 0 is not open without a password or the box setting is anything
// but "1", and on F1 and F2; 0 otherwise.
int GetBoxStatusEx(const char* queueName, const char* variant, platform::PrinterHandle queue,
                   int* notOurs);
// 1 when the HSP setting is non-zero, and on F1 and F2; 0 otherwise.
int GetHspStatusEx(const char* queueName, const char* variant, platform::PrinterHandle queue,
                   int* notOurs);

}  // namespace queries
