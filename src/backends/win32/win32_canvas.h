// platform::Canvas on GDI. A paint draws into a back buffer of the client size and copies it to
// the window in one BitBlt, so the window never shows a half-drawn frame. What outlives a paint
// (the buffer, the fonts, the pictures' bitmaps) lives in a GdiCache the window owns.
//
// In the window's WM_PAINT:
//   PAINTSTRUCT ps;
//   HDC dc = BeginPaint(hwnd, &ps);
//   Win32Canvas canvas(dc, clientSize, state.gdi);
//   core.Paint(canvas, ...);
//   canvas.CopyTo(dc);
//   EndPaint(hwnd, &ps);
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "backends/win32/win32_dpi.h"
#include "platform/Canvas.h"

namespace tasklane::win32 {

// The core's font heights are pixels at 120 dpi, the resolution the window was designed at.
inline constexpr int kDesignDpi = 120;

// A design font height as pixels at `dpi`, rounded; never less than one pixel.
int ScaledFontHeight(int designPixels, int dpi);

// The back buffer, the fonts and the pictures' bitmaps, kept from paint to paint so that a
// paint creates no GDI objects unless the window's size or its pictures changed. One per
// window, for the window's life; everything is released with it.
class GdiCache {
 public:
  // Drawing is scaled from 96 dpi and font heights from 120 dpi to `dpi`.
  explicit GdiCache(int dpi = SystemDpi());
  ~GdiCache();
  GdiCache(const GdiCache&) = delete;
  GdiCache& operator=(const GdiCache&) = delete;

  // The window moved to a screen of another resolution: the fonts are made anew.
  void SetDpi(int dpi);
  DpiScale Scale() const;

  struct Impl;

 private:
  friend class Win32Canvas;
  std::unique_ptr<Impl> impl_;
};

class Win32Canvas final : public platform::Canvas {
 public:
  // Starts a frame: a back buffer of `size` device pixels (its content undefined until drawn),
  // compatible with `target`. Only one canvas per cache at a time. The core's coordinates and
  // widths are logical pixels, scaled to the cache's dpi.
  Win32Canvas(HDC target, platform::Size size, GdiCache& cache);
  ~Win32Canvas() override;
  Win32Canvas(const Win32Canvas&) = delete;
  Win32Canvas& operator=(const Win32Canvas&) = delete;

  // Copies the whole buffer to `target`'s top-left corner in one BitBlt.
  void CopyTo(HDC target) const;
  // The buffer's device context, for reading back what was drawn.
  HDC BufferDC() const { return dc_; }
  // The buffer's size in logical pixels, which the core draws in.
  platform::Size LogicalSize() const { return scale_.Logical(SIZE{size_.width, size_.height}); }

  void FillRect(const platform::Rect& rect, platform::Color color) override;
  void Line(platform::Point from, platform::Point to, platform::Color color) override;
  void Text(const platform::Rect& rect, std::u16string_view text, const platform::Font& font, platform::Color color,
            const platform::TextFormat& format) override;
  int TextWidth(std::u16string_view text, const platform::Font& font) override;
  void DrawPicture(const platform::Rect& target, const platform::Picture& picture,
                   platform::PictureTransparency transparency) override;
  void FocusRect(const platform::Rect& rect) override;
  void PushOrigin(platform::Point origin) override;
  void PopOrigin() override;
  void PushClip(const platform::Rect& rect) override;
  void PopClip() override;

 private:
  RECT Device(const platform::Rect& rect) const;
  void UseFont(const platform::Font& font);
  void ApplyClip();

  GdiCache::Impl& cache_;
  DpiScale scale_;
  HDC dc_;
  platform::Size size_;
  HGDIOBJ originalFont_;
  POINT origin_{0, 0};  // logical
  std::vector<POINT> origins_;
  std::vector<RECT> clips_;  // in buffer pixels, each within the one below it
};

}  // namespace tasklane::win32
