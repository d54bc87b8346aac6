#include "platform/simulated/simulated_kernel.h"

#include <dlfcn.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

#include "platform/frozen_clock.h"
#include "platform/simulated/code_pages.h"
#include "platform/simulated/date_time_format.h"

namespace platform::simulated {
namespace {

constexpr int kFirstTmYear = 1900;
constexpr std::uint32_t kLocaleNoUserOverride = 0x80000000;

// The Win32 text-out convention: the length with its NUL, 0 when it does
// not fit, the length needed for a zero capacity.
int CopyText(const std::string& text, char* out, int capacity) {
  const int needed = static_cast<int>(text.size()) + 1;
  if (capacity == 0) return needed;
  if (capacity < needed || out == nullptr) return 0;
  std::memcpy(out, text.c_str(), static_cast<std::size_t>(needed));
  return needed;
}

SystemTime FromTm(const std::tm& broken, int milliseconds) {
  SystemTime time;
  time.year = static_cast<std::uint16_t>(broken.tm_year + kFirstTmYear);
  time.month = static_cast<std::uint16_t>(broken.tm_mon + 1);
  time.dayOfWeek = static_cast<std::uint16_t>(broken.tm_wday);
  time.day = static_cast<std::uint16_t>(broken.tm_mday);
  time.hour = static_cast<std::uint16_t>(broken.tm_hour);
  time.minute = static_cast<std::uint16_t>(broken.tm_min);
  time.second = static_cast<std::uint16_t>(broken.tm_sec);
  time.milliseconds = static_cast<std::uint16_t>(milliseconds);
  return time;
}

std::tm LocalBreakdown(std::time_t moment) {
  ::tzset();  // follow a TZ changed since the last call
  std::tm broken{};
  ::localtime_r(&moment, &broken);
  return broken;
}

}  // namespace

SimulatedKernel::SimulatedKernel(KernelSettings settings) : settings_(std::move(settings)) {}

SystemTime SimulatedKernel::GetLocalTime() {
  if (settings_.frozenNow) {
    SystemTime now = *settings_.frozenNow;
    // Windows fills wDayOfWeek; take it from the calendar, not the profile.
    if (IsValidSystemTime(now)) now.dayOfWeek = static_cast<std::uint16_t>(DayOfWeek(now));
    return now;
  }
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto milliseconds = duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) %
                            std::chrono::milliseconds(1000);
  return FromTm(LocalBreakdown(system_clock::to_time_t(now)),
                static_cast<int>(milliseconds.count()));
}

std::tm SimulatedKernel::CurrentLocalBreakdown() {
  if (!settings_.frozenNow) return LocalBreakdown(std::time(nullptr));
  // The moment the frozen local clock shows, broken down again so that the
  // daylight-saving flag is the zone's own for that moment.
  std::tm broken = ToBrokenDownTime(*settings_.frozenNow);
  const std::time_t moment = std::mktime(&broken);
  return LocalBreakdown(moment);
}

int SimulatedKernel::GetDateFormat(std::uint32_t flags, const SystemTime* time, const char* picture,
                                   char* out, int capacity) {
  if (capacity < 0) return 0;
  const bool choosesPicture = (flags & (kDateShortDate | kDateLongDate)) != 0;
  if (picture != nullptr && choosesPicture) return 0;  // ERROR_INVALID_FLAGS
  const SystemTime when = time != nullptr ? *time : GetLocalTime();
  if (!IsValidSystemTime(when)) return 0;
  std::string_view format = settings_.shortDate;
  if (picture != nullptr) {
    format = picture;
  } else if ((flags & kDateLongDate) != 0) {
    format = kDefaultLongDate;
  }
  return CopyText(InAnsi(FormatDatePicture(FromAnsiText(format), when)), out, capacity);
}

int SimulatedKernel::GetTimeFormat(std::uint32_t flags, const SystemTime* time, const char* picture,
                                   char* out, int capacity) {
  if (capacity < 0) return 0;
  const SystemTime when = time != nullptr ? *time : GetLocalTime();
  if (!IsValidSystemTime(when)) return 0;
  const std::string_view format =
      picture != nullptr ? std::string_view(picture) : std::string_view(settings_.timeFormat);
  return CopyText(InAnsi(FormatTimePicture(FromAnsiText(format), when, flags)), out, capacity);
}

int SimulatedKernel::GetLocaleInfo(std::uint32_t type, char* out, int capacity) {
  if (capacity < 0) return 0;
  switch (type & ~kLocaleNoUserOverride) {
    case kLocaleSShortDate:
      return CopyText(settings_.shortDate, out, capacity);
    case kLocaleSTimeFormat:
      return CopyText(settings_.timeFormat, out, capacity);
    case kLocaleSDecimal:
      return CopyText(settings_.decimal, out, capacity);
    default:
      return 0;  // ERROR_INVALID_FLAGS
  }
}

// GetDateFormatA and GetTimeFormatA read the picture's characters, not its
// bytes: a trail byte of a double-byte character may look like an element
// letter. UTF-8 keeps every non-ASCII byte clear of them.
std::string SimulatedKernel::FromAnsiText(std::string_view text) const {
  if (!IsKnownCodePage(settings_.ansiCodePage)) return std::string(text);
  return Utf16ToUtf8(FromAnsi(settings_.ansiCodePage, text));
}

std::string SimulatedKernel::InAnsi(std::string_view utf8) const {
  if (!IsKnownCodePage(settings_.ansiCodePage)) return std::string(utf8);
  return ToAnsi(settings_.ansiCodePage, Utf8ToUtf16(utf8));
}

std::uint32_t SimulatedKernel::AnsiCodePage() { return settings_.ansiCodePage; }

std::uint32_t SimulatedKernel::ResolveCodePage(std::uint32_t codePage) const {
  return codePage == kCodePageAnsi || codePage == kCodePageThreadAnsi ? settings_.ansiCodePage
                                                                      : codePage;
}

int SimulatedKernel::WideToAnsi(std::uint32_t codePage, std::u16string_view text, char* out,
                                int capacity) {
  return WideToMultiByte(ResolveCodePage(codePage), text, out, capacity);
}

int SimulatedKernel::AnsiToWide(std::uint32_t codePage, std::string_view text, char16_t* out,
                                int capacity) {
  return MultiByteToWide(ResolveCodePage(codePage), text, out, capacity);
}

VersionInfo SimulatedKernel::GetVersion() { return settings_.version; }

std::uint32_t SimulatedKernel::GetShortPathName(const char* longPath, char* out,
                                                std::uint32_t capacity) {
  if (longPath == nullptr) return 0;
  std::error_code error;
  if (!std::filesystem::exists(longPath, error)) return 0;  // ERROR_FILE_NOT_FOUND
  // Linux has no 8.3 names: a path that exists is its own short form.
  const std::size_t length = std::strlen(longPath);
  if (out == nullptr || capacity <= length) return static_cast<std::uint32_t>(length + 1);
  std::memcpy(out, longPath, length + 1);
  return static_cast<std::uint32_t>(length);
}

void* SimulatedKernel::LoadLibrary(const char* path) {
  if (path == nullptr) return nullptr;
  return ::dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

void* SimulatedKernel::GetProcAddress(void* module, const char* name) {
  if (module == nullptr || name == nullptr) return nullptr;
  return ::dlsym(module, name);
}

void SimulatedKernel::FreeLibrary(void* module) {
  if (module != nullptr) ::dlclose(module);
}

// The C heap, so that a caller frees a block with free().
void* SimulatedKernel::GlobalAlloc(std::size_t bytes) {
  return std::malloc(bytes != 0 ? bytes : 1);
}

void SimulatedKernel::GlobalFree(void* block) { std::free(block); }

}  // namespace platform::simulated
