// The department code check on the device: the device's department table
// holds a value for every code, -1 for a code nobody registered. While the
// device does not know the code, the department code prompt asks for another.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/spooler.h"

namespace queries {

// The table's column; the code follows as the last sub-identifier.
inline constexpr std::string_view kDeptCodeOidPrefix = "1.3.6.1.4.1.1129.2.3.50.1.3.21.4.1.2.1";
// The identifier is built in a buffer of this size, its NUL included.
inline constexpr std::size_t kDeptCodeOidCapacity = 255;
// The value of a code the device does not know (also when no integer came).
inline constexpr int kDeptCodeUnregistered = -1;

// Answers of IsValidDeptCodeMck.
inline constexpr int kDeptCodeRegistered = 1;
inline constexpr int kDeptCodeCancelled = 0;
inline constexpr int kDeptCodeRequestFailed = 2;
inline constexpr int kDeptCodeNoAddress = -1;

// "prefix.code", or nothing when it would not fit the identifier buffer.
std::optional<std::string> BuildDeptCodeOid(std::string_view code);

// Asks the device about the code in `deptCode` (in and out, 6 bytes) and
// prompts for another while the device does not know it.
int IsValidDeptCodeMck(const char* queueName, const char* variant, char* deptCode,
                       platform::PrinterHandle queue);

}  // namespace queries
