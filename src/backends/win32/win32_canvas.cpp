// The core's drawing operations on GDI, into a back buffer.
//
//  [x] FillRect, exact to the pixel
//  [x] Line: one pixel wide, from `from` up to but not including `to`
//  [x] Text: DrawTextW left, centred or right, top or vertically centred, one line, clipped,
//      "&x" underlines x and "&&" is "&"; transparent background
//  [x] TextWidth, FocusRect (DrawFocusRect: dotted, inverting)
//  [x] PushOrigin and PopOrigin, PushClip and PopClip, each nested in the others
//  [x] DrawPicture: scaled to its target, opaque, by its alpha, or leaving out its
//      transparent colour
//  [x] coordinates scaled from 96 dpi to the window's, fonts from 120 dpi; one logical pixel's
//      line is as thick as the scale makes it
//  [x] fonts by family, height and weight, kept for the cache's life or until the dpi changes
//  [x] pictures' bitmaps kept from paint to paint, rebuilt when a picture's pixels change
#include "backends/win32/win32_canvas.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>

namespace tasklane::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32's wide characters are UTF-16 code units");

namespace {

COLORREF ColorRefOf(platform::Color color) { return RGB(color.red, color.green, color.blue); }

const wchar_t* WideOf(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }

int LengthOf(std::u16string_view text) {
  return static_cast<int>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(INT_MAX)));
}

// A top-down 32-bit DIB section; `bits` receives its pixels, each row `width` values long.
HBITMAP CreateDib(int width, int height, std::uint32_t*& bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  bits = static_cast<std::uint32_t*>(pixels);
  return bitmap;
}

// AlphaBlend wants each colour already multiplied by its pixel's alpha.
std::uint32_t Premultiplied(platform::Argb pixel) {
  const std::uint32_t alpha = platform::AlphaOf(pixel);
  const auto scaled = [alpha](std::uint32_t value) { return (value * alpha + 127) / 255; };
  return alpha << 24 | scaled(pixel >> 16 & 0xFF) << 16 | scaled(pixel >> 8 & 0xFF) << 8 | scaled(pixel & 0xFF);
}

// The picture's pixels as a DIB section: premultiplied with their alpha, or opaque colours
// with the unused fourth byte zero, which is what BitBlt and TransparentBlt compare.
HBITMAP BitmapOf(const platform::Picture& picture, bool premultiplied) {
  std::uint32_t* bits = nullptr;
  HBITMAP bitmap = CreateDib(picture.Width(), picture.Height(), bits);
  if (bitmap == nullptr) return nullptr;
  const std::vector<platform::Argb>& pixels = picture.Pixels();
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    bits[i] = premultiplied ? Premultiplied(pixels[i]) : (pixels[i] & 0x00FFFFFFu);
  }
  return bitmap;
}

// The core keeps its pictures for a long time but may load another at the same address with
// the same size (a skin change), so a kept bitmap is checked against the pixels themselves.
std::uint64_t FingerprintOf(const platform::Picture& picture) {
  std::uint64_t hash = 14695981039346656037ull;
  for (platform::Argb pixel : picture.Pixels()) hash = (hash ^ pixel) * 1099511628211ull;
  return hash;
}

UINT TextFlagsOf(const platform::TextFormat& format) {
  UINT flags = 0;
  switch (format.align) {
    case platform::TextAlign::Left: flags |= DT_LEFT; break;
    case platform::TextAlign::Center: flags |= DT_CENTER; break;
    case platform::TextAlign::Right: flags |= DT_RIGHT; break;
  }
  if (format.singleLine) flags |= DT_SINGLELINE;
  if (format.verticalCenter) flags |= DT_VCENTER;
  // NOTE: Wine draws an ampersand that ends the text as itself; it has no letter to mark.
  if (!format.showMnemonics) flags |= DT_NOPREFIX;
  return flags;
}

// The largest picture bitmaps kept at once; beyond it they are all let go and rebuilt as used,
// so pictures of skins no longer shown do not pile up.
constexpr std::size_t kMaxKeptPictures = 64;

}  // namespace

int ScaledFontHeight(int designPixels, int dpi) { return std::max(MulDiv(designPixels, dpi, kDesignDpi), 1); }

struct GdiCache::Impl {
  struct KeptPicture {
    const void* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::uint64_t fingerprint = 0;
    HBITMAP opaque = nullptr;
    HBITMAP premultiplied = nullptr;
  };
  using FontKey = std::tuple<std::u16string, int, bool>;

  int dpi;
  HDC bufferDc = nullptr;
  HBITMAP buffer = nullptr;
  HGDIOBJ bufferDcBitmap = nullptr;  // the memory DC's own bitmap, selected back before deleting it
  platform::Size bufferSize;
  HDC pictureDc = nullptr;
  HDC inkDc = nullptr;  // a scratch bitmap that texts are drawn into to see where their ink ends
  HBITMAP ink = nullptr;
  HGDIOBJ inkDcBitmap = nullptr;
  std::uint32_t* inkBits = nullptr;
  platform::Size inkSize;
  std::map<FontKey, HFONT> fonts;
  std::unordered_map<const platform::Picture*, KeptPicture> pictures;

  explicit Impl(int screenDpi) : dpi(screenDpi) {}
  ~Impl();
  void ForgetFonts();
  HDC Buffer(HDC target, platform::Size size);
  HFONT Font(const platform::Font& font);
  HBITMAP Bitmap(const platform::Picture& picture, bool premultiplied);
  HDC PictureDc();
  void ForgetPictures();
  int InkRight(HFONT font, std::u16string_view text, platform::Size room);
};

GdiCache::Impl::~Impl() {
  ForgetPictures();
  ForgetFonts();
  if (pictureDc != nullptr) DeleteDC(pictureDc);
  if (inkDc != nullptr) {
    SelectObject(inkDc, inkDcBitmap);
    DeleteDC(inkDc);
  }
  if (ink != nullptr) DeleteObject(ink);
  if (bufferDc != nullptr) {
    SelectObject(bufferDc, bufferDcBitmap);
    DeleteDC(bufferDc);
  }
  if (buffer != nullptr) DeleteObject(buffer);
}

// The buffer grows with the window and is kept when it shrinks: the fold animation resizes
// the window a hundred times a second.
HDC GdiCache::Impl::Buffer(HDC target, platform::Size size) {
  if (bufferDc == nullptr) bufferDc = CreateCompatibleDC(target);
  if (buffer != nullptr && size.width <= bufferSize.width && size.height <= bufferSize.height) return bufferDc;
  const platform::Size grown{std::max({size.width, bufferSize.width, 1}), std::max({size.height, bufferSize.height, 1})};
  std::uint32_t* bits = nullptr;
  HBITMAP fresh = CreateDib(grown.width, grown.height, bits);
  if (fresh == nullptr) return bufferDc;
  HGDIOBJ previous = SelectObject(bufferDc, fresh);
  if (buffer == nullptr) bufferDcBitmap = previous;
  else DeleteObject(buffer);
  buffer = fresh;
  bufferSize = grown;
  return bufferDc;
}

HFONT GdiCache::Impl::Font(const platform::Font& font) {
  const int height = ScaledFontHeight(font.pixelHeight, dpi);
  FontKey key{std::u16string(font.family), height, font.bold};
  if (const auto kept = fonts.find(key); kept != fonts.end()) return kept->second;
  const std::wstring face(font.family.begin(), font.family.end());
  // A negative height asks for the character height, without the internal leading.
  HFONT created = CreateFontW(-height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                              DEFAULT_PITCH | FF_SWISS, face.c_str());
  if (created == nullptr) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts.emplace(std::move(key), created);
  return created;
}

HBITMAP GdiCache::Impl::Bitmap(const platform::Picture& picture, bool premultiplied) {
  const std::uint64_t fingerprint = FingerprintOf(picture);
  auto kept = pictures.find(&picture);
  if (kept != pictures.end() && (kept->second.pixels != picture.Pixels().data() ||
                                 kept->second.width != picture.Width() || kept->second.height != picture.Height() ||
                                 kept->second.fingerprint != fingerprint)) {
    if (kept->second.opaque != nullptr) DeleteObject(kept->second.opaque);
    if (kept->second.premultiplied != nullptr) DeleteObject(kept->second.premultiplied);
    pictures.erase(kept);
    kept = pictures.end();
  }
  if (kept == pictures.end()) {
    if (pictures.size() >= kMaxKeptPictures) ForgetPictures();
    const KeptPicture fresh{picture.Pixels().data(), picture.Width(), picture.Height(), fingerprint};
    kept = pictures.emplace(&picture, fresh).first;
  }
  HBITMAP& bitmap = premultiplied ? kept->second.premultiplied : kept->second.opaque;
  if (bitmap == nullptr) bitmap = BitmapOf(picture, premultiplied);
  return bitmap;
}

HDC GdiCache::Impl::PictureDc() {
  if (pictureDc == nullptr) pictureDc = CreateCompatibleDC(bufferDc);
  return pictureDc;
}

void GdiCache::Impl::ForgetPictures() {
  for (const auto& [address, kept] : pictures) {
    if (kept.opaque != nullptr) DeleteObject(kept.opaque);
    if (kept.premultiplied != nullptr) DeleteObject(kept.premultiplied);
  }
  pictures.clear();
}

void GdiCache::Impl::ForgetFonts() {
  for (const auto& [key, font] : fonts) DeleteObject(font);
  fonts.clear();
}

GdiCache::GdiCache(int dpi) : impl_(std::make_unique<Impl>(dpi > 0 ? dpi : kLogicalDpi)) {}

void GdiCache::SetDpi(int dpi) {
  if (dpi <= 0 || dpi == impl_->dpi) return;
  impl_->ForgetFonts();
  impl_->dpi = dpi;
}

DpiScale GdiCache::Scale() const { return {impl_->dpi}; }

GdiCache::~GdiCache() = default;

Win32Canvas::Win32Canvas(HDC target, platform::Size size, GdiCache& cache)
    : cache_(*cache.impl_), scale_{cache_.dpi}, dc_(cache_.Buffer(target, size)), size_(size) {
  originalFont_ = GetCurrentObject(dc_, OBJ_FONT);
  SelectClipRgn(dc_, nullptr);
  SetBkMode(dc_, TRANSPARENT);
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  // NOTE: COLORONCOLOR takes the nearest pixel, as the system's own stretching of a picture
  // control does; HALFTONE would blur the frame pictures' hard edges and blend the transparent
  // colour into its neighbours.
  SetStretchBltMode(dc_, COLORONCOLOR);
}

// The fonts stay in the cache and must not be selected in its DC when it deletes them.
Win32Canvas::~Win32Canvas() {
  SelectObject(dc_, originalFont_);
  SelectClipRgn(dc_, nullptr);
}

void Win32Canvas::CopyTo(HDC target) const {
  BitBlt(target, 0, 0, size_.width, size_.height, dc_, 0, 0, SRCCOPY);
}

RECT Win32Canvas::Device(const platform::Rect& rect) const {
  return scale_.Device(platform::Rect{rect.left + origin_.x, rect.top + origin_.y, rect.right + origin_.x,
                                      rect.bottom + origin_.y});
}

void Win32Canvas::UseFont(const platform::Font& font) { SelectObject(dc_, cache_.Font(font)); }

void Win32Canvas::FillRect(const platform::Rect& rect, platform::Color color) {
  if (rect.IsEmpty()) return;
  const RECT box = Device(rect);
  SetDCBrushColor(dc_, ColorRefOf(color));
  ::FillRect(dc_, &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A level or upright line is the one-pixel-wide rectangle it covers, so that it grows with the
// scale as the rectangles beside it do; GDI's LineTo leaves out the last pixel as we do.
void Win32Canvas::Line(platform::Point from, platform::Point to, platform::Color color) {
  if (from == to) return;
  if (from.x == to.x || from.y == to.y) {
    // The pixels from `from` up to `to`, whichever way the line runs.
    const auto span = [](int start, int end) {
      return start <= end ? std::pair{start, std::max(end, start + 1)} : std::pair{end + 1, start + 1};
    };
    const auto [left, right] = span(from.x, to.x);
    const auto [top, bottom] = span(from.y, to.y);
    FillRect(platform::Rect{left, top, right, bottom}, color);
    return;
  }
  SelectObject(dc_, GetStockObject(DC_PEN));
  SetDCPenColor(dc_, ColorRefOf(color));
  const POINT start = scale_.Device(platform::Point{from.x + origin_.x, from.y + origin_.y});
  const POINT end = scale_.Device(platform::Point{to.x + origin_.x, to.y + origin_.y});
  MoveToEx(dc_, start.x, start.y, nullptr);
  LineTo(dc_, end.x, end.y);
}

void Win32Canvas::Text(const platform::Rect& rect, std::u16string_view text, const platform::Font& font,
                       platform::Color color, const platform::TextFormat& format) {
  if (rect.IsEmpty() || text.empty()) return;
  UseFont(font);
  SetTextColor(dc_, ColorRefOf(color));
  RECT box = Device(rect);
  const UINT flags = TextFlagsOf(format);
  if (format.singleLine || !format.verticalCenter) {
    DrawTextW(dc_, WideOf(text), LengthOf(text), &box, flags);
    return;
  }
  // DT_VCENTER centres single lines only: several lines are measured and moved down by hand,
  // clipped to the rectangle they were asked for.
  RECT measured = box;
  DrawTextW(dc_, WideOf(text), LengthOf(text), &measured, flags | DT_CALCRECT);
  const int down = ((box.bottom - box.top) - (measured.bottom - measured.top)) / 2;
  const int saved = SaveDC(dc_);
  IntersectClipRect(dc_, box.left, box.top, box.right, box.bottom);
  OffsetRect(&box, 0, down);
  DrawTextW(dc_, WideOf(text), LengthOf(text), &box, flags | DT_NOCLIP);
  RestoreDC(dc_, saved);
}

// One past the rightmost device pixel that drawing `text` at the left of `room` inks, drawn as
// Text draws it: DrawTextW, the same font, the same pixels.
int GdiCache::Impl::InkRight(HFONT font, std::u16string_view text, platform::Size room) {
  if (inkDc == nullptr) inkDc = CreateCompatibleDC(nullptr);
  if (ink == nullptr || room.width > inkSize.width || room.height > inkSize.height) {
    const platform::Size grown{std::max(room.width, inkSize.width), std::max(room.height, inkSize.height)};
    std::uint32_t* bits = nullptr;
    HBITMAP fresh = CreateDib(grown.width, grown.height, bits);
    if (fresh == nullptr || inkDc == nullptr) return 0;
    HGDIOBJ previous = SelectObject(inkDc, fresh);
    if (ink == nullptr) inkDcBitmap = previous;
    else DeleteObject(ink);
    ink = fresh;
    inkBits = bits;
    inkSize = grown;
  }
  const int stride = inkSize.width;
  std::fill(inkBits, inkBits + static_cast<std::size_t>(stride) * inkSize.height, 0x00FFFFFFu);
  HGDIOBJ kept = SelectObject(inkDc, font);
  SetBkMode(inkDc, TRANSPARENT);
  SetTextColor(inkDc, RGB(0, 0, 0));
  RECT box{0, 0, room.width, room.height};
  DrawTextW(inkDc, WideOf(text), LengthOf(text), &box, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
  SelectObject(inkDc, kept);
  GdiFlush();
  for (int x = room.width - 1; x >= 0; --x) {
    for (int y = 0; y < room.height; ++y) {
      if ((inkBits[static_cast<std::size_t>(y) * stride + x] & 0x00FFFFFFu) != 0x00FFFFFFu) return x + 1;
    }
  }
  return 0;
}

// The width a text's drawing takes: its advances, or as far as its ink reaches where that is
// further (the last glyph's overhang, ClearType's fringe), rounded up to whole logical pixels,
// so that a label of that width holds every pixel drawn and "to" never shows as "tc".
// NOTE: Wine measures some fonts (Liberation Sans, its stand-in for Verdana and Tahoma) by
// other advances than it draws them with, a few pixels apart over a line; only the drawn
// pixels tell.
int Win32Canvas::TextWidth(std::u16string_view text, const platform::Font& font) {
  if (text.empty()) return 0;
  UseFont(font);
  SIZE extent{0, 0};
  if (!GetTextExtentPoint32W(dc_, WideOf(text), LengthOf(text), &extent)) return 0;
  const platform::Size room{static_cast<int>(extent.cx) * 2 + static_cast<int>(extent.cy) + 8,
                            static_cast<int>(extent.cy) + 2};
  const int device = std::max(static_cast<int>(extent.cx), cache_.InkRight(cache_.Font(font), text, room));
  const int logical = scale_.Logical(device);
  return scale_.Device(logical) < device ? logical + 1 : logical;
}

void Win32Canvas::DrawPicture(const platform::Rect& target, const platform::Picture& picture,
                              platform::PictureTransparency transparency) {
  if (picture.IsEmpty() || target.IsEmpty()) return;
  const bool byAlpha = transparency == platform::PictureTransparency::Alpha && picture.HasAlpha();
  HBITMAP bitmap = cache_.Bitmap(picture, byAlpha);
  if (bitmap == nullptr) return;
  HDC source = cache_.PictureDc();
  HGDIOBJ previous = SelectObject(source, bitmap);
  const RECT box = Device(target);
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  if (byAlpha) {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc_, box.left, box.top, width, height, source, 0, 0, picture.Width(), picture.Height(), blend);
  } else if (transparency == platform::PictureTransparency::Color) {
    TransparentBlt(dc_, box.left, box.top, width, height, source, 0, 0, picture.Width(), picture.Height(),
                   ColorRefOf(picture.TransparentColor()));
  } else {
    StretchBlt(dc_, box.left, box.top, width, height, source, 0, 0, picture.Width(), picture.Height(), SRCCOPY);
  }
  SelectObject(source, previous);
}

// NOTE: DrawFocusRect inverts, so the mark shows on any background, and its border is as wide
// as the system's focus border setting (one pixel unless the user changed it).
void Win32Canvas::FocusRect(const platform::Rect& rect) {
  if (rect.IsEmpty()) return;
  const RECT box = Device(rect);
  DrawFocusRect(dc_, &box);
}

void Win32Canvas::PushOrigin(platform::Point origin) {
  origins_.push_back(origin_);
  origin_.x += origin.x;
  origin_.y += origin.y;
}

void Win32Canvas::PopOrigin() {
  if (origins_.empty()) return;
  origin_ = origins_.back();
  origins_.pop_back();
}

void Win32Canvas::PushClip(const platform::Rect& rect) {
  RECT box = Device(rect);
  box.right = std::max(box.right, box.left);
  box.bottom = std::max(box.bottom, box.top);
  if (!clips_.empty()) IntersectRect(&box, &box, &clips_.back());
  clips_.push_back(box);
  ApplyClip();
}

void Win32Canvas::PopClip() {
  if (clips_.empty()) return;
  clips_.pop_back();
  ApplyClip();
}

// The clip region is in buffer pixels, which our own origin keeps equal to the device's.
void Win32Canvas::ApplyClip() {
  if (clips_.empty()) {
    SelectClipRgn(dc_, nullptr);
    return;
  }
  HRGN region = CreateRectRgnIndirect(&clips_.back());
  SelectClipRgn(dc_, region);
  DeleteObject(region);
}

}  // namespace tasklane::win32
