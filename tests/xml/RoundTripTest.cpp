// Random trees written and read back: what goes out comes back, but for the documented
// exception that a value of whitespace only reads back empty.
#include <random>

#include "xml/XmlTestSupport.h"

namespace tasklane::xml {
namespace {

class TreeMaker {
 public:
  explicit TreeMaker(unsigned seed) : random_(seed) {}

  void Fill(XmlTree& tree) {
    tree.Root().SetName(Name());
    if (Chance(4)) tree.Root().SetNameSpace(Name());
    // The root always gets children: text directly in the root is read as a text run.
    const int count = 1 + Below(6);
    for (int i = 0; i < count; ++i) AddChild(tree.Root().Items(), 1);
  }

 private:
  void AddChild(XmlElementList& list, int depth) {
    if (Chance(12)) {
      list.Append(std::make_unique<XmlElement>(XmlNodeKind::Comment, u"", u" note "));
      return;
    }
    XmlElement& child = list.Add(Name());
    if (Chance(5)) child.SetNameSpace(Name());
    if (Chance(5)) child.Properties().Add(Name(), Value(), Chance(3) ? Name() : u"");
    if (depth < 5 && Chance(3)) {
      const int count = 1 + Below(4);
      for (int i = 0; i < count; ++i) AddChild(child.Items(), depth + 1);
    } else {
      child.SetValue(Value());
    }
  }

  // Names of the ASCII name characters, any of them first: a name beyond ASCII is written
  // as references, which no reader takes for a name.
  std::u16string Name() {
    static constexpr std::string_view chars =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._-";
    std::u16string name(1 + Below(8), u' ');
    for (char16_t& c : name) c = static_cast<char16_t>(chars[static_cast<std::size_t>(Below(chars.size()))]);
    return name;
  }

  std::u16string Value() {
    std::u16string value(static_cast<std::size_t>(Below(10)), u' ');
    const bool blank = Chance(6);  // some values of whitespace only
    for (char16_t& c : value) c = blank ? u" \t\r\n\v\f"[Below(6)] : Unit();
    return value;
  }

  char16_t Unit() {
    switch (Below(8)) {
      case 0: return static_cast<char16_t>(Below(32));                   // controls, CR and LF too
      case 1: return u"&<>\"';#x"[Below(8)];                             // what escaping is about
      case 2: return static_cast<char16_t>(128 + Below(128));            // 128 to 255
      case 3: return static_cast<char16_t>(0xD800 + Below(0x800));       // surrogate halves
      case 4: return static_cast<char16_t>(256 + Below(0xFFFF - 255));   // the rest of 16 bits
      default: return static_cast<char16_t>(32 + Below(95));             // printable ASCII
    }
  }

  int Below(std::size_t n) { return static_cast<int>(random_() % n); }
  bool Chance(int oneIn) { return Below(static_cast<std::size_t>(oneIn)) == 0; }

  std::mt19937 random_;
};

bool IsWhitespaceOnly(std::u16string_view text) {
  for (char16_t c : text) {
    if (!((c >= 9 && c <= 13) || c == 32)) return false;
  }
  return true;
}

void EmptyWhitespaceValues(XmlElement& element) {
  if (IsWhitespaceOnly(element.Value())) element.SetValue(u"");
  if (!element.HasItems()) return;
  for (int i = 0; i < element.Items().Count(); ++i) EmptyWhitespaceValues(element.Items().ChildAt(i));
}

TEST(RoundTrip, RandomTreesReadBackAsWritten) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    XmlTree tree;
    TreeMaker(seed).Fill(tree);
    const std::string bytes = tree.SaveToBytes();
    for (char b : bytes) ASSERT_LT(static_cast<unsigned char>(b), 128u) << "a byte above 127 was written";

    XmlTree back;
    try {
      back.LoadFromBytes(bytes);
    } catch (const XmlError& e) {
      FAIL() << e.what() << " reading\n" << bytes;
    }
    EmptyWhitespaceValues(tree.Root());
    ASSERT_EQ(Describe(back.Root()), Describe(tree.Root())) << bytes;
    EXPECT_EQ(back.SaveToBytes(), tree.SaveToBytes());
  }
}

}  // namespace
}  // namespace tasklane::xml
