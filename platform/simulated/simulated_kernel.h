// The kernel of the simulated machine: a frozen or real clock, the user's
// locale pictures, the machine's ANSI code page and version.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/kernel.h"

namespace platform::simulated {

// Texts are in the machine's ANSI code page, as GetLocaleInfoA gives them.
struct KernelSettings {
  std::uint32_t ansiCodePage = 1252;
  VersionInfo version{};
  // A frozen local clock ("Now" of the profile); the real clock when empty.
  std::optional<SystemTime> frozenNow;
  // HKEY_CURRENT_USER\Control Panel\International.
  std::string shortDate = "M/d/yyyy";
  std::string timeFormat = "h:mm:ss tt";
  std::string decimal = ".";
};

// Code page ids that stand for the machine's ANSI code page.
inline constexpr std::uint32_t kCodePageAnsi = 0;        // CP_ACP
inline constexpr std::uint32_t kCodePageThreadAnsi = 3;  // CP_THREAD_ACP

class SimulatedKernel : public Kernel {
 public:
  explicit SimulatedKernel(KernelSettings settings);

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

  void* GlobalAlloc(std::size_t bytes) override;
  void GlobalFree(void* block) override;

 private:
  std::uint32_t ResolveCodePage(std::uint32_t codePage) const;
  std::string FromAnsiText(std::string_view text) const;
  std::string InAnsi(std::string_view utf8) const;

  KernelSettings settings_;
};

}  // namespace platform::simulated
