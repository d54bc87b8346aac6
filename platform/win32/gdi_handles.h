// GDI's device contexts and objects, given back on every path.
#pragma once

#include <memory>
#include <type_traits>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

struct ScreenDcRelease {
  void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
struct MemoryDcDelete {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct GdiObjectDelete {
  void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};

// GetDC(nullptr): the screen's device context.
using ScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, ScreenDcRelease>;
inline ScreenDc GetScreenDc() { return ScreenDc(GetDC(nullptr)); }
// CreateCompatibleDC.
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDelete>;
using GdiBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDelete>;

}  // namespace platform::win32
