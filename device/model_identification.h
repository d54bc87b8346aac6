// Model identification over the query frame: whether the queue's device is
// one of the family's multi-function models, and two properties read from
// the family's private MIB.
#pragma once

#include <cstddef>

#include "platform/spooler.h"

namespace device {

// The answer buffer of AbvPrinterCheck: four letters and a NUL.
inline constexpr std::size_t kAbvAnswerSize = 5;

// Private objects AbvPrinterCheck reads, all integers.
inline constexpr char kAbvFirstModeOid[] = "1.3.6.1.4.1.1129.2.3.50.1.2.4.1.30.1.1";
inline constexpr char kAbvFirstCountOid[] = "1.3.6.1.4.1.1129.2.3.50.1.2.4.1.33.1.1";
inline constexpr char kAbvFirstFinalOid[] = "1.3.6.1.4.1.1129.2.3.50.1.2.4.1.11.1.1";
inline constexpr char kAbvSecondModeOid[] = "1.3.6.1.4.1.1129.2.3.50.1.2.4.1.12.1.1";
inline constexpr char kAbvSecondCountOid[] = "1.3.6.1.4.1.1129.2.3.50.1.2.4.1.34.1.1";
// The value of a "mode" object that sets its property.
inline constexpr int kAbvModeSet = 3;

// 1 when the device's sysObjectID names model 14, 15 or 16; 0 otherwise and
// on every failure.
int GetMfpModel(const char* queueName, const char* variant, platform::PrinterHandle queue);

// "ftmt", "ftmf", "ffmt" or "ffmf" into `answer` (kAbvAnswerSize bytes);
// "ftmt" whenever the device cannot be identified.
void AbvPrinterCheck(const char* queueName, const char* variant, char* answer,
                     platform::PrinterHandle queue);

}  // namespace device
