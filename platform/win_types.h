// Small Windows vocabulary shared by the platform interfaces: error codes,
// registry value kinds and hives, with their Win32 values so that code
// written against them reads as it would on Windows.
#pragma once

#include <cstdint>

namespace platform {

// Win32 error codes the module tests for.
inline constexpr std::uint32_t kErrorSuccess = 0;
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorInvalidHandle = 6;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;
inline constexpr std::uint32_t kErrorInsufficientBuffer = 122;
inline constexpr std::uint32_t kErrorMoreData = 234;
inline constexpr std::uint32_t kErrorNoMoreItems = 259;
inline constexpr std::uint32_t kErrorInvalidPrinterName = 1801;

enum class Hive { ClassesRoot, CurrentUser, LocalMachine, Users };

// Registry value types (REG_*).
enum class RegType : std::uint32_t {
  None = 0,
  Sz = 1,
  ExpandSz = 2,
  Binary = 3,
  Dword = 4,
  MultiSz = 7,
  Qword = 11,
};

// Opaque window handle; null means "no owner".
using WindowHandle = void*;

}  // namespace platform
