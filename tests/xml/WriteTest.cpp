// The text form, byte for byte.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "xml/XmlTestSupport.h"
#include "xml/XmlWriter.h"

namespace tasklane::xml {
namespace {

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) (text += line) += "\r\n";
  return text;
}

constexpr std::string_view declaration = "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>";

void BuildExample(XmlTree& tree) {
  tree.LoadFromString(u"");
  tree.Root().SetName(u"ToDoList");
  XmlElementList& root = tree.Root().Items();
  XmlElementList& position = root.Add(u"WindowPosition").Items();
  position.Add(u"Left", u"100");
  position.Add(u"Top", u"50");
  XmlElementList& skin = root.Add(u"Skin").Items();
  skin.Add(u"SkinName", u"No Skin");
  skin.Add(u"SkinPath", u"");
  XmlElementList& row = root.Add(u"ToDoContent").Items().Add(u"Column").Items();
  row.Add(u"Text", u"Fish & chips <2>");
  row.Add(u"Text", u"f\u00fcr alle");
  row.Add(u"Text", u"");
}

const std::string example = Lines({
    declaration, "<ToDoList>", "  <WindowPosition>", "    <Left>100</Left>", "    <Top>50</Top>",
    "  </WindowPosition>", "  <Skin>", "    <SkinName>No Skin</SkinName>", "    <SkinPath/>",
    "  </Skin>", "  <ToDoContent>", "    <Column>", "      <Text>Fish &amp; chips &lt;2&gt;</Text>",
    "      <Text>f&#xFC;r alle</Text>", "      <Text/>", "    </Column>", "  </ToDoContent>",
    "</ToDoList>"});

TEST(Write, WorkedExampleComesOutExactly) {
  XmlTree tree;
  BuildExample(tree);
  const std::string bytes = tree.SaveToBytes();
  EXPECT_EQ(bytes, example);
  EXPECT_EQ(bytes.size(), 384u);
}

// The same elements written one by one, without a tree, give the same bytes; an element
// closed without children is an empty one, as the tree writes it.
TEST(Write, ElementByElementComesOutAsTheTreeDoes) {
  std::string bytes;
  XmlStreamWriter out([&](std::string_view chunk) { bytes.append(chunk); });
  out.Open(u"ToDoList");
  out.Open(u"WindowPosition");
  out.Leaf(u"Left", u"100");
  out.Leaf(u"Top", u"50");
  out.Close();
  out.Open(u"Skin");
  out.Leaf(u"SkinName", u"No Skin");
  out.Leaf(u"SkinPath", u"");
  out.Close();
  out.Open(u"ToDoContent");
  out.Open(u"Column");
  out.Leaf(u"Text", u"Fish & chips <2>");
  out.Leaf(u"Text", u"f\u00fcr alle");
  out.Leaf(u"Text", u"");
  out.Finish();
  EXPECT_EQ(bytes, example);

  std::string empty;
  XmlStreamWriter none([&](std::string_view chunk) { empty.append(chunk); });
  none.Open(u"ToDoList");
  none.Open(u"ToDoContent");
  none.Finish();
  EXPECT_EQ(empty, Lines({declaration, "<ToDoList>", "  <ToDoContent/>", "</ToDoList>"}));
}

TEST(Write, EmptiedTreeWritesDeclarationAndEmptyRoot) {
  XmlTree tree;
  tree.LoadFromString(u"");
  tree.Root().SetName(u"ToDoList");
  EXPECT_EQ(tree.SaveToBytes(), Lines({declaration, "<ToDoList/>"}));
  // The default declaration was added once and is reused.
  ASSERT_EQ(tree.Prolog().Count(), 1);
  const XmlElement& added = tree.Prolog().ChildAt(0);
  EXPECT_EQ(added.Kind(), XmlNodeKind::Declaration);
  EXPECT_EQ(added.Version(), u"1.0");
  EXPECT_EQ(added.Encoding(), u"iso-8859-1");
  EXPECT_FALSE(added.StandAlone());
  tree.SaveToBytes();
  EXPECT_EQ(tree.Prolog().Count(), 1);
}

TEST(Write, EveryKindOfNode) {
  XmlTree tree;
  tree.Root().SetName(u"Root");
  tree.Root().SetNameSpace(u"ns");
  XmlElementList& items = tree.Root().Items();
  XmlElement& parent = items.Add(u"Parent", u"not written");
  parent.Items().Add(u"Child", u"1");
  XmlElement& unnamed = items.Add(u"");
  unnamed.Items().Add(u"Inner");
  items.Append(std::make_unique<XmlElement>(XmlNodeKind::TextRun, u"", u"a<b"));
  items.Append(std::make_unique<XmlElement>(XmlNodeKind::TextRun, u"", u""));
  items.Append(std::make_unique<XmlElement>(XmlNodeKind::Comment, u"", u" c&d "));
  items.Append(std::make_unique<XmlElement>(XmlNodeKind::CDataSection, u"", u"<x>"));
  XmlElement& withAttributes = items.Add(u"A");
  withAttributes.Properties().Add(u"href", u"a&\"b\"", u"x");
  withAttributes.Properties().Add(u"n", u"1");
  auto doctype = std::make_unique<XmlElement>(XmlNodeKind::DocumentType, u"", u"ToDoList");
  tree.Prolog().Append(std::move(doctype));
  auto sheet = std::make_unique<XmlElement>(XmlNodeKind::StylesheetInstruction);
  sheet->Properties().Add(u"href", u"s.css");
  tree.Prolog().Append(std::move(sheet));
  tree.Prolog().Append(std::make_unique<XmlElement>(XmlNodeKind::MsoApplicationInstruction));
  EXPECT_EQ(tree.SaveToBytes(),
            Lines({"<!DOCTYPE ToDoList>", "<?xml-stylesheet href=\"s.css\"?>", "<?mso-application?>",
                   declaration, "<ns:Root>", "  <Parent>", "    <Child>1</Child>", "  </Parent>",
                   "    <Inner/>", "  a&lt;b", "  <!-- c&d -->", "  <![CDATA[<x>]]>",
                   "  <A x:href=\"a&amp;&quot;b&quot;\" n=\"1\"/>", "</ns:Root>"}));
}

TEST(Write, DeclarationFieldsAndIndent) {
  XmlTree tree;
  auto decl = std::make_unique<XmlElement>(XmlNodeKind::Declaration);
  decl->SetEncoding(u"");
  decl->SetStandAlone(true);
  tree.Prolog().Append(std::move(decl));
  tree.SetIndentString(u"\t");
  tree.Root().SetName(u"a");
  tree.Root().Items().Add(u"b", u"1");
  EXPECT_EQ(tree.SaveToBytes(),
            Lines({"<?xml version=\"1.0\" standalone=\"yes\"?>", "<a>", "\t<b>1</b>", "</a>"}));
}

// Values, attribute values and names go through the one escaping routine of EscapeValue.
TEST(Write, EscapesValuesNamesAndAttributesAlike) {
  const std::u16string awkward = u"it's \u0100 \u20AC \U0001F600 &<>\"";
  const std::string escaped = "it&apos;s &#x0100; &#x20AC; &#xD83D;&#xDE00; &amp;&lt;&gt;&quot;";
  XmlTree tree;
  tree.LoadFromString(u"");
  tree.Root().SetName(u"L\u00F6sung");
  tree.Root().Items().Add(u"Text", awkward).Properties().Add(u"note", awkward);
  EXPECT_EQ(tree.SaveToBytes(), Lines({declaration, "<L&#xF6;sung>",
                                       "  <Text note=\"" + escaped + "\">" + escaped + "</Text>",
                                       "</L&#xF6;sung>"}));
  EXPECT_EQ(EscapeValue(awkward), std::u16string(escaped.begin(), escaped.end()));
}

// What is written as it is (comments, CDATA sections, the document type, attribute names)
// goes out in the charset the declaration names, character by character.
TEST(Write, UnescapedTextInTheDeclaredCharset) {
  struct Case {
    std::u16string_view encoding;
    std::string_view comment;  // the bytes for U+00E4, U+20AC, U+1F600, a lone high surrogate, U+FFFD
  };
  const Case cases[] = {
      {u"utf-8", "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBD\xEF\xBF\xBD"},
      {u"US-ASCII", "?????"},
      {u"iso-8859-1", "\xE4????"},
      {u"iso-8859-15", "\xE4\xA4???"},
      {u"windows-1252", "\xE4\x80???"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.encoding.begin(), c.encoding.end()));
    XmlTree tree;
    auto decl = std::make_unique<XmlElement>(XmlNodeKind::Declaration);
    decl->SetEncoding(c.encoding);
    tree.Prolog().Append(std::move(decl));
    tree.Root().SetName(u"a");
    tree.Root().Items().Append(
        std::make_unique<XmlElement>(XmlNodeKind::Comment, u"", u"\u00E4\u20AC\U0001F600\xD800\uFFFD"));
    const std::string encoding(c.encoding.begin(), c.encoding.end());
    EXPECT_EQ(tree.SaveToBytes(), Lines({"<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>", "<a>",
                                         "  <!--" + std::string(c.comment) + "-->", "</a>"}));
  }
}

TEST(Write, SingleByteCharsetGetsNoByteItLeavesUndefined) {
  XmlTree tree;
  tree.LoadFromBytes("<?xml version=\"1.0\" encoding=\"us-ascii\"?><a/>");
  tree.Root().Items().Append(std::make_unique<XmlElement>(XmlNodeKind::CDataSection, u"", u"\uFFFD\u0080\u00FF"));
  EXPECT_EQ(tree.SaveToBytes(), Lines({"<?xml version=\"1.0\" encoding=\"us-ascii\"?>", "<a>",
                                       "  <![CDATA[???]]>", "</a>"}));
}

// A character beyond U+FFFF read from a UTF-8 file goes out as the very same bytes.
TEST(Write, Utf8FileWrittenBackAsItWasRead) {
  const std::string bytes = Lines({"<?xml version=\"1.0\" encoding=\"utf-8\"?>", "<!--\xF0\x9F\x98\x80 \xE2\x82\xAC-->",
                                   "<a>", "  <![CDATA[\xF0\x9F\x98\x80]]>", "</a>"});
  XmlTree tree;
  tree.LoadFromBytes(bytes);
  EXPECT_EQ(tree.SaveToBytes(), bytes);
}

class WriteFile : public TempFolderTest {
 protected:
  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(WriteFile, ReplacesALongerFileCompletely) {
  const auto path = folder_ / "ToDoList.xml";
  std::ofstream(path, std::ios::binary) << std::string(5000, 'x');
  XmlTree tree;
  BuildExample(tree);
  tree.SaveToFile(path);
  EXPECT_EQ(Read(path), example);
}

TEST_F(WriteFile, MissingFolderCannotBeCreated) {
  XmlTree tree;
  const auto path = folder_ / "missing" / "ToDoList.xml";
  try {
    tree.SaveToFile(path);
    FAIL() << "saving into a missing folder succeeded";
  } catch (const XmlError& e) {
    const std::u16string expected = u"Cannot create file \"" + path.u16string() + u"\". ";
    EXPECT_EQ(e.Message().substr(0, expected.size()), expected);
    EXPECT_GT(e.Message().size(), expected.size());  // the system's reason follows
    EXPECT_EQ(std::string(e.what()).substr(0, 20), "Cannot create file \"");
  }
}

TEST_F(WriteFile, ReadOnlyFileCannotBeOpened) {
  const auto path = folder_ / "locked.xml";
  std::ofstream(path) << "old";
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  // Root, and Wine run by root, write read-only files all the same.
  if (std::ofstream(path, std::ios::app).good()) GTEST_SKIP() << "this user writes read-only files";
  XmlTree tree;
  try {
    tree.SaveToFile(path);
    FAIL() << "saving over a read-only file succeeded";
  } catch (const XmlError& e) {
    EXPECT_EQ(e.Message().rfind(u"Cannot open file \"" + path.u16string() + u"\". ", 0), 0u);
  }
  EXPECT_EQ(Read(path), "old");
}

TEST_F(WriteFile, ExistingFolderCannotBeOpened) {
  XmlTree tree;
  try {
    tree.SaveToFile(folder_);
    FAIL() << "saving over a folder succeeded";
  } catch (const XmlError& e) {
    EXPECT_EQ(e.Message().rfind(u"Cannot open file \"" + folder_.u16string() + u"\". ", 0), 0u);
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder_));
}

TEST_F(WriteFile, FullDiskIsReportedNotIgnored) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  XmlTree tree;
  BuildExample(tree);
  EXPECT_THROW(tree.SaveToFile("/dev/full"), XmlError);
}

TEST_F(WriteFile, ReadsBackWhatItWrote) {
  const auto path = folder_ / "ToDoList.xml";
  XmlTree tree;
  BuildExample(tree);
  tree.SaveToFile(path);
  XmlTree back;
  back.LoadFromFile(path);
  EXPECT_EQ(back.SaveToBytes(), example);
}

}  // namespace
}  // namespace tasklane::xml
