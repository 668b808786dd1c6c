// The prolog scanner, the element reader and the content scanner.
#include "xml/XmlReader.h"

#include <algorithm>
#include <array>

#include "xml/NameChars.h"
#include "xml/XmlNodePool.h"
#include "xml/UpperCase.h"

namespace tasklane::xml {
namespace {

// The markup looked at since a "<", as far as it can still match a known opening.
class Collection {
 public:
  Collection() { Add(u'<'); }
  void Add(char16_t c) {
    if (length_ < chars_.size()) chars_[length_] = c;
    ++length_;
  }
  std::size_t Length() const { return length_; }
  char16_t At(std::size_t i) const { return chars_[i]; }
  bool Is(std::u16string_view text) const { return length_ == text.size() && Begins(text); }
  bool Begins(std::u16string_view text) const {
    return length_ <= text.size() && std::u16string_view(chars_.data(), length_) == text.substr(0, length_);
  }

 private:
  std::array<char16_t, 20> chars_{};
  std::size_t length_ = 0;
};

enum class PrologItem { None, Comment, Stylesheet, Declaration, DocumentType, Mso, End };

struct PrologOpening {
  std::u16string_view text;
  PrologItem item;
};

constexpr PrologOpening prologOpenings[] = {
    {u"<!--", PrologItem::Comment},           {u"<?xml-stylesheet", PrologItem::Stylesheet},
    {u"<?xml ", PrologItem::Declaration},     {u"<!DOCTYPE", PrologItem::DocumentType},
    {u"<?mso-application", PrologItem::Mso},  {u"<![CDATA[", PrologItem::End},
};

// What a prolog collection stands for so far: an item, the end of the prolog, or nothing
// yet (None) while it may still grow into an item.
PrologItem Classify(const Collection& collection) {
  bool mayGrow = false;
  for (const PrologOpening& opening : prologOpenings) {
    if (collection.Is(opening.text)) return opening.item;
    mayGrow = mayGrow || collection.Begins(opening.text);
  }
  if (collection.Length() >= 2 && collection.At(1) != u'!' && collection.At(1) != u'?') {
    return PrologItem::End;  // an element begins
  }
  // Nothing known begins like this; the root element's reader refuses it.
  return mayGrow ? PrologItem::None : PrologItem::End;
}

bool IsCDataStart(const Collection& c) { return c.Is(u"<![CDATA"); }

bool EqualsQualifiedName(std::u16string_view prefix, std::u16string_view name,
                         std::u16string_view endName) {
  if (prefix.empty()) return EqualsIgnoringCase(name, endName);
  return endName.size() == prefix.size() + 1 + name.size() && endName[prefix.size()] == u':' &&
         EqualsIgnoringCase(prefix, endName.substr(0, prefix.size())) &&
         EqualsIgnoringCase(name, endName.substr(prefix.size() + 1));
}

}  // namespace

// The children of the element being read. Below the root they are gathered in a buffer of
// their level, reused from element to element, and handed over in one piece when the
// element ends: the list is then allocated once, at its size. A text run that stays the only
// child becomes the element's value, so it is held back instead of being made a node first.
// The root's children go straight into the tree, so that a failed read keeps what it
// finished.
class XmlReader::Children {
 public:
  using Buffer = std::vector<XmlNodePtr>;

  Children(XmlElement& element, Buffer* buffer, XmlNodePool& pool)
      : element_(element), buffer_(buffer), pool_(pool) {}
  ~Children() {
    if (buffer_) buffer_->clear();
  }
  Children(const Children&) = delete;
  Children& operator=(const Children&) = delete;

  void AddText(std::u16string_view value) {
    if (buffer_ && !hasText_ && buffer_->empty()) {
      text_ = value;
      hasText_ = true;
    } else {
      Add(TextRun(value));
    }
  }
  void Add(XmlNodePtr child) {
    HandOverText();
    if (buffer_) buffer_->push_back(std::move(child));
    else element_.Items().Append(std::move(child));
  }
  // The value of a text run that is the only child, which is then no child any more.
  std::u16string_view TakeSoleText() {
    if (hasText_) {
      hasText_ = false;
      return text_;
    }
    if (buffer_ || !element_.HasItems() || element_.Items().Count() != 1) return {};
    XmlElement& only = element_.Items().ChildAt(0);
    if (only.Kind() != XmlNodeKind::TextRun) return {};
    const std::u16string_view text = only.Value();  // in the pool's storage, not the node's
    element_.Items().RemoveAt(0);
    return text;
  }
  // Gives the element every child gathered so far.
  void Finish() {
    HandOverText();
    if (!buffer_ || buffer_->empty()) return;
    XmlElementList& items = element_.Items();
    items.Reserve(items.Count() + static_cast<int>(buffer_->size()));
    for (auto& child : *buffer_) items.Append(std::move(child));
    buffer_->clear();
  }

 private:
  void HandOverText() {
    if (!hasText_) return;
    hasText_ = false;
    auto run = TextRun(text_);
    if (buffer_) buffer_->push_back(std::move(run));
    else element_.Items().Append(std::move(run));
  }

  XmlNodePtr TextRun(std::u16string_view value) {
    XmlNodePtr run = pool_.Make(XmlNodeKind::TextRun);
    pool_.SetValue(*run, value);
    return run;
  }

  XmlElement& element_;
  Buffer* buffer_;
  XmlNodePool& pool_;
  bool hasText_ = false;
  std::u16string_view text_;
};

void XmlReader::Read() {
  tree_.Clear();
  if (!tree_.pool_) tree_.pool_ = std::make_unique<XmlNodePool>();
  pool_ = tree_.pool_.get();
  // The nodes refer into the text, and a failed read keeps those it finished.
  struct KeepText {
    XmlReader& reader;
    ~KeepText() { reader.pool_->Keep(reader.source_.ReleaseText()); }
  } keep{*this};
  ReadProlog();
  ReadElement(tree_.Root(), 1);
}

void XmlReader::ReadProlog() {
  for (;;) {
    std::size_t i = pos_;
    while (!EndsAt(i) && IsWhitespace(t_[i])) ++i;
    if (EndsAt(i)) return;
    if (t_[i] != u'<') Fail(messages::UnexpectedPrologText());
    Collection collection;
    PrologItem item = PrologItem::None;
    for (++i; item == PrologItem::None; ++i) {
      if (EndsAt(i)) return;
      if (!(IsWhitespace(t_[i]) && IsCDataStart(collection))) collection.Add(t_[i]);
      item = Classify(collection);
    }
    switch (item) {
      case PrologItem::Comment: tree_.Prolog().Append(ReadComment()); break;
      case PrologItem::Stylesheet:
        tree_.Prolog().Append(ReadInstruction(XmlNodeKind::StylesheetInstruction));
        break;
      case PrologItem::Declaration: tree_.Prolog().Append(ReadDeclaration()); break;
      case PrologItem::DocumentType: tree_.Prolog().Append(ReadDocumentType()); break;
      case PrologItem::Mso:
        tree_.Prolog().Append(ReadInstruction(XmlNodeKind::MsoApplicationInstruction));
        break;
      default: return;
    }
  }
}

// Where the text ends, the element ends too, without a failure, with what was read.
void XmlReader::ReadElement(XmlElement& element, int depth) {
  std::u16string_view prefix, name;
  Children children(element, depth > 1 ? &buffers_[static_cast<std::size_t>(depth)] : nullptr, *pool_);
  std::u16string_view value;
  if (ReadStartTag(element, prefix, name) == StartTag::Open) {
    if (!ReadRows(element, name, depth)) ReadContent(children, depth);
    if (ReadEndTag(prefix, name)) value = children.TakeSoleText();
  }
  children.Finish();
  pool_->SetName(element, name);
  pool_->SetValue(element, value);
  element.SetNameSpace(prefix);
}

XmlReader::StartTag XmlReader::ReadStartTag(XmlElement& element, std::u16string_view& prefix,
                                            std::u16string_view& name) {
  SkipWhitespace();
  if (AtEnd()) return StartTag::Ended;
  if (t_[pos_] != u'<') Fail(messages::ExpectedBeginningOfTag(t_[pos_]));
  std::size_t start = ++pos_;
  for (;; ++pos_) {
    if (AtEnd()) {
      name = t_.substr(start);
      return StartTag::Ended;
    }
    const char16_t c = t_[pos_];
    if (IsNameChar(c)) continue;
    if (c != u':') break;
    if (!prefix.empty()) Fail(messages::MalformedTag());
    prefix = t_.substr(start, pos_ - start);
    start = pos_ + 1;
  }
  name = t_.substr(start, pos_ - start);
  // "<>" and "</>" are tags without a name as much as "< a>" is.
  if (name.empty()) Fail(messages::MalformedTag());
  const char16_t end = t_[pos_];
  if (IsWhitespace(end)) {
    ReadAttributes(element.Properties(), true);
    if (AtEnd()) return StartTag::Ended;
    if (t_[pos_] != u'/' && t_[pos_] != u'>') Fail(messages::ExpectedEndOfTag(t_[pos_]));
  } else if (end != u'/' && end != u'>') {
    Fail(messages::MalformedTag());
  }
  if (t_[pos_++] == u'>') return StartTag::Open;
  if (AtEnd()) return StartTag::Ended;
  if (t_[pos_] != u'>') Fail(messages::ExpectedEndOfTag(t_[pos_]));
  ++pos_;
  return StartTag::Closed;
}

// False when the text ends before the end tag is complete.
bool XmlReader::ReadEndTag(std::u16string_view prefix, std::u16string_view name) {
  SkipWhitespace();
  for (char16_t expected : std::u16string_view(u"</")) {
    if (AtEnd()) return false;
    if (t_[pos_] != expected) Fail(messages::ExpectedEndOfTag(t_[pos_]));
    ++pos_;
  }
  const std::size_t start = pos_;
  while (!AtEnd() && (IsNameChar(t_[pos_]) || t_[pos_] == u':')) ++pos_;
  if (AtEnd()) return false;
  const std::u16string_view endName = t_.substr(start, pos_ - start);
  if (t_[pos_] != u'>' && !IsWhitespace(t_[pos_])) Fail(messages::MalformedTag());
  if (!EqualsQualifiedName(prefix, name, endName)) Fail(messages::ErroneousEndOfTag(name, endName));
  SkipWhitespace();  // "</Left >" ends the element as "</Left>" does
  if (AtEnd()) return false;
  if (t_[pos_] != u'>') Fail(messages::ExpectedEndOfTag(t_[pos_]));
  ++pos_;
  return true;
}

void XmlReader::ReadContent(Children& children, int depth) {
  for (;;) {
    bool pendingText = false;
    std::size_t i = pos_;
    if (!FindTag(i, pendingText)) return;  // text that no tag follows is not kept
    const std::size_t tagStart = i++;
    Collection collection;
    bool elementBegins = false;
    for (; !elementBegins; ++i) {
      if (EndsAt(i)) {
        // A start tag cut off by the end of the text still yields its element.
        elementBegins = collection.Length() >= 2 && IsNameChar(collection.At(1));
        if (elementBegins) break;
        return;
      }
      const char16_t c = t_[i];
      if (c == u'/' && collection.Length() == 1) {
        if (pendingText) children.AddText(ReadTextRun(tagStart));
        return;
      }
      elementBegins = c == u' ' || c == u':' || c == u'>' || c == u'/';
      if (elementBegins) break;
      if (pendingText) {
        children.AddText(ReadTextRun(tagStart));
        pendingText = false;
      }
      if (!(IsWhitespace(c) && IsCDataStart(collection))) collection.Add(c);
      if (collection.Is(u"<![CDATA[")) {
        children.Add(ReadCData());
        break;
      }
      if (collection.Is(u"<!--")) {
        children.Add(ReadComment());
        break;
      }
    }
    if (elementBegins) ReadChildElement(children, depth + 1);
  }
}

// The content of the rows' section, when the rows can take it from the bytes.
bool XmlReader::ReadRows(const XmlElement& element, std::u16string_view name, int depth) {
  if (!rows_ || depth != 2 || rows_->Section() || name != rows_->SectionName()) return false;
  std::string_view bytes;
  std::size_t byte = 0;
  if (!source_.AsciiBytesFrom(pos_, bytes, byte)) return false;
  const std::optional<std::size_t> end = rows_->Read(bytes, byte, element);
  if (!end) return false;
  source_.SkipTo(pos_, *end);
  t_ = source_.Text();
  return true;
}

// Moves `i` to the next "<", and tells whether anything but whitespace comes before it.
// The text decoded so far is searched in one go, which a large list is almost all of.
bool XmlReader::FindTag(std::size_t& i, bool& text) {
  for (;;) {
    const std::size_t found = t_.find(u'<', i);
    const std::size_t end = found == std::u16string_view::npos ? t_.size() : found;
    text = text || std::any_of(t_.begin() + static_cast<std::ptrdiff_t>(i), t_.begin() + static_cast<std::ptrdiff_t>(end),
                               [](char16_t c) { return !IsWhitespace(c); });
    i = end;
    if (found != std::u16string_view::npos) return true;
    if (!DecodeUpTo(i)) return false;
  }
}

void XmlReader::ReadChildElement(Children& children, int depth) {
  if (depth > maxNestingDepth) Fail(messages::NestedTooDeeply());
  XmlNodePtr child = pool_->Make(XmlNodeKind::Element);
  ReadElement(*child, depth);
  children.Add(std::move(child));
}

// A run without references is its own value, in the text; one with references is copied
// into the pool as it reads.
std::u16string_view XmlReader::ReadTextRun(std::size_t end) {
  const std::u16string_view run = t_.substr(pos_, end - pos_);
  pos_ = end;
  if (run.find(u'&') == std::u16string_view::npos) return run;
  return pool_->Store(UnescapeValue(run));
}

bool XmlReader::DecodeUpTo(std::size_t i) {
  while (i >= t_.size()) {
    if (!source_.DecodeMore()) return false;
    t_ = source_.Text();
  }
  return true;
}

std::size_t XmlReader::Find(std::u16string_view what, std::size_t from) {
  for (;;) {
    const std::size_t at = t_.find(what, from);
    if (at != std::u16string_view::npos) return at;
    // An occurrence may begin in the last units searched and end in the next piece.
    if (t_.size() + 1 > from + what.size()) from = t_.size() + 1 - what.size();
    if (!DecodeUpTo(t_.size())) return std::u16string_view::npos;
  }
}

void ReadTree(XmlTree& tree, XmlSource& source, XmlRows* rows) { XmlReader(tree, source, rows).Read(); }

}  // namespace tasklane::xml
