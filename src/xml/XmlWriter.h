// The text form of a tree.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "xml/XmlTree.h"

namespace tasklane::xml {

using ByteSink = std::function<void(std::string_view bytes)>;

// Writes the prolog and the root through a 64 KiB buffer into the sink. Adds the
// default declaration to a prolog that has none.
void WriteTree(XmlTree& tree, const ByteSink& sink);

// Writes elements one by one, byte for byte as WriteTree writes a tree of the same elements
// with the default declaration: a list of any size goes out without a node for each text.
// Elements have no attributes; an element opened and closed without children is written
// as an empty one.
class XmlStreamWriter {
 public:
  XmlStreamWriter(const ByteSink& sink, std::u16string_view indent = u"  ");
  ~XmlStreamWriter();
  XmlStreamWriter(const XmlStreamWriter&) = delete;
  XmlStreamWriter& operator=(const XmlStreamWriter&) = delete;

  // An element whose children follow, up to its Close().
  void Open(std::u16string_view name);
  // An element with a value and no children.
  void Leaf(std::u16string_view name, std::u16string_view value);
  // Elements of one name with a value each and no children, one after the other.
  void Leaves(std::u16string_view name, std::span<const std::u16string_view> values);
  void Close();
  // Closes what is still open and hands the last bytes to the sink.
  void Finish();

 private:
  struct Impl;
  void WritePendingStartTag();
  ByteSink sink_;
  std::u16string indent_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tasklane::xml
