// A canvas that draws nothing and records every drawing call in order, so that tests check the
// drawing rules by the operations rather than by pixels.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"

namespace tasklane::testing {

enum class DrawKind { FillRect, Line, Text, PushClip, PopClip, FocusRect, Picture };

// Font holds its family as a view; a record must outlive the caller's string.
struct RecordedFont {
  std::u16string family;
  int pixelHeight = 0;
  bool bold = false;
  friend bool operator==(const RecordedFont&, const RecordedFont&) = default;
};

struct DrawCall {
  DrawKind kind = DrawKind::FillRect;
  platform::Rect rect;                // FillRect, Text, PushClip, FocusRect, Picture (its target)
  platform::Point from;               // Line; the picture's width and height for Picture
  platform::Point to;                 // Line, not included
  std::u16string text;                // Text
  RecordedFont font;                  // Text
  platform::Color color;              // FillRect, Line, Text
  platform::TextFormat format;        // Text
  platform::Rect clip;                // the clip in force when the call came: the canvas, cut by every open PushClip
  platform::PictureTransparency transparency = platform::PictureTransparency::None;  // Picture
};

class RecordingCanvas : public platform::Canvas {
 public:
  // The surface a paint draws on; the clip starts as all of it.
  explicit RecordingCanvas(platform::Size size = {4096, 4096});

  void FillRect(const platform::Rect& rect, platform::Color color) override;
  void FocusRect(const platform::Rect& rect) override;
  // Recorded with the target as rect, the picture's size in `from` and its transparency.
  void DrawPicture(const platform::Rect& target, const platform::Picture& picture,
                   platform::PictureTransparency transparency) override;
  void Line(platform::Point from, platform::Point to, platform::Color color) override;
  void Text(const platform::Rect& rect, std::u16string_view text, const platform::Font& font, platform::Color color,
            const platform::TextFormat& format) override;
  // A fixed-width estimate that tests can compute by hand: 6 pixels per UTF-16 code unit,
  // 7 in bold, whatever the family and height. "&" counts like any other unit, as in the
  // system's text extent. Not recorded: it is a question, not drawing.
  int TextWidth(std::u16string_view text, const platform::Font& font) override;
  void PushClip(const platform::Rect& rect) override;
  // A PopClip without its PushClip fails the running test.
  void PopClip() override;
  void PushOrigin(platform::Point origin) override;
  void PopOrigin() override;

  const std::vector<DrawCall>& Calls() const { return calls_; }
  std::vector<DrawCall> CallsOf(DrawKind kind) const;
  // Every text drawn, in order.
  std::vector<std::u16string> Texts() const;
  // The first Text call drawing exactly `text`, or nullptr.
  const DrawCall* FindText(std::u16string_view text) const;
  // Every Text call whose text contains `part`.
  std::vector<DrawCall> TextsContaining(std::u16string_view part) const;
  bool HasText(std::u16string_view text) const { return FindText(text) != nullptr; }
  // PushClips still open; a finished paint leaves none.
  int OpenClips() const { return static_cast<int>(clips_.size()) - 1; }
  void Clear();

 private:
  DrawCall& Record(DrawKind kind);
  platform::Rect Shifted(const platform::Rect& rect) const;
  platform::Point Shifted(platform::Point point) const;

  platform::Size size_;
  std::vector<platform::Rect> clips_;  // the whole canvas first, then one per open PushClip
  std::vector<DrawCall> calls_;
  std::vector<platform::Point> origins_;  // all drawing is recorded in the canvas's own coordinates
};

}  // namespace tasklane::testing
