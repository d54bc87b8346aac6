// The device's document boxes, read from two columns of its box table with
// get-next walks and handed to the driver as a chain of records in global
// memory (GetBoxInfo) or as a box file (GetBoxInfo9x). The table's first row
// is left out; an all-zero record ends the list.
#pragma once

#include <cstddef>

#include "exports/vx5prcfg.h"
#include "platform/spooler.h"

namespace queries {

inline constexpr char kBoxNumberColumnOid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.2";
inline constexpr char kBoxNameColumnOid[] = "1.3.6.1.4.1.1129.2.3.50.1.3.23.1.1.3";

inline constexpr std::size_t kBoxNumberSize = sizeof(Vx5BoxRecord::number);
inline constexpr std::size_t kBoxNameSize = sizeof(Vx5BoxRecord::name);
inline constexpr std::size_t kBoxRecordSize = 144;
inline constexpr std::size_t kBoxNextOffset = 136;
// A record of the box file: the number field, then the name field.
inline constexpr std::size_t kBoxFileRecordSize = kBoxNumberSize + kBoxNameSize;
// A name keeps at most this many bytes, ending on a character boundary.
inline constexpr std::size_t kBoxNameMaxBytes = kBoxNameSize - 1;
// The raw name value and its converted text each get a buffer of this size.
inline constexpr std::size_t kBoxNameBufferSize = 260;

inline constexpr int kBoxQueryFailed = -1;

// The number of boxes, with the chain (the caller frees every record, the
// last included) stored through `boxes`; -1 leaves `boxes` unchanged.
int GetBoxInfo(const char* queueName, int variant, Vx5BoxRecord** boxes,
               platform::PrinterHandle queue);

// The number of boxes written to `boxFilePath` (132 bytes a record), or -1:
// then no file is left behind, unless the table was empty (an empty file).
int GetBoxInfo9x(const char* queueName, const char* variant, const char* boxFilePath);

}  // namespace queries
