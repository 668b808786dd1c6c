// The attribute reader and the readers of comments, CDATA sections and prolog items.
#include "xml/NameChars.h"
#include "xml/XmlNodePool.h"
#include "xml/XmlReader.h"

namespace tasklane::xml {

namespace messages {
namespace {
std::u16string Quoted(char16_t c) { return {u'"', c, u'"'}; }
}  // namespace

std::u16string UnexpectedPrologText() { return u"Invalid Document: Unexpected text in file prolog"; }
std::u16string ExpectedBeginningOfTag(char16_t found) {
  return u"Invalid XML Element: Expected beginning of tag but " + Quoted(found) + u" found";
}
std::u16string MalformedTag() { return u"Invalid XML Element: malformed tag found (no valid name)"; }
std::u16string ExpectedEndOfTag(char16_t found) {
  return u"Invalid XML Element: Expected end of tag but " + Quoted(found) + u" found";
}
std::u16string ErroneousEndOfTag(std::u16string_view expected, std::u16string_view found) {
  return u"Invalid XML Element: Erroneous end of tag, expecting </" + std::u16string(expected) +
         u"> but </" + std::u16string(found) + u"> found";
}
std::u16string UnexpectedPropertyCharacter(char16_t found) {
  return u"Invalid XML Element: Unexpected character in property declaration (" + Quoted(found) +
         u" found)";
}
std::u16string UnquotedPropertyValue(char16_t found) {
  return u"Invalid XML Element: Unexpected character in property declaration. Expecting \" or ' but " +
         Quoted(found) + u"  found";
}
std::u16string NestedTooDeeply() {
  return u"Invalid XML Element: Elements nested deeper than 256 levels";
}
std::u16string NoMatchingCharset() { return u"No matching charset"; }
std::u16string ExpectedButFound(std::u16string_view kind, char16_t expected, char16_t found) {
  return std::u16string(kind) + u"expected " + Quoted(expected) + u" but found " + Quoted(found);
}
}  // namespace messages

void Fail(std::u16string message) { throw XmlError(std::move(message)); }

namespace {
using Syntax = std::u16string_view;
constexpr Syntax commentKind = u"Invalid Comment: ";
constexpr Syntax commentEnd = u"Invalid Comment: Unexpected end of data";
}  // namespace

namespace {
const ItemSyntax* SyntaxOf(XmlNodeKind kind) {
  static const ItemSyntax comment{u"<!--", commentKind, commentEnd};
  static const ItemSyntax cdata{u"<![CDATA[", u"Invalid CDATA: ",
                                           u"Invalid CDATA: Unexpected end of data"};
  static const ItemSyntax declaration{u"<?xml", u"Invalid Header: ", commentEnd};
  static const ItemSyntax doctype{u"<!DOCTYPE", u"Invalid Header: ", commentEnd};
  static const ItemSyntax stylesheet{u"<?xml-stylesheet", u"Invalid Stylesheet: ",
                                                u"Invalid Stylesheet: Unexpected end of data"};
  static const ItemSyntax mso{u"<?mso-application", u"Invalid MSO: ",
                                         u"Invalid MSO: Unexpected end of data"};
  switch (kind) {
    case XmlNodeKind::Comment: return &comment;
    case XmlNodeKind::CDataSection: return &cdata;
    case XmlNodeKind::Declaration: return &declaration;
    case XmlNodeKind::DocumentType: return &doctype;
    case XmlNodeKind::StylesheetInstruction: return &stylesheet;
    case XmlNodeKind::MsoApplicationInstruction: return &mso;
    default: return nullptr;
  }
}
}  // namespace

void XmlReader::SkipWhitespace() {
  while (!AtEnd() && IsWhitespace(t_[pos_])) ++pos_;
}

void XmlReader::FailEndOfData(const ItemSyntax& syntax) { Fail(std::u16string(syntax.endOfData)); }

void XmlReader::ReadOpening(const ItemSyntax& syntax) {
  SkipWhitespace();
  for (std::size_t k = 0; k < syntax.opening.size(); ++k) {
    // A CDATA section may have whitespace before its "[".
    if (syntax.opening[k] == u'[' && k + 1 == syntax.opening.size()) SkipWhitespace();
    if (AtEnd()) FailEndOfData(syntax);
    if (t_[pos_] != syntax.opening[k]) {
      Fail(messages::ExpectedButFound(syntax.kind, syntax.opening[k], t_[pos_]));
    }
    ++pos_;
  }
}

void XmlReader::ReadClosing(const ItemSyntax& syntax) {
  SkipWhitespace();
  for (char16_t expected : std::u16string_view(u"?>")) {
    if (AtEnd()) FailEndOfData(syntax);
    if (t_[pos_] != expected) Fail(messages::ExpectedButFound(syntax.kind, expected, t_[pos_]));
    ++pos_;
  }
}

// Stops in front of "/", ">" or "?". An attribute cut off by the end of the text is dropped.
void XmlReader::ReadAttributes(XmlPropertyList& into, bool unescape) {
  for (;;) {
    SkipWhitespace();
    if (AtEnd()) return;
    char16_t c = t_[pos_];
    if (c == u'/' || c == u'>' || c == u'?') return;
    if (!IsNameChar(c)) Fail(messages::UnexpectedPropertyCharacter(c));
    std::size_t start = pos_;
    std::u16string_view prefix;
    while (!AtEnd() && (IsNameChar(t_[pos_]) || t_[pos_] == u':')) {
      if (t_[pos_] == u':') prefix = t_.substr(start, pos_ - start), start = pos_ + 1;
      ++pos_;
    }
    const std::u16string_view name = t_.substr(start, pos_ - start);
    SkipWhitespace();
    if (AtEnd()) return;
    if (t_[pos_] != u'=') Fail(messages::UnexpectedPropertyCharacter(t_[pos_]));
    ++pos_;
    SkipWhitespace();
    if (AtEnd()) return;
    const char16_t quote = t_[pos_];
    if (quote != u'"' && quote != u'\'') Fail(messages::UnquotedPropertyValue(quote));
    const std::size_t close = Find(std::u16string_view(&quote, 1), pos_ + 1);
    if (close == std::u16string_view::npos) {
      pos_ = t_.size();
      return;
    }
    const std::u16string_view value = t_.substr(pos_ + 1, close - pos_ - 1);
    into.Add(name, unescape ? UnescapeValue(value) : std::u16string(value), prefix);
    pos_ = close + 1;
  }
}

XmlNodePtr XmlReader::ReadComment() {
  const ItemSyntax& syntax = *SyntaxOf(XmlNodeKind::Comment);
  ReadOpening(syntax);
  const std::size_t dashes = Find(u"--", pos_);
  if (dashes == std::u16string_view::npos) FailEndOfData(syntax);
  auto comment = pool_->Make(XmlNodeKind::Comment, u"", t_.substr(pos_, dashes - pos_));
  pos_ = dashes + 2;
  if (AtEnd()) FailEndOfData(syntax);
  if (t_[pos_] != u'>') Fail(u"Invalid Comment: \"--\" not allowed inside comments");
  ++pos_;
  return comment;
}

// Ends at "]]>" only when the "]]" is not part of a longer run of "]".
XmlNodePtr XmlReader::ReadCData() {
  const ItemSyntax& syntax = *SyntaxOf(XmlNodeKind::CDataSection);
  ReadOpening(syntax);
  const std::size_t start = pos_;
  for (;;) {
    if (AtEnd()) FailEndOfData(syntax);
    if (t_[pos_++] != u']') continue;
    if (AtEnd()) FailEndOfData(syntax);
    if (t_[pos_++] != u']') continue;
    if (AtEnd()) FailEndOfData(syntax);
    if (t_[pos_++] == u'>') break;
  }
  return pool_->Make(XmlNodeKind::CDataSection, u"", t_.substr(start, pos_ - 3 - start));
}

XmlNodePtr XmlReader::ReadDeclaration() {
  const ItemSyntax& syntax = *SyntaxOf(XmlNodeKind::Declaration);
  ReadOpening(syntax);
  XmlPropertyList attributes;
  ReadAttributes(attributes, false);
  ReadClosing(syntax);

  auto declaration = pool_->Make(XmlNodeKind::Declaration);
  if (const XmlProperty* version = attributes.Find(u"version")) declaration->SetVersion(version->value);
  if (const XmlProperty* encoding = attributes.Find(u"encoding")) declaration->SetEncoding(encoding->value);
  const XmlProperty* standAlone = attributes.Find(u"standalone");
  declaration->SetStandAlone(standAlone && standAlone->value == u"yes");

  const Charset* charset = FindCharset(declaration->Encoding());
  if (!charset) Fail(messages::NoMatchingCharset());
  source_.SwitchCharset(pos_, *charset);
  t_ = source_.Text();
  return declaration;
}

// The text up to the first ">" outside the internal subset's brackets.
XmlNodePtr XmlReader::ReadDocumentType() {
  const ItemSyntax& syntax = *SyntaxOf(XmlNodeKind::DocumentType);
  ReadOpening(syntax);
  SkipWhitespace();
  const std::size_t start = pos_;
  bool inBrackets = false;
  for (;; ++pos_) {
    if (AtEnd()) FailEndOfData(syntax);
    const char16_t c = t_[pos_];
    if (c == u'[') inBrackets = true;
    else if (c == u']') inBrackets = false;
    else if (c == u'>' && !inBrackets) break;
  }
  auto doctype = pool_->Make(XmlNodeKind::DocumentType, u"", t_.substr(start, pos_ - start));
  ++pos_;
  return doctype;
}

XmlNodePtr XmlReader::ReadInstruction(XmlNodeKind kind) {
  const ItemSyntax& syntax = *SyntaxOf(kind);
  ReadOpening(syntax);
  auto instruction = pool_->Make(kind);
  ReadAttributes(instruction->Properties(), true);
  ReadClosing(syntax);
  return instruction;
}

}  // namespace tasklane::xml

