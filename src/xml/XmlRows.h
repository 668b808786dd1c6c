// A section of rows, "<Section><Row><Value>text</Value>...</Row>...</Section>" below the root,
// read straight from the file's bytes instead of into the tree: a long list would otherwise
// take a node per value and a decoded copy of the whole file. Only a section laid out as a
// writer lays it out is read so (ASCII bytes in a charset that keeps them, these names
// exactly, nothing but whitespace between the tags). The tree reads any other itself, so the
// values a file holds never depend on which of the two read them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tasklane::xml {

class XmlElement;

class XmlRows {
 public:
  XmlRows(std::u16string_view section, std::string_view row, std::string_view value);

  // The section element whose rows these are; nullptr when the tree holds them as children.
  const XmlElement* Section() const { return section_; }
  std::size_t RowCount() const { return rowEnds_.size(); }
  // A row's values, as the tree would have given them as its children's values. They are
  // decoded from the bytes read, which must still be there, and hold until the next call.
  std::span<const std::u16string_view> Row(std::size_t row);

 private:
  friend class XmlReader;

  std::u16string_view SectionName() const { return sectionName_; }
  // Reads the section's content from bytes[from] on and returns where it ends, at the "</" of
  // the section's end tag; nullopt, keeping nothing, when the content is laid out otherwise.
  std::optional<std::size_t> Read(std::string_view bytes, std::size_t from, const XmlElement& section);
  bool ReadRow(std::size_t& i);
  bool ReadValue(std::size_t& i);
  void Discard();
  void AppendValue(std::size_t at);

  std::u16string sectionName_;
  std::string rowOpen_, rowEmpty_, rowClose_, valueOpen_, valueEmpty_, valueClose_;
  const XmlElement* section_ = nullptr;
  std::string_view bytes_;
  // Where each value's text begins in the bytes; it ends at the next "<".
  std::vector<std::uint32_t> valueStarts_;
  std::vector<std::uint32_t> rowEnds_;  // where each row's values end in valueStarts_
  // The row last asked for.
  std::u16string texts_;
  std::vector<std::size_t> ends_;
  std::vector<std::u16string_view> values_;
  std::u16string scratch_;
};

}  // namespace tasklane::xml
