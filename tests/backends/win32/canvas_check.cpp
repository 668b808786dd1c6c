// The GDI canvas draws what the core asks for: each check draws into the back buffer on a
// plain background and reads pixels back. Prints every failed check; exits 1 when any failed.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include "backends/win32/win32_canvas.h"

namespace {

using namespace tasklane;
using platform::Color;
using platform::MakeArgb;
using platform::PictureTransparency;
using platform::Rect;

int failures = 0;

void Expect(bool ok, const char* what) {
  if (ok) return;
  std::printf("FAILED: %s\n", what);
  ++failures;
}

const Color background{10, 20, 30};
const Color red{255, 0, 0};

COLORREF Ref(Color c) { return RGB(c.red, c.green, c.blue); }

// A canvas of 64 x 64 device pixels on the background, for one check at a time.
struct Frame {
  win32::GdiCache cache;
  HDC screen = GetDC(nullptr);
  win32::Win32Canvas canvas;
  explicit Frame(int dpi = 96) : cache(dpi), canvas(screen, platform::Size{64, 64}, cache) {
    canvas.FillRect(Rect{0, 0, 64, 64}, background);
  }
  ~Frame() { ReleaseDC(nullptr, screen); }
  COLORREF At(int x, int y) const { return GetPixel(canvas.BufferDC(), x, y); }
  bool Plain(const Rect& r) const {  // nothing but background inside r
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (At(x, y) != Ref(background)) return false;
    return true;
  }
};

void Shapes() {
  Frame f;
  f.canvas.FillRect(Rect{2, 2, 6, 6}, red);
  Expect(f.At(5, 5) == Ref(red) && f.At(6, 5) == Ref(background), "a filled rectangle ends before its right edge");
  f.canvas.Line({10, 10}, {20, 10}, red);
  Expect(f.At(19, 10) == Ref(red) && f.At(20, 10) == Ref(background), "a line leaves out its end point");
  f.canvas.Line({30, 30}, {35, 35}, red);
  Expect(f.At(34, 34) == Ref(red) && f.At(35, 35) == Ref(background), "a slanted line leaves out its end point");
  f.canvas.PushOrigin({40, 40});
  f.canvas.PushClip(Rect{0, 0, 5, 5});
  f.canvas.PushOrigin({2, 2});
  f.canvas.FillRect(Rect{0, 0, 10, 10}, red);
  f.canvas.PopOrigin();
  f.canvas.PopClip();
  f.canvas.PopOrigin();
  Expect(f.At(42, 42) == Ref(red) && f.At(44, 44) == Ref(red), "origins add up");
  Expect(f.At(45, 44) == Ref(background) && f.At(44, 45) == Ref(background), "a clip holds in its own origin");
  f.canvas.FillRect(Rect{50, 50, 52, 52}, red);
  Expect(f.At(51, 51) == Ref(red), "a popped clip limits nothing");
  f.canvas.FocusRect(Rect{2, 20, 12, 30});
  Expect(!f.Plain(Rect{2, 20, 12, 21}) && f.Plain(Rect{3, 22, 11, 28}), "a focus mark runs along the inside only");
}

void Texts() {
  Frame f;
  const platform::Font font{u"Tahoma", 17, false};
  const int one = f.canvas.TextWidth(u"W", font);
  Expect(one > 0 && f.canvas.TextWidth(u"WW", font) == 2 * one, "text widths add up");
  Expect(win32::ScaledFontHeight(17, 96) == 14 && win32::ScaledFontHeight(17, 120) == 17, "heights scale from 120 dpi");
  f.canvas.Text(Rect{10, 10, 30, 30}, u"WWWWWWWWWW", font, red, platform::TextFormat{});
  Expect(!f.Plain(Rect{10, 10, 30, 30}), "text leaves ink in its rectangle");
  Expect(f.Plain(Rect{30, 0, 64, 40}) && f.Plain(Rect{0, 30, 64, 40}), "text is clipped to its rectangle");
}

// Where the ink of `text` ends, drawn at the left of a fresh frame.
int InkEnd(std::u16string_view text, bool mnemonics) {
  Frame f;
  f.canvas.Text(Rect{0, 0, 64, 30}, text, platform::Font{}, red, platform::TextFormat{.showMnemonics = mnemonics});
  for (int x = 63; x >= 0; --x)
    if (!f.Plain(Rect{x, 0, x + 1, 30})) return x;
  return -1;
}

void Mnemonics() {
  Expect(InkEnd(u"&W", true) <= InkEnd(u"W", false) + 1, "a mnemonic's ampersand is not drawn");
  Expect(InkEnd(u"&W", false) > InkEnd(u"W", false) + 3, "without mnemonics the ampersand is drawn");
  Expect(InkEnd(u"a&&b", true) == InkEnd(u"a&b", false), "two ampersands draw one");
  Frame f;
  f.canvas.Text(Rect{0, 0, 30, 64}, u"W", platform::Font{}, red, platform::TextFormat{});
  Expect(f.Plain(Rect{0, 0, 30, 20}) && !f.Plain(Rect{0, 20, 30, 44}), "a line is centred vertically");
  f.canvas.Text(Rect{30, 0, 64, 64}, u"W", platform::Font{}, red, platform::TextFormat{.verticalCenter = false});
  Expect(!f.Plain(Rect{30, 0, 64, 20}), "a line may stand at the top");
}

// Red and green on top, blue and white below; the green one's alpha as given.
platform::Picture FourColours(std::uint8_t greenAlpha) {
  return platform::Picture(2, 2, {MakeArgb(255, 255, 0, 0), MakeArgb(greenAlpha, 0, 255, 0), MakeArgb(255, 0, 0, 255),
                                  MakeArgb(255, 255, 255, 255)},
                           greenAlpha != 255);
}

void Pictures() {
  Frame f;
  f.canvas.DrawPicture(Rect::FromBounds(4, 4, 4, 4), FourColours(255), PictureTransparency::None);
  Expect(f.At(5, 5) == RGB(255, 0, 0) && f.At(6, 5) == RGB(0, 255, 0) && f.At(7, 7) == RGB(255, 255, 255),
         "a stretched picture takes the nearest pixel");
  Expect(f.At(8, 8) == Ref(background), "a picture stays inside its target");
  f.canvas.DrawPicture(Rect::FromBounds(10, 4, 2, 2), FourColours(128), PictureTransparency::Alpha);
  const COLORREF half = f.At(11, 4);
  Expect(f.At(10, 4) == RGB(255, 0, 0) && GetGValue(half) > 120 && GetGValue(half) < 140 && GetBValue(half) > 10,
         "alpha blends a picture over what lies below");
  f.canvas.DrawPicture(Rect::FromBounds(14, 4, 2, 2), FourColours(128), PictureTransparency::None);
  Expect(f.At(15, 4) == RGB(0, 255, 0), "opaque drawing ignores alpha");
  // Blue, the lower-left colour, is left out wherever it is.
  const platform::Picture keyed(2, 2, {MakeArgb(255, 0, 0, 255), MakeArgb(255, 255, 0, 0), MakeArgb(255, 0, 0, 255),
                                       MakeArgb(255, 0, 255, 0)});
  f.canvas.DrawPicture(Rect::FromBounds(20, 4, 4, 4), keyed, PictureTransparency::Color);
  Expect(f.At(20, 4) == Ref(background) && f.At(21, 7) == Ref(background), "the transparent colour lets the background show");
  Expect(f.At(23, 4) == RGB(255, 0, 0) && f.At(23, 7) == RGB(0, 255, 0), "the other colours are drawn");
  // Another picture of the same size in the same place is drawn as itself, not as the one before.
  std::optional<platform::Picture> slot(std::in_place, 1, 1, std::vector<platform::Argb>{MakeArgb(255, 255, 0, 0)});
  f.canvas.DrawPicture(Rect::FromBounds(30, 4, 1, 1), *slot, PictureTransparency::None);
  slot.reset();  // frees the pixels first, so that the new ones may well take their memory
  slot.emplace(1, 1, std::vector<platform::Argb>{MakeArgb(255, 0, 0, 255)});
  f.canvas.DrawPicture(Rect::FromBounds(30, 4, 1, 1), *slot, PictureTransparency::None);
  Expect(f.At(30, 4) == RGB(0, 0, 255), "a changed picture is drawn anew");
}

// At 192 dpi every logical pixel is two by two, text included, and widths stay logical.
void Scaled() {
  Frame f(192);
  f.canvas.PushOrigin({2, 2});
  f.canvas.FillRect(Rect{0, 0, 2, 2}, red);
  f.canvas.Line({0, 10}, {3, 10}, red);
  f.canvas.PushClip(Rect{10, 0, 12, 2});
  f.canvas.FillRect(Rect{8, 0, 20, 20}, red);
  f.canvas.PopClip();
  f.canvas.PopOrigin();
  Expect(f.At(4, 4) == Ref(red) && f.At(7, 7) == Ref(red) && f.At(8, 8) == Ref(background), "rectangles are scaled");
  Expect(f.At(4, 24) == Ref(red) && f.At(9, 25) == Ref(red) && f.At(10, 24) == Ref(background) &&
             f.At(4, 26) == Ref(background),
         "a line is one logical pixel thick");
  Expect(f.At(24, 4) == Ref(red) && f.At(27, 7) == Ref(red) && f.At(28, 4) == Ref(background) &&
             f.At(24, 8) == Ref(background),
         "clips are scaled");
  const platform::Font font{u"Tahoma", 17, false};
  Frame normal;
  const int wide = f.canvas.TextWidth(u"WWWWWWWW", font);
  const int narrow = normal.canvas.TextWidth(u"WWWWWWWW", font);
  Expect(wide >= narrow - 4 && wide <= narrow + 4, "text widths are logical pixels");
  Frame inked(192);
  inked.canvas.Text(Rect{0, 0, 32, 32}, u"W", font, red, platform::TextFormat{.verticalCenter = false});
  Expect(!inked.Plain(Rect{0, 14, 64, 20}), "text is drawn at the screen's size");
}

// A label sizes itself to the width the canvas measures and is drawn inside it: at every
// resolution the ink of the guide's texts ends within that width. Drawn into a wider box, so
// that nothing is clipped and ink past the width shows.
void MeasuredTextHoldsItsInk() {
  const platform::Font large{u"Verdana", 12, false};
  const platform::Font small{u"Verdana", 10, false};
  const std::pair<const char16_t*, platform::Font> texts[] = {
      {u"Click on the red bar to", large},         {u"Right click anywhere to", large},
      {u"More information here:", large},          {u"shrink 'Tasklane' to a small", large},
      {u"or remove columns / rows", large},        {u"open a menu with more", large},
      {u"and test it for free!", small},           {u"tool for making and storing quick notes.", small}};
  const platform::TextFormat format{.verticalCenter = false, .showMnemonics = false};
  for (const int dpi : {96, 144, 192}) {
    win32::GdiCache cache(dpi);
    HDC screen = GetDC(nullptr);
    {
      win32::Win32Canvas canvas(screen, platform::Size{900, 80}, cache);
      for (const auto& [text, font] : texts) {
        canvas.FillRect(Rect{0, 0, 900, 80}, background);
        const int width = canvas.TextWidth(text, font);
        canvas.Text(Rect{0, 0, width + 100, 40}, text, font, red, format);
        const int edge = MulDiv(width, dpi, 96);  // the label's right edge in device pixels
        bool inkBeyond = false;
        for (int y = 0; y < MulDiv(40, dpi, 96) && !inkBeyond; ++y)
          for (int x = edge; x < edge + MulDiv(60, dpi, 96) && !inkBeyond; ++x)
            inkBeyond = GetPixel(canvas.BufferDC(), x, y) != Ref(background);
        if (inkBeyond) std::printf("  at %d dpi: \"%ls\"\n", dpi, reinterpret_cast<const wchar_t*>(text));
        Expect(!inkBeyond, "a text's ink ends within its measured width");
      }
    }
    ReleaseDC(nullptr, screen);
  }
}

void Copying() {
  Frame f;
  f.canvas.FillRect(Rect{0, 0, 3, 3}, red);
  HDC target = CreateCompatibleDC(f.screen);
  HBITMAP bitmap = CreateCompatibleBitmap(f.screen, 64, 64);
  HGDIOBJ previous = SelectObject(target, bitmap);
  f.canvas.CopyTo(target);
  Expect(GetPixel(target, 2, 2) == RGB(255, 0, 0) && GetPixel(target, 3, 3) == Ref(background), "the buffer is copied");
  SelectObject(target, previous);
  DeleteObject(bitmap);
  DeleteDC(target);
}

}  // namespace

int main() {
  Shapes();
  Texts();
  Mnemonics();
  Pictures();
  Scaled();
  MeasuredTextHoldsItsInk();
  Copying();
  std::printf("%s\n", failures == 0 ? "all canvas checks passed" : "some canvas checks failed");
  return failures == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
