// The reader: builds a tree from text. Works on the read position only; where the scanners
// look ahead, they do so with a local index and hand the item found to its reader, which
// reads it again from the read position.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xml/XmlRows.h"
#include "xml/XmlSource.h"
#include "xml/XmlTree.h"

namespace tasklane::xml {

// Reading recurses once per level; deeper files are refused long before the stack is in
// danger.
constexpr int maxNestingDepth = 256;

// Replaces the root's children and attributes and the prolog with what the source holds.
// `rows`, when given, may take the content of its section (see XmlRows).
void ReadTree(XmlTree& tree, XmlSource& source, XmlRows* rows = nullptr);

// How one kind of item opens and what its failures say.
struct ItemSyntax {
  std::u16string_view opening;
  std::u16string_view kind;       // begins the expected-but-found message
  std::u16string_view endOfData;  // the message when the text ends inside the item
};

class XmlReader {
 public:
  XmlReader(XmlTree& tree, XmlSource& source, XmlRows* rows)
      : tree_(tree), source_(source), rows_(rows), t_(source.Text()), buffers_(maxNestingDepth + 1) {}
  void Read();

 private:
  class Children;

  // Prolog and elements (XmlReader.cpp).
  void ReadProlog();
  void ReadElement(XmlElement& element, int depth);
  enum class StartTag { Ended, Closed, Open };
  StartTag ReadStartTag(XmlElement& element, std::u16string_view& prefix, std::u16string_view& name);
  bool ReadEndTag(std::u16string_view prefix, std::u16string_view name);
  void ReadContent(Children& children, int depth);
  bool ReadRows(const XmlElement& element, std::u16string_view name, int depth);
  bool FindTag(std::size_t& i, bool& text);
  void ReadChildElement(Children& children, int depth);
  std::u16string_view ReadTextRun(std::size_t end);

  // Attributes and the items that are not elements (XmlReaderItems.cpp).
  void ReadAttributes(XmlPropertyList& into, bool unescape);
  XmlNodePtr ReadComment();
  XmlNodePtr ReadCData();
  XmlNodePtr ReadDeclaration();
  XmlNodePtr ReadDocumentType();
  XmlNodePtr ReadInstruction(XmlNodeKind kind);
  void ReadOpening(const ItemSyntax& syntax);
  void ReadClosing(const ItemSyntax& syntax);
  [[noreturn]] void FailEndOfData(const ItemSyntax& syntax);

  // The text is decoded as reading gets to it: its end is only where the source has nothing
  // more to decode.
  bool AtEnd() { return EndsAt(pos_); }
  bool EndsAt(std::size_t i) { return i >= t_.size() && !DecodeUpTo(i); }
  bool DecodeUpTo(std::size_t i);
  // Where `what` occurs from `from` on, or npos when the text ends first.
  std::size_t Find(std::u16string_view what, std::size_t from);
  void SkipWhitespace();

  XmlTree& tree_;
  XmlSource& source_;
  XmlRows* rows_;
  std::u16string_view t_;  // the text decoded so far
  std::size_t pos_ = 0;    // the read position
  // Per nesting level, the children of the element being read there (see Children).
  std::vector<std::vector<XmlNodePtr>> buffers_;
  XmlNodePool* pool_ = nullptr;  // the tree's, where every node read is made
};

// The failure messages, with their arguments.
namespace messages {
std::u16string UnexpectedPrologText();
std::u16string ExpectedBeginningOfTag(char16_t found);
std::u16string MalformedTag();
std::u16string ExpectedEndOfTag(char16_t found);
std::u16string ErroneousEndOfTag(std::u16string_view expected, std::u16string_view found);
std::u16string UnexpectedPropertyCharacter(char16_t found);
std::u16string UnquotedPropertyValue(char16_t found);
std::u16string NestedTooDeeply();
std::u16string NoMatchingCharset();
}  // namespace messages

[[noreturn]] void Fail(std::u16string message);

}  // namespace tasklane::xml
