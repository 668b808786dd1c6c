#include "support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace tasklane::testing {
namespace {

// An empty intersection keeps an empty rectangle at the cut's corner rather than a negative one.
platform::Rect Intersect(const platform::Rect& a, const platform::Rect& b) {
  platform::Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom)};
  r.right = std::max(r.right, r.left);
  r.bottom = std::max(r.bottom, r.top);
  return r;
}

}  // namespace

RecordingCanvas::RecordingCanvas(platform::Size size) : size_(size) { Clear(); }

void RecordingCanvas::Clear() {
  calls_.clear();
  clips_.assign(1, platform::Rect::FromBounds(0, 0, size_.width, size_.height));
  origins_.assign(1, platform::Point{});
}

platform::Rect RecordingCanvas::Shifted(const platform::Rect& rect) const {
  const platform::Point o = origins_.back();
  return {rect.left + o.x, rect.top + o.y, rect.right + o.x, rect.bottom + o.y};
}

platform::Point RecordingCanvas::Shifted(platform::Point point) const {
  return {point.x + origins_.back().x, point.y + origins_.back().y};
}

void RecordingCanvas::PushOrigin(platform::Point origin) { origins_.push_back(Shifted(origin)); }

void RecordingCanvas::PopOrigin() {
  if (origins_.size() == 1) {
    ADD_FAILURE() << "PopOrigin without a PushOrigin";
    return;
  }
  origins_.pop_back();
}

DrawCall& RecordingCanvas::Record(DrawKind kind) {
  DrawCall& call = calls_.emplace_back();
  call.kind = kind;
  call.clip = clips_.back();
  return call;
}

void RecordingCanvas::FillRect(const platform::Rect& rect, platform::Color color) {
  DrawCall& call = Record(DrawKind::FillRect);
  call.rect = Shifted(rect);
  call.color = color;
}

void RecordingCanvas::FocusRect(const platform::Rect& rect) { Record(DrawKind::FocusRect).rect = Shifted(rect); }

void RecordingCanvas::DrawPicture(const platform::Rect& target, const platform::Picture& picture,
                                  platform::PictureTransparency transparency) {
  DrawCall& call = Record(DrawKind::Picture);
  call.rect = Shifted(target);
  call.from = {picture.Width(), picture.Height()};
  call.transparency = transparency;
}

void RecordingCanvas::Line(platform::Point from, platform::Point to, platform::Color color) {
  DrawCall& call = Record(DrawKind::Line);
  call.from = Shifted(from);
  call.to = Shifted(to);
  call.color = color;
}

void RecordingCanvas::Text(const platform::Rect& rect, std::u16string_view text, const platform::Font& font,
                           platform::Color color, const platform::TextFormat& format) {
  DrawCall& call = Record(DrawKind::Text);
  call.rect = Shifted(rect);
  call.text = text;
  call.font = {std::u16string(font.family), font.pixelHeight, font.bold};
  call.color = color;
  call.format = format;
}

int RecordingCanvas::TextWidth(std::u16string_view text, const platform::Font& font) {
  return static_cast<int>(text.size()) * (font.bold ? 7 : 6);
}

void RecordingCanvas::PushClip(const platform::Rect& rect) {
  Record(DrawKind::PushClip).rect = Shifted(rect);
  clips_.push_back(Intersect(clips_.back(), Shifted(rect)));
}

void RecordingCanvas::PopClip() {
  if (clips_.size() == 1) {
    ADD_FAILURE() << "PopClip without a PushClip";
    return;
  }
  Record(DrawKind::PopClip);
  clips_.pop_back();
}

std::vector<DrawCall> RecordingCanvas::CallsOf(DrawKind kind) const {
  std::vector<DrawCall> found;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(found),
               [&](const DrawCall& call) { return call.kind == kind; });
  return found;
}

std::vector<std::u16string> RecordingCanvas::Texts() const {
  std::vector<std::u16string> texts;
  for (const DrawCall& call : calls_) {
    if (call.kind == DrawKind::Text) texts.push_back(call.text);
  }
  return texts;
}

const DrawCall* RecordingCanvas::FindText(std::u16string_view text) const {
  for (const DrawCall& call : calls_) {
    if (call.kind == DrawKind::Text && call.text == text) return &call;
  }
  return nullptr;
}

std::vector<DrawCall> RecordingCanvas::TextsContaining(std::u16string_view part) const {
  std::vector<DrawCall> found;
  for (const DrawCall& call : calls_) {
    if (call.kind == DrawKind::Text && call.text.find(part) != std::u16string::npos) found.push_back(call);
  }
  return found;
}

}  // namespace tasklane::testing
