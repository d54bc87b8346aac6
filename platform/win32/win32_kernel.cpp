#include "platform/win32/win32_kernel.h"

#include <climits>
#include <cstdlib>
#include <ctime>

#include "platform/frozen_clock.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

SYSTEMTIME ToSystemTime(const SystemTime& time) {
  SYSTEMTIME system{};
  system.wYear = time.year;
  system.wMonth = time.month;
  system.wDayOfWeek = time.dayOfWeek;
  system.wDay = time.day;
  system.wHour = time.hour;
  system.wMinute = time.minute;
  system.wSecond = time.second;
  system.wMilliseconds = time.milliseconds;
  return system;
}

// The text calls take int lengths; a longer text is refused, not cut.
bool FitsInt(std::size_t length) { return length <= static_cast<std::size_t>(INT_MAX); }

std::optional<SystemTime> FrozenClockSetting() {
  const char* text = std::getenv(kFrozenClockVariable);
  if (text == nullptr) return std::nullopt;
  return ParseFrozenClock(text);
}

std::tm LocalBreakdown(std::time_t moment) {
  _tzset();  // follow a TZ changed since the last call, as mktime does
  std::tm broken{};
  localtime_s(&broken, &moment);
  return broken;
}

}  // namespace

Win32Kernel::Win32Kernel() : frozenNow_(FrozenClockSetting()) {}

SystemTime Win32Kernel::GetLocalTime() {
  if (frozenNow_) return *frozenNow_;
  SYSTEMTIME system{};
  ::GetLocalTime(&system);
  SystemTime time;
  time.year = system.wYear;
  time.month = system.wMonth;
  time.dayOfWeek = system.wDayOfWeek;
  time.day = system.wDay;
  time.hour = system.wHour;
  time.minute = system.wMinute;
  time.second = system.wSecond;
  time.milliseconds = system.wMilliseconds;
  return time;
}

std::tm Win32Kernel::CurrentLocalBreakdown() {
  if (!frozenNow_) return LocalBreakdown(std::time(nullptr));
  // The moment the frozen clock shows, broken down again so that the
  // daylight-saving flag is the zone's own for that moment.
  std::tm broken = ToBrokenDownTime(*frozenNow_);
  return LocalBreakdown(std::mktime(&broken));
}

int Win32Kernel::GetDateFormat(std::uint32_t flags, const SystemTime* time, const char* picture,
                               char* out, int capacity) {
  if (capacity < 0) return 0;
  // No time means now, which a frozen clock gives.
  if (time == nullptr && frozenNow_) time = &*frozenNow_;
  SYSTEMTIME system{};
  if (time != nullptr) system = ToSystemTime(*time);
  return ::GetDateFormatA(LOCALE_USER_DEFAULT, flags, time != nullptr ? &system : nullptr, picture,
                          out, capacity);
}

int Win32Kernel::GetTimeFormat(std::uint32_t flags, const SystemTime* time, const char* picture,
                               char* out, int capacity) {
  if (capacity < 0) return 0;
  // No time means now, which a frozen clock gives.
  if (time == nullptr && frozenNow_) time = &*frozenNow_;
  SYSTEMTIME system{};
  if (time != nullptr) system = ToSystemTime(*time);
  return ::GetTimeFormatA(LOCALE_USER_DEFAULT, flags, time != nullptr ? &system : nullptr, picture,
                          out, capacity);
}

int Win32Kernel::GetLocaleInfo(std::uint32_t type, char* out, int capacity) {
  if (capacity < 0) return 0;
  return ::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, out, capacity);
}

std::uint32_t Win32Kernel::AnsiCodePage() { return ::GetACP(); }

int Win32Kernel::WideToAnsi(std::uint32_t codePage, std::u16string_view text, char* out,
                            int capacity) {
  if (capacity < 0 || !FitsInt(text.size())) return 0;
  return ::WideCharToMultiByte(codePage, 0, reinterpret_cast<const wchar_t*>(text.data()),
                               static_cast<int>(text.size()), out, capacity, nullptr, nullptr);
}

int Win32Kernel::AnsiToWide(std::uint32_t codePage, std::string_view text, char16_t* out,
                            int capacity) {
  if (capacity < 0 || !FitsInt(text.size())) return 0;
  return ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                               reinterpret_cast<wchar_t*>(out), capacity);
}

VersionInfo Win32Kernel::GetVersion() {
  OSVERSIONINFOA system{};
  system.dwOSVersionInfoSize = sizeof system;
  VersionInfo version;
  if (::GetVersionExA(&system) == FALSE) return version;
  version.platformId = system.dwPlatformId;
  version.majorVersion = system.dwMajorVersion;
  version.minorVersion = system.dwMinorVersion;
  version.buildNumber = system.dwBuildNumber;
  return version;
}

std::uint32_t Win32Kernel::GetShortPathName(const char* longPath, char* out,
                                            std::uint32_t capacity) {
  if (longPath == nullptr) return 0;
  return ::GetShortPathNameA(longPath, out, capacity);
}

void* Win32Kernel::LoadLibrary(const char* path) {
  if (path == nullptr) return nullptr;
  return ::LoadLibraryA(path);
}

void* Win32Kernel::GetProcAddress(void* module, const char* name) {
  if (module == nullptr || name == nullptr) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
}

void Win32Kernel::FreeLibrary(void* module) {
  if (module != nullptr) ::FreeLibrary(static_cast<HMODULE>(module));
}

void* Win32Kernel::GlobalAlloc(std::size_t bytes) { return ::GlobalAlloc(GMEM_FIXED, bytes); }

void Win32Kernel::GlobalFree(void* block) {
  if (block != nullptr) ::GlobalFree(block);
}

}  // namespace platform::win32
