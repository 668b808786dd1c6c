#include "ToDoFileGenerator.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace tasklane::bench {
namespace {

using namespace std::string_view_literals;

// splitmix64: tiny, fast and gives the same sequence on every platform.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int limit) { return static_cast<int>(Next() % static_cast<std::uint64_t>(limit)); }

 private:
  std::uint64_t state_;
};

constexpr std::array kWords = {
    u"Milk"sv,    u"call"sv,    u"Bob"sv,      u"report"sv, u"invoice"sv, u"fix"sv,
    u"garden"sv,  u"tickets"sv, u"dentist"sv,  u"backup"sv, u"printer"sv, u"review"sv,
    u"meeting"sv, u"the"sv,     u"for"sv,      u"and"sv,    u"before"sv,  u"Friday"sv,
    u"bring"sv,   u"car"sv,     u"insurance"sv, u"plan"sv,  u"holiday"sv, u"letters"sv,
};

// Texts with what the writer has to escape or turn into character references.
constexpr std::array kAwkwardTexts = {
    u"Tom & Jerry"sv,
    u"if a < b then swap"sv,
    u"Größe prüfen"sv,
    u"Müller & Söhne, Düsseldorf"sv,
    u"Preis: 12,50 €"sv,
    u"<draft> \"quoted\" & 'single'"sv,
    u"Straße räumen, Öl wechseln, Übung"sv,
    u"Budget 1 000 € < 2 000 €"sv,
};

template <typename Array>
std::u16string_view PickFrom(Random& random, const Array& texts) {
  return texts[random.Next() % texts.size()];
}

constexpr std::array kCaptions = {u"Task"sv, u"Due"sv, u"Priority"sv, u"Notes"sv,
                                  u"Done"sv, u"Owner"sv};

std::u16string Number(std::uint64_t value, int minDigits = 1) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0 || static_cast<int>(digits.size()) < minDigits);
  return digits;
}

std::u16string Sentence(Random& random) {
  std::u16string text;
  const int words = 4 + random.Below(12);
  for (int i = 0; i < words; ++i) {
    if (i > 0) text += u' ';
    text += PickFrom(random, kWords);
  }
  text += u'.';
  return text;
}

std::u16string DateOrNumber(Random& random) {
  switch (random.Below(3)) {
    case 0:  // the day first, as people here type it
      return Number(1 + random.Next() % 28, 2) + u"." + Number(1 + random.Next() % 12, 2) + u"." +
             Number(2020 + random.Next() % 8);
    case 1:
      return Number(2020 + random.Next() % 8) + u"-" + Number(1 + random.Next() % 12, 2) + u"-" +
             Number(1 + random.Next() % 28, 2);
    default:
      return Number(random.Next() % 100000) + u"," + Number(random.Next() % 100, 2);
  }
}

// Mostly short notes, some long ones, a fair share of empty cells.
std::u16string CellText(Random& random) {
  const int pick = random.Below(100);
  if (pick < 30) return std::u16string(PickFrom(random, kWords));
  if (pick < 55) return Sentence(random);
  if (pick < 70) return {};
  if (pick < 85) return std::u16string(PickFrom(random, kAwkwardTexts));
  return DateOrNumber(random);
}

}  // namespace

void BuildToDoList(xml::XmlTree& tree, int rows, int columns) {
  Random random(0x7A5C1A4E + static_cast<std::uint64_t>(rows) * 31 + static_cast<std::uint64_t>(columns));
  xml::XmlElement& root = tree.Root();
  root.SetName(u"ToDoList");

  xml::XmlElement& window = root.Items().Add(u"WindowPosition");
  window.Items().Add(u"Left", u"120");
  window.Items().Add(u"Top", u"80");
  window.Items().Add(u"Width", u"900");
  window.Items().Add(u"Height", u"640");

  xml::XmlElement& info = root.Items().Add(u"ColumnInfo");
  info.Items().Add(u"RowCount", Number(static_cast<std::uint64_t>(rows)));
  info.Items().Add(u"ColumnCount", Number(static_cast<std::uint64_t>(columns)));
  info.Items().Add(u"HeaderTextBold", u"TRUE");
  info.Items().Add(u"DrawGridLines", u"FALSE");

  xml::XmlElement& skin = root.Items().Add(u"Skin");
  skin.Items().Add(u"SkinName", u"No Skin");
  skin.Items().Add(u"SkinPath", u"");

  xml::XmlElement& header = root.Items().Add(u"ColumnHeader");
  for (int c = 0; c < columns; ++c) {
    xml::XmlElement& column = header.Items().Add(u"Column");
    column.Items().Add(u"ColumnCaption", kCaptions[static_cast<std::size_t>(c) % kCaptions.size()]);
    column.Items().Add(u"ColumnWidth", Number(60 + random.Next() % 240));
    column.Items().Add(u"ColumnAlignment", Number(random.Next() % 3));
  }

  xml::XmlElement& content = root.Items().Add(u"ToDoContent");
  for (int r = 0; r < rows; ++r) {
    xml::XmlElement& row = content.Items().Add(u"Column");
    for (int c = 0; c < columns; ++c) row.Items().Add(u"Text", CellText(random));
  }
}

std::string MakeToDoFile(int rows, int columns) {
  xml::XmlTree tree;
  BuildToDoList(tree, rows, columns);
  return tree.SaveToBytes();
}

std::string MakeAlternatingDeclarationsFile(int declarations) {
  std::string bytes;
  for (int i = declarations; i > 0; --i) {
    bytes += i % 2 == 0 ? "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                        : "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n";
  }
  bytes += "<ToDoList>\r\n  <Text>Gr\xF6\xDF" "e pr\xFC" "fen</Text>\r\n</ToDoList>\r\n";
  return bytes;
}

std::u16string WidenLatin1(const std::string& bytes) {
  std::u16string text(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) text[i] = static_cast<unsigned char>(bytes[i]);
  return text;
}

}  // namespace tasklane::bench
