// The kernel services over KERNEL32 and the C runtime: the system's own
// clock, locale, code pages, version, short paths, loader and global memory.
#pragma once

#include <optional>

#include "platform/kernel.h"

namespace platform::win32 {

// The test setting that freezes the DLL's local clock at a "YYYY-MM-DD
// HH:MM:SS" (sim/wine-prcfg sets it from a machine profile's "Now"). Any
// other text leaves the system's clock running.
inline constexpr char kFrozenClockVariable[] = "VX5PRCFG_TEST_NOW";

class Win32Kernel : public Kernel {
 public:
  // Reads the test setting once.
  Win32Kernel();

  SystemTime GetLocalTime() override;
  std::tm CurrentLocalBreakdown() override;

  int GetDateFormat(std::uint32_t flags, const SystemTime* time, const char* picture, char* out,
                    int capacity) override;
  int GetTimeFormat(std::uint32_t flags, const SystemTime* time, const char* picture, char* out,
                    int capacity) override;
  int GetLocaleInfo(std::uint32_t type, char* out, int capacity) override;

  std::uint32_t AnsiCodePage() override;
  int WideToAnsi(std::uint32_t codePage, std::u16string_view text, char* out,
                 int capacity) override;
  int AnsiToWide(std::uint32_t codePage, std::string_view text, char16_t* out,
                 int capacity) override;

  VersionInfo GetVersion() override;
  std::uint32_t GetShortPathName(const char* longPath, char* out, std::uint32_t capacity) override;

  void* LoadLibrary(const char* path) override;
  void* GetProcAddress(void* module, const char* name) override;
  void FreeLibrary(void* module) override;

  std::unique_ptr<OutputFile> OpenOutputFile(const char* path) override;

  // GlobalAlloc(GMEM_FIXED): the caller frees the block with GlobalFree.
  void* GlobalAlloc(std::size_t bytes) override;
  void GlobalFree(void* block) override;

 private:
  std::optional<SystemTime> frozenNow_;
};

}  // namespace platform::win32
