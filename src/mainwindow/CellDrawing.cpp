// Drawing the inside of each cell: titles centred on the header colour, task texts on white
// by their column's alignment.
#include "mainwindow/ToDoUnit.h"

namespace tasklane::mainwindow {
namespace {

constexpr platform::Color white{255, 255, 255};

// A cell holds one line; a line break loaded from a file shows as a pilcrow in its place.
std::u16string OneLine(std::u16string_view text) {
  std::u16string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    line += text[i] == u'\r' || text[i] == u'\n' ? u'\u00b6' : text[i];
  }
  return line;
}

}  // namespace

void TToDoForm::ToDoGridDrawCell(platform::Canvas& canvas, int col, int row, const platform::Rect& rect,
                                 const ui::CellPreparation& prep) {
  Guarded(u"DrawCell", Team::Quillbox, [&] {
    const std::u16string text = OneLine(ToDoGrid.Cell(col, row));
    canvas.FillRect(rect, prep.brush);
    platform::TextFormat format;  // one line, vertically centred
    // A task's "&" is an ampersand, as in the editor and the file, not an accelerator.
    format.showMnemonics = false;
    platform::Font font = prep.font;
    if (row != 0) {
      canvas.FillRect(rect, white);
      const TCellAlignment alignment =
          static_cast<std::size_t>(col) < Values.ColumnAlignments.size() ? Values.ColumnAlignments[static_cast<std::size_t>(col)]
                                                                         : ALIGNLEFT;
      format.align = alignment == ALIGNCENTER  ? platform::TextAlign::Center
                     : alignment == ALIGNRIGHT ? platform::TextAlign::Right
                                               : platform::TextAlign::Left;
    } else {
      if (HeaderTextBold()) font.bold = true;
      font.pixelHeight = ToDoGrid.Font.pixelHeight;
      format.align = platform::TextAlign::Center;
    }
    canvas.PushClip(rect);
    canvas.Text(rect, text, font, prep.fontColor, format);
    canvas.PopClip();
  });
}

}  // namespace tasklane::mainwindow
