// The XML tree that holds the to-do list in memory, its text form and its reader.
// Texts are UTF-16 code units throughout; nothing here knows of the rest of the program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tasklane::xml {

enum class XmlNodeKind : unsigned char {
  Element,
  TextRun,
  Comment,
  CDataSection,
  Declaration,
  DocumentType,
  StylesheetInstruction,
  MsoApplicationInstruction,
};

// Every failure of reading and writing. what() is the message in UTF-8.
class XmlError : public std::runtime_error {
 public:
  explicit XmlError(std::u16string message);
  const std::u16string& Message() const noexcept { return message_; }

 private:
  std::u16string message_;
};

struct XmlProperty {
  std::u16string name;
  std::u16string nameSpace;
  std::u16string value;
};

class XmlPropertyList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  const XmlProperty& At(int index) const { return items_[static_cast<std::size_t>(index)]; }
  XmlProperty& Add(std::u16string_view name, std::u16string_view value, std::u16string_view nameSpace = {});
  // The first attribute of that exact name, or nullptr.
  const XmlProperty* Find(std::u16string_view name) const;
  void Clear() { items_.clear(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<XmlProperty> items_;
};

class XmlElement;
class XmlNodePool;

// Owns one node. Nodes the reader makes live in their tree's pool and only need destroying;
// all others were made with new.
struct XmlNodeDeleter {
  void operator()(XmlElement* node) const;
};
using XmlNodePtr = std::unique_ptr<XmlElement, XmlNodeDeleter>;

// The children of one element (or the items of the prolog), of all kinds, in document order.
class XmlElementList {
 public:
  explicit XmlElementList(XmlElement* owner);
  ~XmlElementList();
  XmlElementList(const XmlElementList&) = delete;
  XmlElementList& operator=(const XmlElementList&) = delete;

  int Count() const { return static_cast<int>(children_.size()); }
  XmlElement& ChildAt(int index) { return *children_[static_cast<std::size_t>(index)]; }
  const XmlElement& ChildAt(int index) const { return *children_[static_cast<std::size_t>(index)]; }

  // The last child whose name equals `name` ignoring letter case; nullptr when there is none.
  XmlElement* ChildNamed(std::u16string_view name);

  XmlElement& Add(std::u16string_view name);
  XmlElement& Add(std::u16string_view name, std::u16string_view value);
  // Appends a node of any kind; the list takes it over.
  XmlElement& Append(std::unique_ptr<XmlElement> child);
  XmlElement& Append(XmlNodePtr child);
  void RemoveAt(int index);
  void Clear();
  // Makes room for that many children without changing any.
  void Reserve(int count) { children_.reserve(static_cast<std::size_t>(count)); }

 private:
  friend class XmlElement;
  struct NameIndex;

  void NameChanged();

  XmlElement* owner_;
  std::vector<XmlNodePtr> children_;
  std::unique_ptr<NameIndex> index_;  // built on the first lookup after a change
};

// One node. The fields that only some nodes use (prefix, attributes, declaration fields)
// live apart, so that the many plain elements of a large list stay small.
class XmlElement {
 public:
  explicit XmlElement(XmlNodeKind kind, std::u16string_view name = {}, std::u16string_view value = {});
  ~XmlElement();
  XmlElement(const XmlElement&) = delete;
  XmlElement& operator=(const XmlElement&) = delete;

  XmlNodeKind Kind() const { return kind_; }
  XmlElement* Parent() const { return parent_; }

  std::u16string_view Name() const { return name_; }
  // An empty name, or the name it already has, changes nothing. The node keeps a copy.
  void SetName(std::u16string_view name);
  const std::u16string& NameSpace() const;
  void SetNameSpace(std::u16string_view nameSpace);

  std::u16string_view Value() const { return value_; }
  // The node keeps a copy.
  void SetValue(std::u16string_view value);
  // Value read as an integer; -1 for anything that is not one.
  std::int64_t IntValue() const;

  XmlElementList& Items() { return items_; }
  const XmlElementList& Items() const { return items_; }
  bool HasItems() const { return items_.Count() > 0; }
  XmlPropertyList& Properties();
  const XmlPropertyList* PropertiesOrNull() const;

  // The fields of a declaration.
  const std::u16string& Version() const;
  void SetVersion(std::u16string_view version);
  const std::u16string& Encoding() const;
  void SetEncoding(std::u16string_view encoding);
  bool StandAlone() const;
  void SetStandAlone(bool standAlone);

 private:
  friend class XmlElementList;
  friend class XmlNodePool;
  friend struct XmlNodeDeleter;
  struct Extras;
  Extras& MakeExtras();

  XmlNodeKind kind_;
  bool pooled_ = false;  // made in a tree's pool, see XmlNodeDeleter
  XmlElement* parent_ = nullptr;
  // The name and the value of a node read into a pool live in the pool's storage; any
  // other node's in its extras.
  std::u16string_view name_;
  std::u16string_view value_;
  XmlElementList items_;
  std::unique_ptr<Extras> extras_;
};

// The items before the root element: comments, the declaration, a document type and
// processing instructions.
class XmlProlog {
 public:
  XmlProlog() : items_(nullptr) {}
  int Count() const { return items_.Count(); }
  XmlElement& ChildAt(int index) { return items_.ChildAt(index); }
  const XmlElement& ChildAt(int index) const { return items_.ChildAt(index); }
  XmlElement& Append(std::unique_ptr<XmlElement> item) { return items_.Append(std::move(item)); }
  XmlElement& Append(XmlNodePtr item) { return items_.Append(std::move(item)); }
  void Clear() { items_.Clear(); }
  // The first declaration, or nullptr.
  const XmlElement* Declaration() const;

 private:
  XmlElementList items_;
};

class XmlRows;

class XmlTree {
 public:
  XmlTree();
  ~XmlTree();
  XmlTree(const XmlTree&) = delete;
  XmlTree& operator=(const XmlTree&) = delete;

  XmlElement& Root() { return root_; }
  const XmlElement& Root() const { return root_; }
  XmlProlog& Prolog() { return prolog_; }
  const XmlProlog& Prolog() const { return prolog_; }
  const std::u16string& IndentString() const { return indent_; }
  void SetIndentString(std::u16string_view indent) { indent_ = indent; }

  // Reading replaces the root's children and attributes and the prolog; the root keeps its
  // name when the text has no root element. Failures throw XmlError.
  void LoadFromFile(const std::filesystem::path& path);
  void LoadFromString(std::u16string_view text);
  // Reads bytes exactly as LoadFromFile reads a file's content. `rows`, when given, may
  // take the content of its section instead of the tree (see XmlRows).
  void LoadFromBytes(std::string_view bytes, XmlRows* rows = nullptr);

  // Drops the root's children and attributes and the prolog, and the storage of the last
  // load with them; the root keeps its name.
  void Clear();

  // Writes the text form. Adds the default declaration to a prolog that has none.
  void SaveToFile(const std::filesystem::path& path);
  std::string SaveToBytes();

 private:
  friend class XmlReader;

  std::unique_ptr<XmlNodePool> pool_;  // the nodes of the last load; outlives them
  XmlElement root_;
  XmlProlog prolog_;
  std::u16string indent_ = u"  ";
};

// Escaping of values and names on writing, and its reverse on reading.
std::u16string EscapeValue(std::u16string_view value);
std::u16string UnescapeValue(std::u16string_view value);
void AppendUnescaped(std::u16string_view value, std::u16string& out);

}  // namespace tasklane::xml
