// A window's picture is read back from the screen, not asked of the window
// (WM_PRINT): the common controls print themselves only in part, and the
// screen shows the frame and caption exactly as the system draws them.
//
// Under Wine the screen is an X display. Wine paints a window into a surface
// of its own and hands it to the X server later, so before the screen is read
// the window is repainted and the surface handed over. With no window
// manager, Wine leaves a managed window's frame and caption to the manager
// that is not there, and the screen shows none: the pictures are taken with
// Wine drawing them itself (its X11 driver's Decorated=N, which
// sim/machines/pictures.reg sets). A Wine virtual desktop draws them alike,
// but would put its explorer between the caller and prcfg.exe.
#include "platform/win32/window_picture.h"

#include <cstddef>
#include <string>

#include "platform/win32/gdi_handles.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

constexpr WORD kBitsPerPixel = 24;

// A bitmap selected into a DC for as long as this lives: a selected bitmap
// cannot be deleted, so the DC gets its own one back first.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  bool ok() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

class File {
 public:
  explicit File(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~File() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Write(const void* data, std::size_t size) {
    DWORD written = 0;
    return WriteFile(handle_, data, static_cast<DWORD>(size), &written, nullptr) != FALSE &&
           written == size;
  }
  // A file cut short by a full disk is no picture: the caller removes it.
  bool Close() {
    const bool closed = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// Every paint the window and its controls have pending is done, and what was
// painted reaches the screen.
void PaintPending(HWND window) {
  // Wine tells a dialog it is inactive while making it active when the
  // process has no foreground window yet, and keeps its caption grey: the
  // frame is drawn again as the foreground window's, as Windows shows it.
  if (GetForegroundWindow() == window) SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  // Wine hands its painted window surfaces to the display when a look at the
  // queue finds nothing: a look for a message of this module's own that no
  // one posts, which takes nothing from the queue on Windows either.
  static const UINT kNeverPosted = RegisterWindowMessageA("vx5prcfg window picture");
  if (kNeverPosted != 0) {
    MSG message;
    PeekMessageA(&message, nullptr, kNeverPosted, kNeverPosted, PM_NOREMOVE);
  }
}

// Rows bottom-up, each padded to four bytes, as a 24-bit BMP keeps them.
std::size_t RowBytes(int width) {
  return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
}

bool WriteBmp(const std::string& path, int width, int height, const void* pixels) {
  const std::size_t imageBytes = RowBytes(width) * static_cast<std::size_t>(height);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = kBitsPerPixel;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(imageBytes);
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof(header) + sizeof(info);
  header.bfSize = static_cast<DWORD>(header.bfOffBits + imageBytes);

  File file(path);
  if (!file.ok()) return false;
  const bool written = file.Write(&header, sizeof(header)) && file.Write(&info, sizeof(info)) &&
                       file.Write(pixels, imageBytes);
  if (file.Close() && written) return true;
  DeleteFileA(path.c_str());
  return false;
}

bool Capture(HWND window, const std::string& path) {
  if (window == nullptr || IsWindow(window) == FALSE) return false;
  // The screen would show what lies beneath a hidden window.
  if (IsWindowVisible(window) == FALSE || IsIconic(window) != FALSE) return false;
  PaintPending(window);
  RECT frame{};
  if (GetWindowRect(window, &frame) == FALSE) return false;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  if (width <= 0 || height <= 0) return false;

  const ScreenDc screen = GetScreenDc();
  if (screen == nullptr) return false;
  const MemoryDc memory(CreateCompatibleDC(screen.get()));
  if (memory == nullptr) return false;
  // A bottom-up 24-bit DIB section holds its pixels exactly as the file does.
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(format.bmiHeader);
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = kBitsPerPixel;
  format.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  const GdiBitmap bitmap(
      CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (bitmap == nullptr || pixels == nullptr) return false;
  {
    Selection selected(memory.get(), bitmap.get());
    if (!selected.ok()) return false;
    // CAPTUREBLT: windows layered over the dialog are part of what the screen shows.
    if (BitBlt(memory.get(), 0, 0, width, height, screen.get(), frame.left, frame.top,
               SRCCOPY | CAPTUREBLT) == FALSE) {
      return false;
    }
    GdiFlush();  // the blit has reached the section's pixels
  }
  return WriteBmp(path, width, height, pixels);
}

}  // namespace

bool SaveWindowPicture(HWND window, const std::string& path) {
  try {
    return Capture(window, path);
  } catch (...) {
    return false;
  }
}

}  // namespace platform::win32
