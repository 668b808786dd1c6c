// Loading ToDoList.xml. Each section has its own guard: a damaged section is reported and
// the others still load.
#include <algorithm>
#include <limits>
#include <stdexcept>

#include "mainwindow/ListFileNames.h"
#include "mainwindow/ToDoUnit.h"
#include "xml/XmlRows.h"

namespace tasklane::mainwindow {
namespace {

using xml::XmlElement;

// A missing child is a failure, which the section's guard reports.
XmlElement& Child(XmlElement& parent, std::u16string_view name) {
  XmlElement* child = parent.Items().ChildNamed(name);
  if (!child) throw std::runtime_error("missing element");
  return *child;
}

std::int64_t IntOf(XmlElement& parent, std::u16string_view name) { return Child(parent, name).IntValue(); }

// Pixel sizes beyond any screen would only make the window system choke.
int ClampPixels(std::int64_t value, int lowest) {
  return static_cast<int>(std::clamp<std::int64_t>(value, lowest, maxPixels));
}

// The cells a file of this size can hold, and never more than a grid can count.
std::int64_t CellBudget(std::size_t fileBytes) {
  const std::int64_t budget = static_cast<std::int64_t>(fileBytes / bytesPerCell);
  return std::min<std::int64_t>(std::max(budget, smallestCellBudget), std::numeric_limits<int>::max() - 1);
}

// A count below one means the grid's floor of one; raising it first also keeps a huge negative
// count from overflowing the product. Each count has been bounded by the budget before.
bool TooManyCells(std::int64_t rows, std::int64_t cols, std::int64_t budget) {
  return cols > budget || std::max<std::int64_t>(cols, 1) * std::max<std::int64_t>(rows, 1) > budget;
}

}  // namespace

void TToDoForm::XMLLaden(const std::filesystem::path& file) {
  listFileUnreadable_ = false;
  Guarded(u"XMLloadToDoList", Team::Quillbox, [&] {
    XmlDoc.Root().SetName(u"ToDoList");
    // The task rows of a large list are most of the file; they go to the table without a
    // node each.
    xml::XmlRows content(u"ToDoContent", "Column", "Text");
    std::string bytes;  // the rows are decoded from them
    try {
      NoteLoadedList(file);
      bytes = platform_.FileSystem().ReadWhole(file);
      recovery_.list = FingerprintOf(bytes);
      XmlDoc.LoadFromBytes(bytes, &content);
    } catch (...) {
      listFileUnreadable_ = true;
      throw;
    }
    XmlElement& root = XmlDoc.Root();
    LoadWindowPosition(root);
    LoadColumnInfo(root, CellBudget(bytes.size()));
    LoadSkinSection(root);
    LoadColumnHeader(root);
    LoadToDoContent(root, content);

    if (ToDoGrid.ColCount() == 1) {
      ToDoGrid.SetScrollBars(ui::ScrollBars::Vertical);
      SetActiveControl(&ButtonForFocus);
      SetActiveControl(&ToDoGrid);
    } else {
      ToDoGrid.SetScrollBars(ui::ScrollBars::Both);
    }
    ToDoGrid.Repaint();
  });
  // The table holds everything now, and saving builds its tree anew: a large list need not
  // be kept twice.
  XmlDoc.Clear();
  // A file that could not be read leaves the design table, whose columns still need an
  // alignment each.
  ResizeColumnAlignments();
}

// A failure centres the window at its design size before the report is shown.
void TToDoForm::LoadWindowPosition(XmlElement& root) {
  const platform::Size screen = platform_.PrimaryScreenSize();
  const int width = ClientWidth();
  const int height = ClientHeight();
  try {
    XmlElement& position = Child(root, u"WindowPosition");
    const std::int64_t l = IntOf(position, u"Left");
    const std::int64_t t = IntOf(position, u"Top");
    const std::int64_t w = IntOf(position, u"Width");
    const std::int64_t h = IntOf(position, u"Height");
    const platform::Rect desktop = platform_.VirtualDesktop();
    const bool leftInside = desktop.left - width < l && l < desktop.right - 10;
    const bool topInside = desktop.top - height < t && t < desktop.bottom - 10;
    SetBounds(leftInside ? static_cast<int>(l) : CentredStart(screen.width, width),
              topInside ? static_cast<int>(t) : CentredStart(screen.height, height),
              w < Values.FoldedClientWidth ? 370 : ClampPixels(w, 0), h < 50 ? 211 : ClampPixels(h, 0));
  } catch (...) {
    SetBounds(CentredStart(screen.width, width), CentredStart(screen.height, height), 370, 211);
    ErrorReport(u"Load WindowPosition", Team::Quillbox);
  }
}

void TToDoForm::LoadColumnInfo(XmlElement& root, std::int64_t cellBudget) {
  std::int64_t rows = 0;
  std::int64_t cols = 0;
  const bool loaded = Guarded(u"Load ColumnInfo", Team::Quillbox, [&] {
    XmlElement& info = Child(root, u"ColumnInfo");
    const std::int64_t r = IntOf(info, u"RowCount");
    if (r > cellBudget) throw std::out_of_range("row count");
    rows = r;
    ToDoGrid.SetRowCount(static_cast<int>(std::max<std::int64_t>(r, -1) + 1));
    const std::int64_t c = IntOf(info, u"ColumnCount");
    if (TooManyCells(r, c, cellBudget)) throw std::out_of_range("column count");
    cols = c;
    ToDoGrid.SetColCount(static_cast<int>(std::max<std::int64_t>(c, 0)));
    ResizeColumnAlignments();
    if (XmlElement* bold = info.Items().ChildNamed(u"HeaderTextBold")) SetHeaderTextBold(bold->Value() == u"TRUE");
    if (XmlElement* lines = info.Items().ChildNamed(u"DrawGridLines")) SetDrawGridLines(lines->Value() == u"TRUE");
    ToDoGrid.Repaint();
  });
  if (loaded) return;
  ToDoGrid.SetRowCount(static_cast<int>((rows == 0 ? 5 : std::max<std::int64_t>(rows, -1)) + 1));
  ToDoGrid.SetColCount(static_cast<int>(cols == 0 ? 3 : std::max<std::int64_t>(cols, 0)));
  ResizeColumnAlignments();
  SetHeaderTextBold(false);
  SetDrawGridLines(true);
  ToDoGrid.Repaint();
}

void TToDoForm::LoadSkinSection(XmlElement& root) {
  XmlElement* skin = root.Items().ChildNamed(u"Skin");
  if (!skin) return;
  Guarded(u"Load Skin", Team::Quillbox, [&] {
    if (XmlElement* name = skin->Items().ChildNamed(u"SkinName")) {
      Values.CurrentSkinName = name->Value();
      if (name->Value() == u"No Skin") Values.CurrentSkinPath.clear();
    }
    if (XmlElement* path = skin->Items().ChildNamed(u"SkinPath")) {
      const std::u16string folder = std::u16string(path->Value()) + Values.CurrentSkinName;
      if (platform_.FileSystem().FolderExists(std::filesystem::path(folder))) {
        Values.CurrentSkinPath = path->Value();
        loadSkin();
      } else {
        Values.CurrentSkinName = u"No Skin";
        Values.CurrentSkinPath.clear();
      }
    }
  });
}

void TToDoForm::LoadColumnHeader(XmlElement& root) {
  Guarded(u"Load ColumnHeader", Team::Quillbox, [&] {
    xml::XmlElementList& columns = Child(root, u"ColumnHeader").Items();
    for (int i = 0; i < columns.Count(); ++i) {
      XmlElement& column = columns.ChildAt(i);
      ToDoGrid.SetColWidth(i, ClampPixels(IntOf(column, u"ColumnWidth"), 2));
      AppendToRow(0, Child(column, u"ColumnCaption").Value());
      const std::u16string_view alignment = Child(column, u"ColumnAlignment").Value();
      Values.ColumnAlignments[static_cast<std::size_t>(i)] =
          alignment == u"CENTER" ? ALIGNCENTER : alignment == u"RIGHT" ? ALIGNRIGHT : ALIGNLEFT;
    }
  });
}

void TToDoForm::LoadToDoContent(XmlElement& root, xml::XmlRows& content) {
  Guarded(u"Load ToDoContent", Team::Quillbox, [&] {
    XmlElement& section = Child(root, u"ToDoContent");
    if (content.Section() == &section) {
      for (std::size_t i = 0; i < content.RowCount(); ++i) AppendToRow(static_cast<int>(i + 1), content.Row(i));
      return;
    }
    xml::XmlElementList& rows = section.Items();
    std::vector<std::u16string_view> values;
    for (int i = 0; i < rows.Count(); ++i) {
      xml::XmlElementList& texts = rows.ChildAt(i).Items();
      values.clear();
      for (int j = 0; j < texts.Count(); ++j) values.push_back(texts.ChildAt(j).Value());
      AppendToRow(i + 1, values);
    }
  });
}

}  // namespace tasklane::mainwindow
