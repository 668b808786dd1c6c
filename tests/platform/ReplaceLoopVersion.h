// The list file that replace_loop_child saves over and over, one version after another, and
// what the crash test compares a surviving file with.
#pragma once

#include <string>
#include <string_view>

#include "xml/XmlTree.h"

namespace tasklane::platform::replace_loop {

inline constexpr std::string_view kListName = "ToDoList.xml";
inline constexpr std::string_view kTempPrefix = "ToDoList~tmp~backup~";
inline constexpr std::u16string_view kVersionPrefix = u"Version ";

inline std::u16string Widened(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

inline void BuildVersion(xml::XmlTree& tree, int version) {
  constexpr int kColumns = 2500;
  constexpr int kTextsPerColumn = 3;
  tree.Root().SetName(u"ToDoList");
  xml::XmlElement& content = tree.Root().Items().Add(u"ToDoContent");
  content.Items().Reserve(kColumns);
  const std::u16string prefix = std::u16string(kVersionPrefix) + Widened(std::to_string(version));
  for (int c = 0; c < kColumns; ++c) {
    xml::XmlElement& column = content.Items().Add(u"Column");
    for (int t = 0; t < kTextsPerColumn; ++t) {
      column.Items().Add(u"Text", prefix + u", column " + Widened(std::to_string(c)) + u", line " +
                                      Widened(std::to_string(t)));
    }
  }
}

// The complete text of one version, exactly as it is saved.
inline std::string VersionBytes(int version) {
  xml::XmlTree tree;
  BuildVersion(tree, version);
  return tree.SaveToBytes();
}

// The version a loaded list says it is, or -1 when it does not look like one of ours.
inline int VersionOf(xml::XmlTree& tree) {
  xml::XmlElement* content = tree.Root().Items().ChildNamed(u"ToDoContent");
  if (!content || !content->HasItems() || !content->Items().ChildAt(0).HasItems()) return -1;
  const std::u16string_view text = content->Items().ChildAt(0).Items().ChildAt(0).Value();
  if (text.substr(0, kVersionPrefix.size()) != kVersionPrefix) return -1;
  int version = 0;
  for (std::size_t i = kVersionPrefix.size(); i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    if (version > 100'000'000) return -1;
    version = version * 10 + (text[i] - u'0');
  }
  return version > 0 ? version : -1;
}

}  // namespace tasklane::platform::replace_loop
