#include "platform/win32/win32_kernel.h"

#include <climits>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "platform/frozen_clock.h"
#include "platform/win32/system_time.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

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

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

// A box file over a file handle. CREATE_NEW tells a file this open created
// from one that was there; only a created file is deleted again, and only
// while the path still names that very file.
class Win32OutputFile : public OutputFile {
 public:
  Win32OutputFile(HANDLE file, bool created, const char* path)
      : file_(file), created_(created), path_(path) {
    if (created_ && ::GetFileInformationByHandle(file_, &identity_) == 0) created_ = false;
  }
  ~Win32OutputFile() override {
    if (file_ != INVALID_HANDLE_VALUE) Finish(false);
  }
  Win32OutputFile(const Win32OutputFile&) = delete;
  Win32OutputFile& operator=(const Win32OutputFile&) = delete;

  bool Write(const void* bytes, std::size_t count) override {
    if (file_ == INVALID_HANDLE_VALUE) return false;
    const auto* next = static_cast<const char*>(bytes);
    while (count > 0) {
      const DWORD chunk = count > MAXDWORD ? MAXDWORD : static_cast<DWORD>(count);
      DWORD written = 0;
      if (::WriteFile(file_, next, chunk, &written, nullptr) == 0 || written == 0) return false;
      next += written;
      count -= written;
    }
    return true;
  }

  bool Finish(bool complete) override {
    if (file_ == INVALID_HANDLE_VALUE) return false;
    // A created file is flushed first: a close cannot report a lost write.
    if (complete && created_ && ::FlushFileBuffers(file_) == 0) complete = false;
    const bool stillOurs = created_ && !complete && NamesOurFile();
    const bool closed = ::CloseHandle(file_) != 0;
    file_ = INVALID_HANDLE_VALUE;
    if (stillOurs) ::DeleteFileA(path_.c_str());
    return complete && closed;
  }

 private:
  bool NamesOurFile() const {
    const HANDLE other =
        ::CreateFileA(path_.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (other == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool same =
        ::GetFileInformationByHandle(other, &information) != 0 && SameFile(information, identity_);
    ::CloseHandle(other);
    return same;
  }

  HANDLE file_;
  bool created_;
  std::string path_;
  BY_HANDLE_FILE_INFORMATION identity_{};
};

}  // namespace

Win32Kernel::Win32Kernel() : frozenNow_(FrozenClockSetting()) {}

SystemTime Win32Kernel::GetLocalTime() {
  if (frozenNow_) return *frozenNow_;
  SYSTEMTIME system{};
  ::GetLocalTime(&system);
  return FromSystemTime(system);
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

std::unique_ptr<OutputFile> Win32Kernel::OpenOutputFile(const char* path) {
  if (path == nullptr || *path == '\0') return nullptr;
  HANDLE file = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    // A device such as NUL opens whatever the disposition: it was not created.
    const bool created = ::GetFileType(file) == FILE_TYPE_DISK;
    return std::make_unique<Win32OutputFile>(file, created, path);
  }
  const DWORD error = ::GetLastError();
  if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return nullptr;

  // Written in place, judged by what was opened: a disk file is emptied, a
  // character device taken as it is, anything else refused.
  file = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  auto opened = std::make_unique<Win32OutputFile>(file, false, path);
  const DWORD type = ::GetFileType(file);
  if (type == FILE_TYPE_DISK) {
    if (::SetEndOfFile(file) == 0) return nullptr;  // the position is still 0
  } else if (type != FILE_TYPE_CHAR) {
    return nullptr;
  }
  return opened;
}

void* Win32Kernel::GlobalAlloc(std::size_t bytes) { return ::GlobalAlloc(GMEM_FIXED, bytes); }

void Win32Kernel::GlobalFree(void* block) {
  if (block != nullptr) ::GlobalFree(block);
}

}  // namespace platform::win32
