// Process services: local time, date and time formatting, locale settings,
// code pages, version, short paths, dynamic loading and global memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string_view>

namespace platform {

// SYSTEMTIME.
struct SystemTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;      // 1..12
  std::uint16_t dayOfWeek = 0;  // 0 = Sunday
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

// OSVERSIONINFO's fields.
struct VersionInfo {
  std::uint32_t platformId = 2;  // 1 = Windows 9x, 2 = NT
  std::uint32_t majorVersion = 10;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
};

// GetTimeFormatA flags.
inline constexpr std::uint32_t kTimeNoSeconds = 0x2;

// CP_UTF8, a code page WideToAnsi and AnsiToWide take like any other.
inline constexpr std::uint32_t kCodePageUtf8 = 65001;

// GetLocaleInfoA types.
inline constexpr std::uint32_t kLocaleSDecimal = 0x0E;
inline constexpr std::uint32_t kLocaleSShortDate = 0x1F;
inline constexpr std::uint32_t kLocaleSTimeFormat = 0x1003;

// A file the module writes from start to end (the box file). The path it was
// opened at is never replaced: a new file is created there, an existing
// regular file is emptied and written in place, and a character device (the
// null device) is written as it is.
class OutputFile {
 public:
  // Dropped without Finish(true): as Finish(false).
  virtual ~OutputFile() = default;
  // Writes all of `bytes`; false when they could not all be written.
  virtual bool Write(const void* bytes, std::size_t count) = 0;
  // Closes the file; true when `complete` and everything written reached it.
  // A file this open created is removed when it is not complete (or its
  // close failed); a path that existed before is never removed.
  virtual bool Finish(bool complete) = 0;
};

class Kernel {
 public:
  virtual ~Kernel() = default;

  // GetLocalTime.
  virtual SystemTime GetLocalTime() = 0;
  // The C runtime's local-time breakdown of the current moment
  // (localtime(time(nullptr))), daylight-saving flag included.
  virtual std::tm CurrentLocalBreakdown() = 0;

  // GetDateFormatA / GetTimeFormatA for the user's default locale: `time`
  // null means now, `picture` null means the user's format. Return the
  // length written including the NUL, or 0 when it does not fit; a zero
  // `capacity` asks for the length needed.
  virtual int GetDateFormat(std::uint32_t flags, const SystemTime* time, const char* picture,
                            char* out, int capacity) = 0;
  virtual int GetTimeFormat(std::uint32_t flags, const SystemTime* time, const char* picture,
                            char* out, int capacity) = 0;
  // GetLocaleInfoA for the user's default locale, same return convention.
  virtual int GetLocaleInfo(std::uint32_t type, char* out, int capacity) = 0;

  // GetACP.
  virtual std::uint32_t AnsiCodePage() = 0;
  // WideCharToMultiByte: characters the code page lacks become "?". Returns
  // the bytes written (no NUL added), or 0 when they do not fit; a zero
  // `capacity` asks for the length needed.
  virtual int WideToAnsi(std::uint32_t codePage, std::u16string_view text, char* out,
                         int capacity) = 0;
  // MultiByteToWideChar, same convention, in UTF-16 units.
  virtual int AnsiToWide(std::uint32_t codePage, std::string_view text, char16_t* out,
                         int capacity) = 0;

  // GetVersionExA.
  virtual VersionInfo GetVersion() = 0;

  // GetShortPathNameA: the length of the short path without its NUL when it
  // fits, the size needed (NUL included) when it does not, 0 on failure.
  virtual std::uint32_t GetShortPathName(const char* longPath, char* out,
                                         std::uint32_t capacity) = 0;

  // LoadLibraryA / GetProcAddress / FreeLibrary.
  virtual void* LoadLibrary(const char* path) = 0;
  virtual void* GetProcAddress(void* module, const char* name) = 0;
  virtual void FreeLibrary(void* module) = 0;

  // Opens `path` for writing as OutputFile describes; null when it cannot be
  // opened, or when something other than a regular file or a character
  // device stands at the path.
  virtual std::unique_ptr<OutputFile> OpenOutputFile(const char* path) = 0;

  // GlobalAlloc(GMEM_FIXED) / GlobalFree.
  virtual void* GlobalAlloc(std::size_t bytes) = 0;
  virtual void GlobalFree(void* block) = 0;
};

}  // namespace platform
