// What painting the grid costs as the table grows: the same window shows the same rows, so
// a table of 100 000 rows must paint as fast as one of 10.
#include <benchmark/benchmark.h>

#include "ui/StringGrid.h"

namespace {

using tasklane::platform::Rect;

// Counts the calls and draws nothing: the grid's own work is what is measured.
class NullCanvas : public tasklane::platform::Canvas {
 public:
  void FillRect(const Rect&, tasklane::platform::Color) override { ++calls; }
  void Line(tasklane::platform::Point, tasklane::platform::Point, tasklane::platform::Color) override { ++calls; }
  void Text(const Rect&, std::u16string_view, const tasklane::platform::Font&, tasklane::platform::Color,
            const tasklane::platform::TextFormat&) override {
    ++calls;
  }
  int TextWidth(std::u16string_view text, const tasklane::platform::Font&) override {
    return 7 * static_cast<int>(text.size());
  }
  void DrawPicture(const Rect&, const tasklane::platform::Picture&, tasklane::platform::PictureTransparency) override {
    ++calls;
  }
  void FocusRect(const Rect&) override { ++calls; }
  void PushOrigin(tasklane::platform::Point) override {}
  void PopOrigin() override {}
  void PushClip(const Rect&) override {}
  void PopClip() override {}
  long calls = 0;
};

class NoClipboard : public tasklane::platform::Clipboard {
 public:
  std::u16string Text() override { return {}; }
  void SetText(std::u16string_view) override {}
};

void PaintGrid(benchmark::State& state) {
  NoClipboard clipboard;
  tasklane::ui::StringGrid grid(u"ToDoGrid", nullptr, 3, static_cast<int>(state.range(0)), clipboard);
  grid.SetBounds(Rect::FromBounds(30, 30, 310, 400));
  for (int row = 0; row < grid.RowCount(); ++row) grid.SetCell(1, row, u"a task of some length");
  grid.ScrollView(true, grid.RowCount() / 2);  // somewhere in the middle
  NullCanvas canvas;
  for (auto _ : state) {
    grid.Paint(canvas, true);
    benchmark::DoNotOptimize(canvas.calls);
  }
  state.counters["draw_calls"] = benchmark::Counter(static_cast<double>(canvas.calls) / state.iterations());
}

BENCHMARK(PaintGrid)->Arg(10)->Arg(100'000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
