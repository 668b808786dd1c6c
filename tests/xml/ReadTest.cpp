// Reading: the tree built from text, what the reader tolerates, and decoding.
#include <unistd.h>

#include <fstream>

#include "xml/Charsets.h"
#include "xml/XmlReader.h"
#include "xml/XmlTestSupport.h"

namespace tasklane::xml {
namespace {

struct ReadCase {
  std::string_view text;
  std::string_view tree;
};

void ExpectTrees(std::initializer_list<ReadCase> cases) {
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    try {
      EXPECT_EQ(Loaded(c.text), c.tree);
    } catch (const XmlError& e) {
      ADD_FAILURE() << "failed with " << e.what();
    }
  }
}

TEST(Read, ValueOrChildren) {
  ExpectTrees({
      {"<Left>10</Left>", "Left=\"10\""},
      {"<a><Left> 100 </Left></a>", "a(Left=\" 100 \")"},
      {"<a><Text> </Text></a>", "a(Text)"},
      {"<a><Text> \r\n\t</Text></a>", "a(Text)"},
      {"<a><Text/></a>", "a(Text)"},
      {"<a><Text></Text></a>", "a(Text)"},
      {"<a><Left><!--x-->10</Left></a>", "a(Left(<!--x--> '10'))"},
      {"<a><Left><![CDATA[10]]></Left></a>", "a(Left(<![CDATA[10]]>))"},
      {"<a><b>x<c/>y</b></a>", "a(b('x' c 'y'))"},
      {"<a><b>\r\n  <c>1</c>\r\n  <d/>\r\n</b></a>", "a(b(c=\"1\" d))"},
      {"<a><b>line 1\r\nline 2</b></a>", "a(b=\"line 1\\u000D\\u000Aline 2\")"},
      {"<a><b>&lt;&amp;lt;&#xFC;&#65;</b></a>", "a(b=\"<&lt;\\u00FCA\")"},
      {"<a><b><![CDATA[ ]]]> ]]></b></a>", "a(b(<![CDATA[ ]]]> ]]>))"},
            {"<a><b><![CDATA\r\n\t[x]]></b></a>", "a(b(<![CDATA[x]]>))"},
      {"<a><b><!-- a - b --></b></a>", "a(b(<!-- a - b -->))"},
  });
  XmlTree tree;
  tree.LoadFromBytes("<a><Left> 100 </Left></a>");
  EXPECT_EQ(tree.Root().Items().ChildAt(0).IntValue(), -1);
}

TEST(Read, RootTakesASoleTextRunAsValueToo) {
  ExpectTrees({{"<a>x</a>", "a=\"x\""}, {"<a> <b/>tail</a>", "a(b 'tail')"}, {"<a>x<!---->y</a>", "a('x' <!----> 'y')"}});
}

TEST(Read, NamesPrefixesAndAttributes) {
  ExpectTrees({
      {"<ns:Root><ns:Item/></NS:root>", "ns:Root(ns:Item)"},
      {"<ToDoList></todolist>", "ToDoList"},
      {"<\xC4pfel><b/></\xE4PFEL>", "\\u00C4pfel(b)"},
      {"<a x=\"1\" y='2' ns:z = \"&lt;3&gt;\"/>", "a[x=\"1\" y=\"2\" ns:z=\"<3>\"]"},
      {"<a\r\n  x=\"'\"\ty='\"'>v</a>", "a=\"v\"[x=\"'\" y=\"\"\"]"},
      {"<a x=\"1\"x=\"2\"/>", "a[x=\"1\" x=\"2\"]"},
      {"<a><b c=\"&amp;\">1</b></a>", "a(b=\"1\"[c=\"&\"])"},
      {"<a><b\r\n/></a>", "a(b)"},
      {"<a><b ></b ></a>", "a(b)"},
      {"<a><Left>5</Left\r\n ></a>", "a(Left=\"5\")"},
      {"<a.b-c_d1/>", "a.b-c_d1"},
  });
}

TEST(Read, PrologItems) {
  XmlTree tree;
  tree.LoadFromBytes(
      " <!-- first -->\r\n<?xml version=\"1.1\" encoding='UTF-8' standalone=\"yes\"?>"
      "<!DOCTYPE  ToDoList [<!ELEMENT a (b)>]>\r\n<?xml-stylesheet href=\"a&amp;b.css\" type='text/css'?>"
      "<?mso-application progid=\"Excel.Sheet\"?><ToDoList/>");
  EXPECT_EQ(DescribeProlog(tree.Prolog()),
            "<!-- first --> <?xml 1.1 UTF-8 standalone?> <!DOCTYPE ToDoList [<!ELEMENT a (b)>]> "
            "<?xml-stylesheet[href=\"a&b.css\" type=\"text/css\"]?> <?mso-application[progid=\"Excel.Sheet\"]?>");
  EXPECT_EQ(Describe(tree.Root()), "ToDoList");

  tree.LoadFromBytes("<?xml version='1.0' standalone='YES'?><a/>");
  EXPECT_EQ(DescribeProlog(tree.Prolog()), "<?xml 1.0 iso-8859-1?>");
  tree.LoadFromBytes("<?xml encoding=\"latin1\" ?><a/>");
  EXPECT_EQ(DescribeProlog(tree.Prolog()), "<?xml 1.0 latin1?>");
}

TEST(Read, EverythingAfterTheRootIsIgnored) {
  ExpectTrees({
      {"<a><b/></a><c/>", "a(b)"},
      {"<a/>trailing text & <<", "a"},
      {"<a></a></b></c>", "a"},
  });
}

TEST(Read, CutOffTextKeepsWhatWasRead) {
  ExpectTrees({
      {"<ToDoList><WindowPosition><Left>5</Left>", "ToDoList(WindowPosition(Left=\"5\"))"},
      {"<ToDoList><WindowPosition><Left>5</Le", "ToDoList(WindowPosition(Left('5')))"},
      {"<ToDoList><WindowPosition><Left>5</Left", "ToDoList(WindowPosition(Left('5')))"},
      {"<ToDoList><Left x=\"1", "ToDoList(Left)"},
      {"<ToDoList><Left x=\"1\" y", "ToDoList(Left[x=\"1\"])"},
      {"<ToDoList><Left/", "ToDoList(Left)"},
      {"<ToDoList><Le", "ToDoList(Le)"},
      {"<a><b>1</b><", "a(b=\"1\")"},
      {"<a><b>1</b></", "a(b=\"1\")"},
      {"<ToDoList>\r\n  ", "ToDoList"},
      {"<ToDo", "ToDo"},
  });
}

// The texts of what a failed read keeps live on with the tree, not with the reading.
TEST(Read, FailureKeepsTheFinishedElementsWithTheirTexts) {
  XmlTree tree;
  tree.Root().SetName(u"a");
  EXPECT_THROW(tree.LoadFromBytes("<a><b>one &amp; two</b><c>three</c>x<d>4</e></a>"), XmlError);
  EXPECT_EQ(Describe(tree.Root()), "a(b=\"one & two\" c=\"three\" 'x')");
}

TEST(Read, EmptyTextOrPrologOnlyKeepsTheRootName) {
  XmlTree tree;
  tree.Root().SetName(u"ToDoList");
  for (std::string_view text : {"", " \r\n\t", "<?xml version=\"1.0\"?>\r\n<!-- only -->\r\n", "<"}) {
    SCOPED_TRACE(std::string(text));
    tree.LoadFromBytes("<Old a='1'><x/></Old>");
    tree.Root().SetName(u"ToDoList");
    tree.LoadFromBytes(text);
    EXPECT_EQ(Describe(tree.Root()), "ToDoList");
  }
}

TEST(Read, LoadsDoNotAccumulate) {
  XmlTree tree;
  tree.LoadFromBytes("<!--a--><a x='1'><b/><c/></a>");
  tree.LoadFromBytes("<!--z--><z><y/></z>");
  EXPECT_EQ(DescribeProlog(tree.Prolog()), "<!--z-->");
  EXPECT_EQ(Describe(tree.Root()), "z(y)");
  ASSERT_NE(tree.Root().Items().ChildNamed(u"Y"), nullptr);
  EXPECT_EQ(tree.Root().Items().ChildNamed(u"b"), nullptr);
}

TEST(Read, NestingIsBoundedAt256Levels) {
  auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<a>";
    for (int i = 0; i < depth; ++i) text += "</a>";
    return text;
  };
  XmlTree tree;
  EXPECT_EQ(LoadFailure(tree, nested(256)), u"");
  EXPECT_EQ(LoadFailure(tree, nested(257)), u"Invalid XML Element: Elements nested deeper than 256 levels");
  EXPECT_EQ(LoadFailure(tree, nested(100000)), u"Invalid XML Element: Elements nested deeper than 256 levels");
}

TEST(Read, LoadFromStringReadsTextAsIs) {
  XmlTree tree;
  tree.LoadFromString(u"<?xml version=\"1.0\" encoding=\"utf-8\"?><a><b>\u20ac\U0001F600</b></a>");
  EXPECT_EQ(tree.Root().Items().ChildAt(0).Value(), u"\u20ac\U0001F600");
}

// Bytes up to the declaration are read in the default code page (Windows-1252 here), the rest
// in the charset the declaration names.
TEST(Decode, DefaultCodePageUntilTheDeclaration) {
  ExpectTrees({
      {"<a><b>\x80\xE4</b></a>", "a(b=\"\\u20AC\\u00E4\")"},
      {"<?xml version=\"1.0\"?><a><b>\x80\xE4</b></a>", "a(b=\"\\u0080\\u00E4\")"},
      {"<!--\x80--><?xml version=\"1.0\" encoding=\"UTF-8\"?><a><b>\xC3\xA4\xE2\x82\xAC</b></a>",
       "a(b=\"\\u00E4\\u20AC\")"},
      {"<?xml version=\"1.0\" encoding=\"utf-8\"?><a><b>\xF0\x9F\x98\x80</b></a>", "a(b=\"\\uD83D\\uDE00\")"},
      {"<?xml version=\"1.0\" encoding=\"utf-8\"?><a><b>x\xFFy\xC3</b></a>", "a(b=\"x\\uFFFDy\\uFFFD\")"},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><a><b>\xA4</b></a>", "a(b=\"\\u20AC\")"},
      {"<?xml version=\"1.0\" encoding=\"Latin1\"?><a><b>\xA4</b></a>", "a(b=\"\\u00A4\")"},
      {"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a><b>\x80</b></a>", "a(b=\"\\u20AC\")"},
      {"<?xml version=\"1.0\" encoding=\"us-ascii\"?><a><b>ok</b></a>", "a(b=\"ok\")"},
      {"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a><b>\x80</b></a>", "a(b=\"\\u20AC\")"},
  });
}

// The system's own code page, where it tells one: a Russian Windows reads an undeclared file
// as its programs wrote it, and writes what it lacks as "?".
TEST(Decode, TheSystemsCodePageWhereItTellsOne) {
  std::u16string cyrillic(256, u'\uFFFD');
  for (int b = 0; b < 128; ++b) cyrillic[static_cast<std::size_t>(b)] = static_cast<char16_t>(b);
  for (int b = 0xC0; b < 0x100; ++b) cyrillic[static_cast<std::size_t>(b)] = static_cast<char16_t>(0x410 + b - 0xC0);
  SetDefaultCodePage(cyrillic);
  ExpectTrees({
      {"<a><b>\xCC\xE8\xF0</b></a>", "a(b=\"\\u041C\\u0438\\u0440\")"},
      {"<?xml version=\"1.0\"?><a><b>\xCC</b></a>", "a(b=\"\\u00CC\")"},
  });
  std::string bytes;
  AppendEncoded(DefaultCodePage(), u"\u041C\u00E4", bytes);
  UseWindows1252AsDefault();
  EXPECT_EQ(bytes, "\xCC?");
  EXPECT_THROW(SetDefaultCodePage(u"short"), std::invalid_argument);
}

// A double-byte code page of its own: 0x81 to 0x9F lead a pair, whose trail byte may look
// like a lead byte; a pair is one CJK character.
class ToyDoubleByte final : public DoubleByteCodec {
 public:
  bool IsLeadByte(unsigned char b) const override { return b >= 0x81 && b <= 0x9F; }
  void Decode(std::string_view bytes, std::u16string& text) const override {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (IsLeadByte(b) && i + 1 < bytes.size()) {
        text += static_cast<char16_t>(0x4E00 + (b - 0x81) * 256 + static_cast<unsigned char>(bytes[++i]));
      } else {
        text += static_cast<char16_t>(b);
      }
    }
  }
  void Encode(std::u16string_view text, std::string& bytes) const override {
    for (char16_t c : text) bytes += c < 0x80 ? static_cast<char>(c) : '?';
  }
};

const ToyDoubleByte toy;
const Charset toyCharset{CharsetKind::DoubleByte, nullptr, &toy};

// Pairs are never cut where the text is decoded piece by piece, nor where a declaration
// switches the charset; the system's own names are found after ours.
TEST(Decode, TheSystemsDoubleByteCodePagesAndNames) {
  SetDefaultCodePage(toy);
  std::string pairs;
  for (int i = 0; i < 300; ++i) pairs += "\x81\x81";
  const std::u16string expected(300, u'\u4E81');
  for (const std::string& lead : {std::string(), std::string("x"), std::string("xy")}) {
    XmlTree tree;
    tree.LoadFromBytes("<a><b>" + lead + pairs + "</b></a>");
    EXPECT_EQ(tree.Root().Items().ChildAt(0).Value(), std::u16string(lead.begin(), lead.end()) + expected);
  }
  XmlTree switched;
  switched.LoadFromBytes("<!--" + pairs + "--><?xml version=\"1.0\" encoding=\"utf-8\"?><a><b>\xC3\xA4</b></a>");
  EXPECT_EQ(switched.Root().Items().ChildAt(0).Value(), u"\u00E4");
  UseWindows1252AsDefault();

  SetSystemCharsets([](std::u16string_view name) { return name == u"x-Toy" ? &toyCharset : nullptr; });
  XmlTree named;
  named.LoadFromBytes("<?xml version=\"1.0\" encoding=\"x-Toy\"?><a><b>\x82\x40</b></a>");
  SetSystemCharsets(nullptr);
  EXPECT_EQ(named.Root().Items().ChildAt(0).Value(), u"\u4F40");
}

TEST(Decode, ByteOrderMarks) {
  using namespace std::string_literals;
  ExpectTrees({
      {"\xEF\xBB\xBF<a><b>\xE4</b></a>", "a(b=\"\\u00E4\")"},
      {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?><a><b>\xC3\xA4</b></a>", "a(b=\"\\u00E4\")"},
  });
  const std::string little = "\xFF\xFE<\0a\0>\0<\0b\0>\0\xAC\x20<\0/\0b\0>\0<\0/\0a\0>\0"s;
  const std::string big = "\xFE\xFF\0<\0a\0>\0<\0b\0>\x20\xAC\0<\0/\0b\0>\0<\0/\0a\0>"s;
  EXPECT_EQ(Loaded(little), "a(b=\"\\u20AC\")");
  EXPECT_EQ(Loaded(big), "a(b=\"\\u20AC\")");
}

constexpr std::string_view utf8Declaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
constexpr std::string_view latin1Declaration = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n";

// Each switch of the charset decodes again what lies behind its declaration, but only as far
// as reading gets before the next switch, not the rest of the file each time.
TEST(Decode, SwitchingCharsetsDecodesTheFileAboutOnce) {
  std::string bytes;
  for (int i = 0; i < 2000; ++i) bytes += i % 2 == 0 ? utf8Declaration : latin1Declaration;
  bytes += "<a><b>" + std::string(50000, '\xE4') + "</b></a>";
  XmlTree tree;
  XmlSource source(bytes);
  ReadTree(tree, source);
  ASSERT_EQ(tree.Prolog().Count(), 2000);
  EXPECT_EQ(tree.Prolog().ChildAt(1998).Encoding(), u"utf-8");
  EXPECT_EQ(tree.Prolog().ChildAt(1999).Encoding(), u"iso-8859-1");
  EXPECT_EQ(tree.Root().Items().ChildAt(0).Value(), std::u16string(50000, u'\u00E4'));
  EXPECT_LE(source.DecodedUnits(), 2 * bytes.size());
}

// The text is decoded a piece at a time; no piece ends inside a UTF-8 sequence, valid or not.
TEST(Decode, PieceByPieceGivesTheTextOfOneGo) {
  constexpr std::string_view sequences[] = {
      "x", "\xC3\xA4", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xFF", "\xC3", "\x80\x80", "\xE2\x82", " ",
  };
  std::string text;
  unsigned state = 1;
  while (text.size() < 300000) {
    state = state * 1103515245u + 12345u;
    text += sequences[(state >> 16) % std::size(sequences)];
  }
  XmlTree tree;
  tree.LoadFromBytes(std::string(utf8Declaration) + "<a><b>" + text + "</b></a>");
  EXPECT_TRUE(tree.Root().Items().ChildAt(0).Value() == FromUtf8(text));
}

// Comments, values and sections longer than the first pieces of the decoded text, ending
// anywhere around where one piece ends and the next begins.
TEST(Read, LongItemsAcrossDecodedPieces) {
  // U+00E4, "-" and "y" in turn, in UTF-8 and as read; no "--" in a comment, nor a "-" at its end.
  auto text = [](std::size_t length, bool comment) {
    std::pair<std::string, std::u16string> t;
    for (std::size_t i = 0; i < length; ++i) {
      const bool dash = i % 3 == 1 || (!comment && i % 3 == 2);
      if (i % 3 == 0) t.first += "\xC3\xA4", t.second += u'\u00E4';
      else if (dash && !(comment && i + 1 == length)) t.first += '-', t.second += u'-';
      else t.first += 'y', t.second += u'y';
    }
    return t;
  };
  for (std::size_t length = 0; length < 600; ++length) {
    SCOPED_TRACE(length);
    const auto [comment, expectedComment] = text(length, true);
    const auto [x, expected] = text(length, false);
    XmlTree tree;
    tree.LoadFromBytes(std::string(utf8Declaration) + "<!--" + comment + "-->" + "<a x=\"" + x + "\"><b>" + x +
                       "</b><c><![CDATA[" + x + "]]></c></a>");
    ASSERT_EQ(tree.Prolog().Count(), 2);
    EXPECT_TRUE(tree.Prolog().ChildAt(1).Value() == expectedComment);
    EXPECT_TRUE(tree.Root().Properties().Find(u"x")->value == expected);
    EXPECT_TRUE(tree.Root().Items().ChildNamed(u"b")->Value() == expected);
    EXPECT_TRUE(tree.Root().Items().ChildNamed(u"c")->Items().ChildAt(0).Value() == expected);
    EXPECT_EQ(LoadFailure(tree, std::string(utf8Declaration) + "<!--" + comment),
              u"Invalid Comment: Unexpected end of data");
  }
}

using ReadFile = TempFolderTest;

TEST_F(ReadFile, ReadsTheWholeFile) {
  const auto path = folder_ / "ToDoList.xml";
  std::string text = "<ToDoList>";
  for (int i = 0; i < 20000; ++i) text += "<Text>" + std::to_string(i) + "</Text>";
  std::ofstream(path, std::ios::binary) << text << "</ToDoList>";
  XmlTree tree;
  tree.LoadFromFile(path);
  ASSERT_EQ(tree.Root().Items().Count(), 20000);
  EXPECT_EQ(tree.Root().Items().ChildAt(19999).IntValue(), 19999);
  EXPECT_EQ(tree.Root().Items().ChildNamed(u"TEXT"), &tree.Root().Items().ChildAt(19999));
}

TEST_F(ReadFile, MissingFileLeavesTheTreeAlone) {
  XmlTree tree;
  tree.LoadFromBytes("<!--c--><ToDoList><a/></ToDoList>");
  const auto path = folder_ / "missing.xml";
  try {
    tree.LoadFromFile(path);
    FAIL() << "loading a missing file succeeded";
  } catch (const XmlError& e) {
    EXPECT_EQ(e.Message(), u"Cannot open file \"" + path.u16string() + u"\". No such file or directory");
  }
  EXPECT_EQ(Describe(tree.Root()), "ToDoList(a)");
  EXPECT_EQ(DescribeProlog(tree.Prolog()), "<!--c-->");
}

}  // namespace
}  // namespace tasklane::xml
