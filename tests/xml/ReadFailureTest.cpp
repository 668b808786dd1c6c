// Every way reading fails: the message, with its arguments, and what the tree holds after.
#include "xml/XmlTestSupport.h"

namespace tasklane::xml {
namespace {

struct FailureCase {
  std::string_view text;
  std::u16string_view message;
};

bool IsKnownFailure(std::u16string_view message) {
  return message.empty() || message.starts_with(u"Invalid ") || message == u"No matching charset";
}

// Each case fails as given; each of its prefixes, as the disk may have kept it, loads or
// fails with one of the reader's own messages.
void ExpectFailures(std::initializer_list<FailureCase> cases) {
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    XmlTree tree;
    EXPECT_EQ(LoadFailure(tree, c.text), c.message);
    for (std::size_t length = 0; length < c.text.size(); ++length) {
      const std::u16string failure = LoadFailure(tree, c.text.substr(0, length));
      EXPECT_TRUE(IsKnownFailure(failure)) << "prefix of " << length << ": " << Printable(failure);
    }
  }
}

TEST(ReadFailure, Document) {
  ExpectFailures({
      {"hello<a/>", u"Invalid Document: Unexpected text in file prolog"},
      {"<!--c-->x<a/>", u"Invalid Document: Unexpected text in file prolog"},
      {"<?XML version=\"1.0\"?><a/>", u"Invalid XML Element: malformed tag found (no valid name)"},
      {"<?xml-foo?><a/>", u"Invalid XML Element: malformed tag found (no valid name)"},
      {"<!ELEMENT a><a/>", u"Invalid XML Element: malformed tag found (no valid name)"},
      {"<![CDATA[x]]><a/>", u"Invalid XML Element: malformed tag found (no valid name)"},
      {"<?xml version=\"1.0\" encoding=\"klingon\"?><a/>", u"No matching charset"},
  });
}

TEST(ReadFailure, Tags) {
  ExpectFailures({
      {"<a>x< b/></a>", u"Invalid XML Element: Expected beginning of tag but \"x\" found"},
      {"<a>x<:b/></a>", u"Invalid XML Element: Expected beginning of tag but \"x\" found"},
      {"< a/>", u"Invalid XML Element: malformed tag found (no valid name)"},
      {"<>x</>", u"Invalid XML Element: malformed tag found (no valid name)"},
      {"<a></></a>", u"Invalid XML Element: Erroneous end of tag, expecting </a> but </> found"},
      {"<ns:/>", u"Invalid XML Element: malformed tag found (no valid name)"},
      {"<a><b&c/></a>", u"Invalid XML Element: malformed tag found (no valid name)"},
      {"<a:b:c/>", u"Invalid XML Element: malformed tag found (no valid name)"},
      {"<a><b></b&></a>", u"Invalid XML Element: malformed tag found (no valid name)"},
      {"<a><b/x></a>", u"Invalid XML Element: Expected end of tag but \"x\" found"},
      {"<a x='1'?>", u"Invalid XML Element: Expected end of tag but \"?\" found"},
      {"<a><b>1</b>x", u"Invalid XML Element: Expected end of tag but \"x\" found"},
      {"<ToDoList><WindowPosition><Left>5", u"Invalid XML Element: Expected end of tag but \"5\" found"},
      {"<ToDoList><WindowPosition><Left>5<", u"Invalid XML Element: Expected end of tag but \"5\" found"},
      {"<a><b>1</b \t x>", u"Invalid XML Element: Expected end of tag but \"x\" found"},
      {"<ToDoList></ToDo>", u"Invalid XML Element: Erroneous end of tag, expecting </ToDoList> but </ToDo> found"},
      {"<ns:a></ns:b>", u"Invalid XML Element: Erroneous end of tag, expecting </a> but </ns:b> found"},
      {"<ns:a></a>", u"Invalid XML Element: Erroneous end of tag, expecting </a> but </a> found"},
      {"<a><b></c></a>", u"Invalid XML Element: Erroneous end of tag, expecting </b> but </c> found"},
  });
}

TEST(ReadFailure, Attributes) {
  ExpectFailures({
      {"<a &/>", u"Invalid XML Element: Unexpected character in property declaration (\"&\" found)"},
      {"<a b c='1'/>", u"Invalid XML Element: Unexpected character in property declaration (\"c\" found)"},
      {"<a b>", u"Invalid XML Element: Unexpected character in property declaration (\">\" found)"},
      {"<a b=1/>", u"Invalid XML Element: Unexpected character in property declaration. Expecting \" or ' but \"1\"  found"},
      {"<?xml-stylesheet href=x?><a/>", u"Invalid XML Element: Unexpected character in property declaration. Expecting \" or ' but \"x\"  found"},
  });
}

TEST(ReadFailure, Items) {
  ExpectFailures({
      {"<!-- a -- b --><a/>", u"Invalid Comment: \"--\" not allowed inside comments"},
      {"<a><!-- a --- b --></a>", u"Invalid Comment: \"--\" not allowed inside comments"},
      {"<!-- open", u"Invalid Comment: Unexpected end of data"},
      {"<a><!-- open --", u"Invalid Comment: Unexpected end of data"},
      {"<?xml version=\"1.0\"", u"Invalid Comment: Unexpected end of data"},
      {"<?xml version=\"1.0\" ?", u"Invalid Comment: Unexpected end of data"},
      {"<!DOCTYPE a [<!ELEMENT a>]", u"Invalid Comment: Unexpected end of data"},
      {"<a><![CDATA[ x ]]", u"Invalid CDATA: Unexpected end of data"},
      {"<a><![CDATA[", u"Invalid CDATA: Unexpected end of data"},
      {"<?xml version=\"1.0\"/><a/>", u"Invalid Header: expected \"?\" but found \"/\""},
      {"<?xml version=\"1.0\"?x<a/>", u"Invalid Header: expected \">\" but found \"x\""},
      {"<?xml-stylesheet href=\"a\"><a/>", u"Invalid Stylesheet: expected \"?\" but found \">\""},
      {"<?xml-stylesheet href=\"a", u"Invalid Stylesheet: Unexpected end of data"},
      {"<?mso-application progid=\"x\"/><a/>", u"Invalid MSO: expected \"?\" but found \"/\""},
      {"<?mso-application progid=\"x\"", u"Invalid MSO: Unexpected end of data"},
  });
}

// A failed read keeps the top-level children and the prolog items it finished, and the
// root's own name, value and prefix from before.
TEST(ReadFailure, StateAfterwards) {
  XmlTree tree;
  tree.Root().SetName(u"Before");
  tree.Root().SetNameSpace(u"old");
  tree.Root().SetValue(u"kept");
  tree.Root().Properties().Add(u"gone", u"1");
  tree.Root().Items().Add(u"Gone");
  const std::u16string failure = LoadFailure(
      tree, "<!--c--><?xml version=\"1.0\"?><ns:ToDoList x='1'><A><B>1</B></A>text<C><D/></E></C></ns:ToDoList>");
  EXPECT_EQ(failure, u"Invalid XML Element: Erroneous end of tag, expecting </C> but </E> found");
  EXPECT_EQ(Describe(tree.Root()), "old:Before=\"kept\"[x=\"1\"](A(B=\"1\") 'text')");
  EXPECT_EQ(DescribeProlog(tree.Prolog()), "<!--c--> <?xml 1.0 iso-8859-1?>");

  EXPECT_EQ(LoadFailure(tree, "<!--c--><!-- a -- b -->"), u"Invalid Comment: \"--\" not allowed inside comments");
  EXPECT_EQ(DescribeProlog(tree.Prolog()), "<!--c-->");
  EXPECT_EQ(Describe(tree.Root()), "old:Before=\"kept\"");
}

// Whatever prefix of a list file the disk kept, reading it never fails in any other way
// and never loses a top-level child that was complete.
TEST(ReadFailure, EveryPrefixOfAFile) {
  const std::string file =
      "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<ToDoList>\r\n  <!-- note -->\r\n"
      "  <WindowPosition>\r\n    <Left>100</Left>\r\n  </WindowPosition>\r\n"
      "  <Skin a=\"1\">\r\n    <SkinName>No Skin</SkinName>\r\n    <SkinPath/>\r\n  </Skin>\r\n"
      "  <![CDATA[x]]>\r\n  <ToDoContent>\r\n    <Column>\r\n      <Text>f&#xFC;r</Text>\r\n"
      "    </Column>\r\n  </ToDoContent>\r\n</ToDoList>\r\n";
  const std::u16string allowed[] = {
      u"",
      u"Invalid Comment: Unexpected end of data",
      u"Invalid CDATA: Unexpected end of data",
      u"Invalid XML Element: malformed tag found (no valid name)",  // "<?xml" before its blank
  };
  for (std::size_t length = 0; length <= file.size(); ++length) {
    SCOPED_TRACE(file.substr(0, length));
    XmlTree tree;
    const std::u16string failure = LoadFailure(tree, std::string_view(file).substr(0, length));
    const bool known = std::find(std::begin(allowed), std::end(allowed), failure) != std::end(allowed) ||
                       failure.rfind(u"Invalid XML Element: Expected end of tag but ", 0) == 0;
    EXPECT_TRUE(known) << Printable(failure);
    if (length > file.find("</WindowPosition>") + 17) {
      EXPECT_NE(tree.Root().Items().ChildNamed(u"WindowPosition"), nullptr);
    }
  }
  XmlTree whole;
  whole.LoadFromBytes(file);
  EXPECT_EQ(Describe(whole.Root()),
            "ToDoList(<!-- note --> WindowPosition(Left=\"100\") Skin[a=\"1\"](SkinName=\"No Skin\" SkinPath) "
            "<![CDATA[x]]> ToDoContent(Column(Text=\"f\\u00FCr\")))");
}

}  // namespace
}  // namespace tasklane::xml
