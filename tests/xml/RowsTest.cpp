// A section of rows read straight from the bytes must hold exactly what the tree would have
// held; any section laid out otherwise is left to the tree.
#include "xml/XmlRows.h"
#include "xml/XmlTestSupport.h"

namespace tasklane::xml {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view head = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<ToDoList>\r\n  <ColumnInfo/>\r\n";

std::string List(std::string_view content) { return std::string(head) + std::string(content) + "\r\n</ToDoList>\r\n"; }

// Loads with the rows, or without, and describes the root, with the failure if any. What the
// rows took goes back into the tree as elements; `taken` tells whether they took anything.
std::string Outcome(std::string_view bytes, bool withRows, bool& taken) {
  XmlTree tree;
  XmlRows rows(u"ToDoContent", "Column", "Text");
  std::string failure;
  try {
    tree.LoadFromBytes(bytes, withRows ? &rows : nullptr);
  } catch (const XmlError& e) {
    failure = e.what();
  }
  taken = rows.Section() != nullptr;
  for (int i = 0; taken && i < tree.Root().Items().Count(); ++i) {
    XmlElement& section = tree.Root().Items().ChildAt(i);
    if (&section != rows.Section()) continue;
    for (std::size_t r = 0; r < rows.RowCount(); ++r) {
      XmlElement& row = section.Items().Add(u"Column");
      for (std::u16string_view value : rows.Row(r)) row.Items().Add(u"Text", value);
    }
  }
  return failure + Describe(tree.Root());
}

void ExpectSameAsTree(std::string_view bytes, bool expectTaken) {
  SCOPED_TRACE(std::string(bytes));
  bool taken = false;
  const std::string plain = Outcome(bytes, false, taken);
  EXPECT_EQ(Outcome(bytes, true, taken), plain);
  EXPECT_EQ(taken, expectTaken);
}

TEST(Rows, WhatAWriterLaysOutIsTakenWithTheTreesValues) {
  ExpectSameAsTree(List("  <ToDoContent>\r\n"
                        "    <Column>\r\n"
                        "      <Text>&lt;draft&gt; &AMP; &#65;&#x42;&#X43; &nbsp; &#0; a&#x41</Text>\r\n"
                        "      <Text>  padded \t</Text>\r\n"
                        "      <Text> \r\n\t </Text>\r\n"
                        "      <Text></Text>\r\n"
                        "      <Text/>\r\n"
                        "      <Text>Stra&#xDF;e &#x1F600; a > b</Text>\r\n"
                        "    </Column>\r\n"
                        "    <Column></Column>\r\n"
                        "    <Column/>\r\n"
                        "    <Column><Text>x</Text></Column>\r\n"
                        "  </ToDoContent>"),
                   true);
  ExpectSameAsTree(List("<ToDoContent></ToDoContent>"), true);
  ExpectSameAsTree(List("<ToDoContent> \r\n </todocontent>"), true);
  // A section's own attributes and prefix are the tree's business.
  ExpectSameAsTree(List("<x:ToDoContent a=\"1\"><Column><Text>v</Text></Column></x:ToDoContent>"), true);
  // UTF-8 keeps ASCII as it is.
  ExpectSameAsTree("<?xml version=\"1.0\" encoding=\"utf-8\"?><L><ToDoContent><Column><Text>a</Text></Column>"
                   "</ToDoContent></L>",
                   true);
}

TEST(Rows, AnyOtherLayoutIsLeftToTheTree) {
  for (std::string_view content : {
           "<ToDoContent><Column><Text>caf\xE9</Text></Column></ToDoContent>",  // beyond ASCII
           "<ToDoContent><Column><Text>a</text></Column></ToDoContent>",
           "<ToDoContent><Column><Text>a</Text ></Column></ToDoContent>",
           "<ToDoContent><Column ><Text>a</Text></Column></ToDoContent>",
           "<ToDoContent><Column><Text a=\"1\">a</Text></Column></ToDoContent>",
           "<ToDoContent><Row><Text>a</Text></Row></ToDoContent>",
           "<ToDoContent><Column><Value>a</Value></Column></ToDoContent>",
           "<ToDoContent><Column>a<Text>b</Text></Column></ToDoContent>",
           "<ToDoContent>a<Column><Text>b</Text></Column></ToDoContent>",
           "<ToDoContent><!--c--><Column><Text>b</Text></Column></ToDoContent>",
           "<ToDoContent><Column><Text><![CDATA[x]]></Text></Column></ToDoContent>",
           "<ToDoContent><Column><Text><b>x</b></Text></Column></ToDoContent>",
           "<Other><ToDoContent><Column><Text>a</Text></Column></ToDoContent></Other>",  // not below the root
       }) {
    ExpectSameAsTree(List(content), false);
  }
  // The file ends inside the section.
  ExpectSameAsTree(std::string(head) + "<ToDoContent><Column><Text>a</Text></Column>", false);
  ExpectSameAsTree(std::string(head) + "<ToDoContent><Column><Text>a", false);
  // A charset that does not keep ASCII, and UTF-16, are decoded by the tree.
  ExpectSameAsTree("\xFF\xFE<\0L\0>\0<\0T\0o\0D\0o\0C\0o\0n\0t\0e\0n\0t\0>\0<\0/\0T\0o\0D\0o\0C\0o\0n\0t\0e\0n\0t\0>\0<\0/\0L\0>\0"sv,
                   false);
}

// Only the first section is taken; a later one of the same name goes to the tree, and
// lookups find whichever is last, as before.
TEST(Rows, OnlyTheFirstSectionIsTaken) {
  ExpectSameAsTree(List("<ToDoContent><Column><Text>a</Text></Column></ToDoContent>"
                        "<ToDoContent><Column><Text>b</Text></Column></ToDoContent>"),
                   true);
  ExpectSameAsTree(List("<ToDoContent><Column>x</Column></ToDoContent>"
                        "<ToDoContent><Column><Text>b</Text></Column></ToDoContent>"),
                   true);
}

// A failure after a section that was taken is the tree's failure, with the same message and
// what was read before it.
TEST(Rows, AFailureLaterFailsAsItWould) {
  ExpectSameAsTree(List("<ToDoContent><Column><Text>a</Text></Column></ToDoContentX>"), true);
  ExpectSameAsTree(List("<ToDoContent><Column><Text>a</Text></Column></ToDoContent><Left>5"), true);
}

}  // namespace
}  // namespace tasklane::xml
