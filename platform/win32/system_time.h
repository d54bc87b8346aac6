// The platform's SystemTime and Win32's SYSTEMTIME, field for field.
#pragma once

#include "platform/kernel.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

inline SYSTEMTIME ToSystemTime(const SystemTime& time) {
  SYSTEMTIME converted{};
  converted.wYear = time.year;
  converted.wMonth = time.month;
  converted.wDayOfWeek = time.dayOfWeek;
  converted.wDay = time.day;
  converted.wHour = time.hour;
  converted.wMinute = time.minute;
  converted.wSecond = time.second;
  converted.wMilliseconds = time.milliseconds;
  return converted;
}

inline SystemTime FromSystemTime(const SYSTEMTIME& time) {
  SystemTime converted;
  converted.year = time.wYear;
  converted.month = time.wMonth;
  converted.dayOfWeek = time.wDayOfWeek;
  converted.day = time.wDay;
  converted.hour = time.wHour;
  converted.minute = time.wMinute;
  converted.second = time.wSecond;
  converted.milliseconds = time.wMilliseconds;
  return converted;
}

}  // namespace platform::win32
