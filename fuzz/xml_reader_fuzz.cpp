// Feeds arbitrary bytes to the reader. Refusing them with XmlError is fine; any other
// exception, a crash or a sanitizer report is a finding. Whatever the reader accepts must
// also survive being written and read again: a list we save and then cannot open is lost.
// That holds for the names our lists use: names beyond ASCII are written as references,
// and a declaration's fields as they are, which no reader takes back; an attribute such as
// "a::" keeps neither prefix nor name. And the bytes, which the reader decodes a piece at a
// time as it goes, must read as the same text decoded in one go. A section of rows taken
// straight from the bytes must hold what the tree would have held.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "xml/Charsets.h"
#include "xml/XmlRows.h"
#include "xml/XmlTree.h"

namespace {

using tasklane::xml::XmlError;
using tasklane::xml::XmlElement;
using tasklane::xml::XmlNodeKind;
using tasklane::xml::XmlTree;

bool IsAscii(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 128; });
}

bool HasWritableNames(const XmlElement& node) {
  if (!IsAscii(node.Name()) || !IsAscii(node.NameSpace())) return false;
  if (node.Kind() == XmlNodeKind::Declaration &&
      (node.Version().find(u'"') != std::u16string::npos || node.Encoding().find(u'"') != std::u16string::npos)) {
    return false;
  }
  if (const auto* properties = node.PropertiesOrNull()) {
    for (const auto& p : *properties) {
      if (p.name.empty() || !IsAscii(p.name) || !IsAscii(p.nameSpace)) return false;
    }
  }
  for (int i = 0; i < node.Items().Count(); ++i) {
    if (!HasWritableNames(node.Items().ChildAt(i))) return false;
  }
  return true;
}

bool HasWritableNames(const XmlTree& tree) {
  for (int i = 0; i < tree.Prolog().Count(); ++i) {
    if (!HasWritableNames(tree.Prolog().ChildAt(i))) return false;
  }
  return HasWritableNames(tree.Root());
}

void ExpectReadsBack(XmlTree& tree) {
  std::string saved;
  try {
    saved = tree.SaveToBytes();
  } catch (const XmlError& e) {
    std::fprintf(stderr, "A list we read cannot be saved: %s\n", e.what());
    std::abort();
  }
  try {
    XmlTree again;
    again.LoadFromBytes(saved);
  } catch (const XmlError& e) {
    // The start of what we wrote is usually enough to see what went wrong.
    std::fprintf(stderr, "Our own output does not read back: %s\n--- output ---\n%.*s\n--- end ---\n", e.what(),
                 static_cast<int>(std::min<std::size_t>(saved.size(), 4096)), saved.data());
    std::abort();
  }
}

// Loads with `load`; what loads must save and read back.
template <typename Load>
void CheckLoad(Load load) {
  XmlTree tree;
  try {
    load(tree);
  } catch (const XmlError&) {
    return;
  }
  if (HasWritableNames(tree)) ExpectReadsBack(tree);
}

// The message a load fails with, or the text form of what it read.
template <typename Load>
std::string Outcome(Load load) {
  XmlTree tree;
  try {
    load(tree);
  } catch (const XmlError& e) {
    return std::string("failed: ") + e.what();
  }
  return tree.SaveToBytes();
}

// The reader decodes bytes a piece at a time as it goes. Where no declaration can change the
// charset (no "<?xml" at all, or only ASCII, which every charset reads alike) that must read
// exactly what the text decoded in one go reads.
void ExpectPiecesReadAsTheWhole(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return;
  const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char b) { return (b & 0x80) == 0; });
  if (!ascii && bytes.find("<?xml") != std::string_view::npos) return;
  std::u16string whole;
  tasklane::xml::AppendDecoded(tasklane::xml::DefaultCodePage(), bytes, whole);
  const std::string pieces = Outcome([&](XmlTree& tree) { tree.LoadFromBytes(bytes); });
  const std::string oneGo = Outcome([&](XmlTree& tree) { tree.LoadFromString(whole); });
  if (pieces != oneGo) {
    std::fprintf(stderr, "Decoding piece by piece reads otherwise:\n--- pieces ---\n%.*s\n--- one go ---\n%.*s\n",
                 static_cast<int>(std::min<std::size_t>(pieces.size(), 4096)), pieces.data(),
                 static_cast<int>(std::min<std::size_t>(oneGo.size(), 4096)), oneGo.data());
    std::abort();
  }
}

// What the rows took goes back into the tree as elements, and the outcome must be the same
// as reading without them.
void ExpectRowsReadAsTheTree(std::string_view bytes) {
  tasklane::xml::XmlRows rows(u"ToDoContent", "Column", "Text");
  const std::string withRows = Outcome([&](XmlTree& tree) {
    try {
      tree.LoadFromBytes(bytes, &rows);
    } catch (const XmlError&) {
      if (rows.Section()) throw;
      return;
    }
    for (int i = 0; rows.Section() && i < tree.Root().Items().Count(); ++i) {
      XmlElement& section = tree.Root().Items().ChildAt(i);
      if (&section != rows.Section()) continue;
      for (std::size_t r = 0; r < rows.RowCount(); ++r) {
        XmlElement& row = section.Items().Add(u"Column");
        for (std::u16string_view value : rows.Row(r)) row.Items().Add(u"Text", value);
      }
    }
  });
  if (!rows.Section()) return;
  const std::string plain = Outcome([&](XmlTree& tree) { tree.LoadFromBytes(bytes); });
  if (withRows != plain) {
    std::fprintf(stderr, "The rows read otherwise than the tree:\n--- rows ---\n%.*s\n--- tree ---\n%.*s\n",
                 static_cast<int>(std::min<std::size_t>(withRows.size(), 4096)), withRows.data(),
                 static_cast<int>(std::min<std::size_t>(plain.size(), 4096)), plain.data());
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckLoad([&](XmlTree& tree) { tree.LoadFromBytes(bytes); });
  ExpectPiecesReadAsTheWhole(bytes);
  ExpectRowsReadAsTheTree(bytes);

  // The same bytes taken as UTF-16 code units reach the parser without the decoder in
  // front, with lone surrogates and all.
  if (size % 2 == 0) {
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, size);
    CheckLoad([&](XmlTree& tree) { tree.LoadFromString(text); });
  }
  return 0;
}
