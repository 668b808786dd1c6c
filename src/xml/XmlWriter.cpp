#include "xml/XmlWriter.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "xml/Charsets.h"
#include "xml/XmlEscape.h"

namespace tasklane::xml {
namespace {

class Writer {
 public:
  Writer(const ByteSink& sink, const Charset& charset, std::u16string_view indent)
      : sink_(sink), charset_(charset), indent_(indent) {}
  ~Writer() = default;

  void WriteNode(const XmlElement& top, int level);
  // An element with no attributes, written on its own line: its start tag alone when children
  // follow, otherwise complete with its value.
  void WriteElementLine(std::u16string_view name, std::u16string_view value, int level, bool hasChildren) {
    WriteElementLine(level, hasChildren, value, [&] { PutEscaped(name); }, nullptr);
  }
  void WriteEndTagLine(std::u16string_view name, int level) {
    WriteEndTagLine(level, [&] { PutEscaped(name); });
  }
  void Flush() {
    if (used_ > 0) sink_(std::string_view(buffer_.get(), used_));
    used_ = 0;
  }

  // Bytes padded with zeros to a fixed size, so that a short piece is copied at that size:
  // one instruction or two instead of a call.
  struct Piece {
    static constexpr std::size_t kPadded = 32;
    explicit Piece(std::string made = {}) : length(made.size()), bytes(std::move(made)) {
      bytes.resize(std::max(length, kPadded), '\0');
    }
    std::size_t length;
    std::string bytes;
  };
  void PutPiece(const Piece& piece) {
    if (piece.length > Piece::kPadded || kBufferBytes - used_ < Piece::kPadded) {
      PutBytes(std::string_view(piece.bytes).substr(0, piece.length));
      return;
    }
    std::memcpy(buffer_.get() + used_, piece.bytes.data(), Piece::kPadded);
    used_ += piece.length;
  }

  // The lines of an element without attributes, made once for a name at a level by the
  // functions above: a long list writes the same few over and over.
  struct Lines {
    std::u16string name;
    int level = -1;
    Piece startTag;  // a start tag whose children follow, as a line
    Piece endTag;    // the end tag, as a line
    Piece empty;     // an element with neither value nor children
    Piece open;      // before a value
    Piece close;     // after a value
  };
  Lines MakeLines(std::u16string_view name, int level) const;
  // As WriteElementLine(name, value, level, false).
  void WriteLeafLine(const Lines& lines, std::u16string_view value) {
    if (value.empty()) {
      PutPiece(lines.empty);
      return;
    }
    PutPiece(lines.open);
    PutEscaped(value);
    PutPiece(lines.close);
  }

  void PutBytes(std::string_view bytes) {
    if (kBufferBytes - used_ < bytes.size()) Flush();
    if (kBufferBytes < bytes.size()) {
      sink_(bytes);
      return;
    }
    std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }

 private:
  bool WriteOpening(const XmlElement& node, int level);
  template <typename PutName>
  void WriteElementLine(int level, bool hasChildren, std::u16string_view value, PutName putName,
                        const XmlElement* withAttributes);
  template <typename PutName>
  void WriteEndTagLine(int level, PutName putName);
  void WriteDeclaration(const XmlElement& declaration);
  void WriteAttributes(const XmlElement& node);
  void WriteQualifiedName(const XmlElement& element);

  void Put(char c) {
    if (used_ == kBufferBytes) Flush();
    buffer_[used_++] = c;
  }
  void PutAscii(std::string_view text) {
    for (char c : text) Put(c);
  }
  void PutRaw(std::u16string_view text);
  // Straight into the buffer, as much at a time as surely fits, without a check per byte.
  void PutEscaped(std::u16string_view text) {
    while (!text.empty()) {
      if (kBufferBytes - used_ < maxEscapedBytes) Flush();
      const std::size_t count = std::min(text.size(), (kBufferBytes - used_) / maxEscapedBytes);
      char* out = buffer_.get() + used_;
      for (const char16_t c : text.substr(0, count)) {
        if (c < 128) {
          std::memcpy(out, escapedAscii[c].bytes, maxEscapedBytes);
          out += escapedAscii[c].length;
        } else {
          out = EscapeInto(c, out);
        }
      }
      used_ = static_cast<std::size_t>(out - buffer_.get());
      text.remove_prefix(count);
    }
  }
  void PutIndent(int level) {
    if (indent_.empty()) return;
    for (int i = 0; i < level; ++i) PutRaw(indent_);
  }
  void EndLine() { PutAscii("\r\n"); }

  const ByteSink& sink_;
  const Charset& charset_;
  std::u16string_view indent_;
  // Large enough that a file takes its pieces as they come, without gathering them first.
  static constexpr std::size_t kBufferBytes = 64 * 1024;
  std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(kBufferBytes);
  std::size_t used_ = 0;
  std::string scratch_;
};

Writer::Lines Writer::MakeLines(std::u16string_view name, int level) const {
  auto bytesOf = [&](const auto& write) {
    std::string bytes;
    const ByteSink sink = [&](std::string_view piece) { bytes.append(piece); };
    Writer writer(sink, charset_, indent_);
    write(writer);
    writer.Flush();
    return bytes;
  };
  Lines lines{std::u16string(name), level, Piece(), Piece(), Piece(), Piece(), Piece()};
  lines.startTag = Piece(bytesOf([&](Writer& w) { w.WriteElementLine(name, {}, level, true); }));
  lines.endTag = Piece(bytesOf([&](Writer& w) { w.WriteEndTagLine(name, level); }));
  lines.empty = Piece(bytesOf([&](Writer& w) { w.WriteElementLine(name, {}, level, false); }));
  lines.open = Piece(bytesOf([&](Writer& w) {
    w.PutIndent(level);
    w.Put('<');
    w.PutEscaped(name);
    w.Put('>');
  }));
  lines.close = Piece(bytesOf([&](Writer& w) {
    w.PutAscii("</");
    w.PutEscaped(name);
    w.Put('>');
    w.EndLine();
  }));
  return lines;
}

// Text written as it is, in the output charset. A run beyond ASCII goes to the charset in
// one piece, so that a surrogate pair stays one character.
void Writer::PutRaw(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] < 0x80) {
      Put(static_cast<char>(text[i]));
      continue;
    }
    std::size_t end = i + 1;
    while (end < text.size() && text[end] >= 0x80) ++end;
    scratch_.clear();
    AppendEncoded(charset_, text.substr(i, end - i), scratch_);
    for (char byte : scratch_) Put(byte);
    i = end - 1;
  }
}

void Writer::WriteQualifiedName(const XmlElement& element) {
  if (!element.NameSpace().empty()) {
    PutEscaped(element.NameSpace());
    PutEscaped(u":");
  }
  PutEscaped(element.Name());
}

void Writer::WriteAttributes(const XmlElement& node) {
  const XmlPropertyList* properties = node.PropertiesOrNull();
  if (!properties) return;
  for (const XmlProperty& p : *properties) {
    Put(' ');
    if (!p.nameSpace.empty()) {
      PutRaw(p.nameSpace);
      Put(':');
    }
    PutRaw(p.name);
    PutAscii("=\"");
    PutEscaped(p.value);
    Put('"');
  }
}

void Writer::WriteDeclaration(const XmlElement& declaration) {
  PutAscii("<?xml version=\"");
  PutRaw(declaration.Version());
  Put('"');
  if (!declaration.Encoding().empty()) {
    PutAscii(" encoding=\"");
    PutRaw(declaration.Encoding());
    Put('"');
  }
  if (declaration.StandAlone()) PutAscii(" standalone=\"yes\"");
  PutAscii("?>");
}

template <typename PutName>
void Writer::WriteElementLine(int level, bool hasChildren, std::u16string_view value, PutName putName,
                              const XmlElement* withAttributes) {
  PutIndent(level);
  Put('<');
  putName();
  if (withAttributes) WriteAttributes(*withAttributes);
  if (hasChildren) {
    Put('>');
  } else if (value.empty()) {
    PutAscii("/>");
  } else {
    Put('>');
    PutEscaped(value);
    PutAscii("</");
    putName();
    Put('>');
  }
  EndLine();
}

template <typename PutName>
void Writer::WriteEndTagLine(int level, PutName putName) {
  PutIndent(level);
  PutAscii("</");
  putName();
  Put('>');
  EndLine();
}

// Writes what stands before a node's children; true when its children are to follow.
bool Writer::WriteOpening(const XmlElement& node, int level) {
  const std::u16string_view value = node.Value();
  switch (node.Kind()) {
    case XmlNodeKind::Element: {
      const bool hasChildren = node.HasItems();
      if (node.Name().empty()) return hasChildren;
      WriteElementLine(level, hasChildren, value, [&] { WriteQualifiedName(node); }, &node);
      return hasChildren;
    }
    case XmlNodeKind::TextRun:
      if (value.empty()) return false;
      PutIndent(level);
      PutEscaped(value);
      break;
    case XmlNodeKind::Comment:
      PutIndent(level);
      PutAscii("<!--");
      PutRaw(value);
      PutAscii("-->");
      break;
    case XmlNodeKind::CDataSection:
      PutIndent(level);
      PutAscii("<![CDATA[");
      PutRaw(value);
      PutAscii("]]>");
      break;
    case XmlNodeKind::Declaration:
      PutIndent(level);
      WriteDeclaration(node);
      break;
    case XmlNodeKind::DocumentType:
      PutIndent(level);
      PutAscii("<!DOCTYPE ");
      PutRaw(value);
      Put('>');
      break;
    case XmlNodeKind::StylesheetInstruction:
      PutIndent(level);
      PutAscii("<?xml-stylesheet");
      WriteAttributes(node);
      PutAscii("?>");
      break;
    case XmlNodeKind::MsoApplicationInstruction:
      PutIndent(level);
      PutAscii("<?mso-application");
      WriteAttributes(node);
      PutAscii("?>");
      break;
  }
  EndLine();
  return false;
}

// Depth-first with a stack of our own: a tree built by a program may be nested far deeper
// than the call stack could follow.
void Writer::WriteNode(const XmlElement& top, int level) {
  struct Frame {
    const XmlElement* element;
    int level;
    int next;
  };
  std::vector<Frame> stack;
  if (WriteOpening(top, level)) stack.push_back({&top, level, 0});
  while (!stack.empty()) {
    Frame& frame = stack.back();
    const XmlElementList& children = frame.element->Items();
    if (frame.next < children.Count()) {
      const XmlElement& child = children.ChildAt(frame.next++);
      const int childLevel = frame.level + 1;
      if (WriteOpening(child, childLevel)) stack.push_back({&child, childLevel, 0});
      continue;
    }
    if (!frame.element->Name().empty()) WriteEndTagLine(frame.level, [&] { WriteQualifiedName(*frame.element); });
    stack.pop_back();
  }
}

// A file without a declaration is written in the default code page; one whose declaration
// names a charset we know, in that charset.
const Charset& OutputCharset(const XmlElement* declaration) {
  if (!declaration) return DefaultCodePage();
  const Charset* named = FindCharset(declaration->Encoding());
  if (!named || named->kind == CharsetKind::Utf16) return DefaultCodePage();
  return *named;
}

}  // namespace

struct XmlStreamWriter::Impl {
  Impl(const ByteSink& sink, std::u16string_view indent) : writer(sink, DefaultCodePage(), indent) {}
  Writer writer;
  std::vector<std::u16string> open;  // the names of the elements open, outermost first
  bool pending = false;              // the last one opened has no child written yet
  // Per level, those of each name written there: a list writes a handful of names at each
  // level, in turn, over and over (a column's caption, width and alignment, then the next).
  std::vector<std::vector<Writer::Lines>> lines;
  static constexpr std::size_t kNamesPerLevel = 16;  // beyond that, the names are made anew

  const Writer::Lines& LinesFor(std::u16string_view name, int level) {
    if (lines.size() <= static_cast<std::size_t>(level)) lines.resize(static_cast<std::size_t>(level) + 1);
    std::vector<Writer::Lines>& made = lines[static_cast<std::size_t>(level)];
    for (const Writer::Lines& known : made) {
      if (known.name == name) return known;
    }
    if (made.size() == kNamesPerLevel) made.clear();
    made.push_back(writer.MakeLines(name, level));
    return made.back();
  }
};

XmlStreamWriter::XmlStreamWriter(const ByteSink& sink, std::u16string_view indent)
    : sink_(sink), indent_(indent), impl_(std::make_unique<Impl>(sink_, indent_)) {
  impl_->writer.WriteNode(XmlElement(XmlNodeKind::Declaration), 0);
}

XmlStreamWriter::~XmlStreamWriter() = default;

void XmlStreamWriter::WritePendingStartTag() {
  if (!impl_->pending) return;
  const int level = static_cast<int>(impl_->open.size()) - 1;
  impl_->writer.PutPiece(impl_->LinesFor(impl_->open.back(), level).startTag);
  impl_->pending = false;
}

void XmlStreamWriter::Open(std::u16string_view name) {
  WritePendingStartTag();
  impl_->open.emplace_back(name);
  impl_->pending = true;
}

void XmlStreamWriter::Leaf(std::u16string_view name, std::u16string_view value) {
  Leaves(name, std::span(&value, 1));
}

void XmlStreamWriter::Leaves(std::u16string_view name, std::span<const std::u16string_view> values) {
  WritePendingStartTag();
  const Writer::Lines& lines = impl_->LinesFor(name, static_cast<int>(impl_->open.size()));
  for (const std::u16string_view value : values) impl_->writer.WriteLeafLine(lines, value);
}

// An element that got no children is written as the tree writes an empty one.
void XmlStreamWriter::Close() {
  if (impl_->open.empty()) return;
  const Writer::Lines& lines = impl_->LinesFor(impl_->open.back(), static_cast<int>(impl_->open.size()) - 1);
  impl_->writer.PutPiece(impl_->pending ? lines.empty : lines.endTag);
  impl_->pending = false;
  impl_->open.pop_back();
}

void XmlStreamWriter::Finish() {
  while (!impl_->open.empty()) Close();
  impl_->writer.Flush();
}

void WriteTree(XmlTree& tree, const ByteSink& sink) {
  XmlProlog& prolog = tree.Prolog();
  const Charset& charset = OutputCharset(prolog.Declaration());
  if (!prolog.Declaration()) prolog.Append(std::make_unique<XmlElement>(XmlNodeKind::Declaration));
  Writer writer(sink, charset, tree.IndentString());
  for (int i = 0; i < prolog.Count(); ++i) writer.WriteNode(prolog.ChildAt(i), 0);
  writer.WriteNode(tree.Root(), 0);
  writer.Flush();
}

}  // namespace tasklane::xml
