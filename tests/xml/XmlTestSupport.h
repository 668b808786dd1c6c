// Small helpers shared by the XML tests.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "xml/XmlTree.h"

namespace tasklane::xml {

// Lets GoogleTest print UTF-16 texts readably.
inline void PrintTo(std::u16string_view text, std::ostream* out) {
  *out << '"';
  for (char16_t c : text) {
    if (c >= 32 && c < 127) *out << static_cast<char>(c);
    else *out << "\\u" << std::hex << static_cast<int>(c) << std::dec;
  }
  *out << '"';
}
inline void PrintTo(const std::u16string& text, std::ostream* out) { PrintTo(std::u16string_view(text), out); }

// The message a load fails with, or "" when it succeeds.
inline std::u16string LoadFailure(XmlTree& tree, std::string_view bytes) {
  try {
    tree.LoadFromBytes(bytes);
  } catch (const XmlError& e) {
    return e.Message();
  }
  return u"";
}

// A text as printable ASCII, other code units as \uXXXX.
inline std::string Printable(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c >= 32 && c < 127) {
      out += static_cast<char>(c);
    } else {
      char code[8];
      std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
      out += code;
    }
  }
  return out;
}

// A node with everything below it on one line, for comparing whole trees:
// Name="value"[attr="v"](children), 'text run', <!--comment-->, <![CDATA[text]]>.
inline std::string Describe(const XmlElement& node) {
  std::string out;
  switch (node.Kind()) {
    case XmlNodeKind::TextRun: return "'" + Printable(node.Value()) + "'";
    case XmlNodeKind::Comment: return "<!--" + Printable(node.Value()) + "-->";
    case XmlNodeKind::CDataSection: return "<![CDATA[" + Printable(node.Value()) + "]]>";
    case XmlNodeKind::DocumentType: return "<!DOCTYPE " + Printable(node.Value()) + ">";
    case XmlNodeKind::Declaration:
      return "<?xml " + Printable(node.Version()) + " " + Printable(node.Encoding()) +
             (node.StandAlone() ? " standalone" : "") + "?>";
    case XmlNodeKind::StylesheetInstruction: out = "<?xml-stylesheet"; break;
    case XmlNodeKind::MsoApplicationInstruction: out = "<?mso-application"; break;
    case XmlNodeKind::Element:
      if (!node.NameSpace().empty()) out = Printable(node.NameSpace()) + ":";
      out += Printable(node.Name());
      if (!node.Value().empty()) out += "=\"" + Printable(node.Value()) + "\"";
      break;
  }
  if (const XmlPropertyList* properties = node.PropertiesOrNull(); properties && properties->Count()) {
    out += "[";
    for (const XmlProperty& p : *properties) {
      if (out.back() != '[') out += " ";
      if (!p.nameSpace.empty()) out += Printable(p.nameSpace) + ":";
      out += Printable(p.name) + "=\"" + Printable(p.value) + "\"";
    }
    out += "]";
  }
  if (node.HasItems()) {
    out += "(";
    const XmlElementList& items = node.Items();
    for (int i = 0; i < items.Count(); ++i) out += (i ? " " : "") + Describe(items.ChildAt(i));
    out += ")";
  }
  if (node.Kind() != XmlNodeKind::Element) out += "?>";
  return out;
}

inline std::string DescribeProlog(const XmlProlog& prolog) {
  std::string out;
  for (int i = 0; i < prolog.Count(); ++i) out += (i ? " " : "") + Describe(prolog.ChildAt(i));
  return out;
}

// A fresh folder of its own for each test, removed afterwards.
class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("tasklane-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, ignored);
    for (const auto& entry : std::filesystem::directory_iterator(folder_, ignored)) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, ignored);
    }
    std::filesystem::remove_all(folder_, ignored);
  }
  std::filesystem::path folder_;
};

// Loads bytes into a new tree and describes its root.
inline std::string Loaded(std::string_view bytes) {
  XmlTree tree;
  tree.LoadFromBytes(bytes);
  return Describe(tree.Root());
}

}  // namespace tasklane::xml
