// Escaping, unescaping and the integer reading of values.
#include "xml/XmlTestSupport.h"

namespace tasklane::xml {
namespace {

struct TextCase {
  std::u16string in;
  std::u16string out;
};

TEST(Escape, ReplacesMarkupAndEveryUnitAbove127) {
  const TextCase cases[] = {
      {u"Fish & chips <2>", u"Fish &amp; chips &lt;2&gt;"},
      {u"\"quoted\" 'single'", u"&quot;quoted&quot; &apos;single&apos;"},
      {u"f\u00fcr", u"f&#xFC;r"},
      {u"\u00e4", u"&#xE4;"},
      {u"\u0080\u00ff", u"&#x80;&#xFF;"},
      {u"\u20ac", u"&#x20AC;"},
      {u"\u0100", u"&#x0100;"},
      {u"\U0001F600", u"&#xD83D;&#xDE00;"},
      {u"a\tb\r\nc\x01", u"a\tb\r\nc\x01"},
      {u"&lt;", u"&amp;lt;"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeValue(c.in), c.out);
}

TEST(Unescape, ReadsReferencesAndKeepsWhatIsNone) {
  const TextCase cases[] = {
      {u"&#65;", u"A"},       {u"&#x41;", u"A"},       {u"&#X41;", u"A"},
      {u"&AMP;", u"&"},       {u"&Lt;&gT;", u"<>"},    {u"&apos;&QUOT;", u"'\""},
      {u"&nbsp;", u"&nbsp;"}, {u"&#0;", u"&#0;"},       {u"&#;", u"&#;"},
      {u"&#x41", u"&#x41"},   {u"&#12a;", u"&#12a;"},   {u"a & b", u"a & b"},
      {u"&#x;", u"&#x;"},     {u"&&#65;", u"&A"},       {u"&amp;lt;", u"&lt;"},
      {u"  \r\n ", u"  \r\n "},
      // Beyond 16 bits a reference becomes a surrogate pair; beyond Unicode it stays text.
      {u"&#x1F600;", u"\U0001F600"}, {u"&#128512;", u"\U0001F600"},
      {u"&#x110000;", u"&#x110000;"}, {u"&#99999999999999999999;", u"&#99999999999999999999;"},
      {u"&#xD83D;&#xDE00;", u"\U0001F600"},
  };
  for (const auto& c : cases) EXPECT_EQ(UnescapeValue(c.in), c.out) << "for input of size " << c.in.size();
}

struct IntCase {
  std::u16string text;
  std::int64_t value;
};

TEST(IntValue, AcceptsDecimalAndHexadecimalOnly) {
  const IntCase cases[] = {
      {u"42", 42},   {u" 42", 42},   {u"-7", -7},   {u"+7", 7},     {u"$1F", 31},
      {u"x1F", 31},  {u"X1F", 31},   {u"0x1F", 31}, {u"0X1f", 31},  {u"0", 0},
      {u"42 ", -1},  {u"4a", -1},    {u"", -1},     {u"-", -1},     {u"$", -1},
      {u"0x", -1},   {u"\t42", -1},  {u"- 7", -1},  {u"1e3", -1},   {u"  ", -1},
      {u"9223372036854775807", INT64_MAX},  {u"-9223372036854775808", INT64_MIN},
      {u"9223372036854775808", -1},         {u"-9223372036854775809", -1},
      {u"$7FFFFFFFFFFFFFFF", INT64_MAX},    {u"$10000000000000000", -1},
  };
  for (const auto& c : cases) {
    XmlElement element(XmlNodeKind::Element, u"Left", c.text);
    EXPECT_EQ(element.IntValue(), c.value) << "text of size " << c.text.size();
  }
}

}  // namespace
}  // namespace tasklane::xml
