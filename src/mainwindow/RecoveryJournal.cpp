// The journal's byte layout. Numbers are little-endian; a text is its length in code units,
// then the code units. The header: a signature, whether the list file existed, its size
// and hash, then a check of these. A record: its length, a check of its bytes, then a type
// byte ('F' a frame, 'R' a row) and its fields.
#include "mainwindow/RecoveryJournal.h"

#include <cstring>

namespace tasklane::mainwindow {
namespace {

constexpr std::string_view signature = "Tasklane recovery 1\n";
constexpr std::size_t checkedHeaderBytes = signature.size() + 1 + 8 + 8;

std::uint64_t Mix(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ULL;
  return h ^ (h >> 33);
}

// Eight bytes at a time: a large list's file is hashed at the speed of reading memory.
std::uint64_t Hash(std::string_view bytes) {
  std::uint64_t h = 0x9e3779b97f4a7c15ULL ^ bytes.size();
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes.data() + i, 8);
    h = (h ^ Mix(word)) * 0x9e3779b97f4a7c15ULL;
  }
  std::uint64_t tail = 0;
  std::memcpy(&tail, bytes.data() + i, bytes.size() - i);
  return Mix(h ^ Mix(tail ^ (bytes.size() - i)));
}

class Out {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void U64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void I32(int v) { U32(static_cast<std::uint32_t>(v)); }
  void Text(std::u16string_view text) {
    U32(static_cast<std::uint32_t>(text.size()));
    for (char16_t c : text) {
      U8(static_cast<std::uint8_t>(c));
      U8(static_cast<std::uint8_t>(c >> 8));
    }
  }
  std::string& Bytes() { return bytes_; }

 private:
  std::string bytes_;
};

// Reads fields off bytes whose length is known; reading past the end is a damaged record.
class In {
 public:
  explicit In(std::string_view bytes) : bytes_(bytes) {}
  struct Damaged {};
  std::uint8_t U8() {
    if (bytes_.empty()) throw Damaged{};
    const auto v = static_cast<std::uint8_t>(bytes_.front());
    bytes_.remove_prefix(1);
    return v;
  }
  std::uint32_t U32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t{U8()} << (8 * i);
    return v;
  }
  std::uint64_t U64() {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= std::uint64_t{U8()} << (8 * i);
    return v;
  }
  int I32() { return static_cast<int>(U32()); }
  // A count of items of at least `itemBytes` each, which the bytes left must be able to hold.
  std::size_t Count(std::size_t itemBytes) {
    const std::size_t count = U32();
    if (count > bytes_.size() / itemBytes) throw Damaged{};
    return count;
  }
  std::u16string Text() {
    std::u16string text(Count(2), u'\0');
    for (char16_t& c : text) {
      const char16_t low = U8();
      c = static_cast<char16_t>(low | static_cast<char16_t>(U8() << 8));
    }
    return text;
  }
  bool AtEnd() const { return bytes_.empty(); }

 private:
  std::string_view bytes_;
};

std::string Framed(Out& payload) {
  Out record;
  record.U32(static_cast<std::uint32_t>(payload.Bytes().size()));
  record.U64(Hash(payload.Bytes()));
  return record.Bytes() + payload.Bytes();
}

ListFrame ReadFrame(In& in) {
  ListFrame frame;
  frame.rowCount = in.I32();
  frame.colCount = in.I32();
  frame.colWidths.resize(in.Count(4));
  for (int& width : frame.colWidths) width = in.I32();
  frame.alignments.resize(in.Count(1));
  for (std::uint8_t& alignment : frame.alignments) alignment = in.U8();
  frame.headerBold = in.U8() != 0;
  frame.gridLines = in.U8() != 0;
  frame.skinName = in.Text();
  frame.skinPath = in.Text();
  frame.left = in.I32();
  frame.top = in.I32();
  frame.width = in.I32();
  frame.height = in.I32();
  return frame;
}

RowTexts ReadRow(In& in) {
  RowTexts row;
  row.row = in.I32();
  row.cells.resize(in.Count(4));
  for (std::u16string& cell : row.cells) cell = in.Text();
  return row;
}

// One record from its payload; nullopt when the payload makes no sense.
std::optional<JournalRecord> ReadRecord(std::string_view payload) {
  try {
    In in(payload);
    const std::uint8_t type = in.U8();
    std::optional<JournalRecord> record;
    if (type == 'F') record = ReadFrame(in);
    else if (type == 'R') record = ReadRow(in);
    if (!in.AtEnd()) return std::nullopt;
    return record;
  } catch (const In::Damaged&) {
    return std::nullopt;
  }
}

}  // namespace

ListFingerprint FingerprintOf(std::string_view listFileBytes) {
  return {true, listFileBytes.size(), Hash(listFileBytes)};
}

std::string JournalHeader(const ListFingerprint& list) {
  Out out;
  out.Bytes() = signature;
  out.U8(list.exists ? 1 : 0);
  out.U64(list.size);
  out.U64(list.hash);
  out.U64(Hash(out.Bytes()));
  return out.Bytes();
}

std::string FrameRecord(const ListFrame& frame) {
  Out out;
  out.U8('F');
  out.I32(frame.rowCount);
  out.I32(frame.colCount);
  out.U32(static_cast<std::uint32_t>(frame.colWidths.size()));
  for (int width : frame.colWidths) out.I32(width);
  out.U32(static_cast<std::uint32_t>(frame.alignments.size()));
  for (std::uint8_t alignment : frame.alignments) out.U8(alignment);
  out.U8(frame.headerBold ? 1 : 0);
  out.U8(frame.gridLines ? 1 : 0);
  out.Text(frame.skinName);
  out.Text(frame.skinPath);
  for (int value : {frame.left, frame.top, frame.width, frame.height}) out.I32(value);
  return Framed(out);
}

std::string RowRecord(int row, std::span<const std::u16string_view> cells) {
  Out out;
  out.U8('R');
  out.I32(row);
  out.U32(static_cast<std::uint32_t>(cells.size()));
  for (std::u16string_view cell : cells) out.Text(cell);
  return Framed(out);
}

JournalContent ReadJournal(std::string_view bytes) {
  if (bytes.size() < checkedHeaderBytes + 8 || bytes.substr(0, signature.size()) != signature) {
    throw JournalError("not a recovery file of Tasklane");
  }
  In header(bytes.substr(signature.size(), checkedHeaderBytes + 8 - signature.size()));
  JournalContent content;
  content.list.exists = header.U8() != 0;
  content.list.size = header.U64();
  content.list.hash = header.U64();
  if (header.U64() != Hash(bytes.substr(0, checkedHeaderBytes))) throw JournalError("the recovery file's header is damaged");
  bytes.remove_prefix(checkedHeaderBytes + 8);
  // A record cut short, or one whose check fails, is where writing stopped: what follows
  // cannot be trusted either.
  while (bytes.size() >= 12) {
    In frame(bytes.substr(0, 12));
    const std::uint64_t length = frame.U32();
    const std::uint64_t check = frame.U64();
    if (length > bytes.size() - 12) break;
    const std::string_view payload = bytes.substr(12, static_cast<std::size_t>(length));
    if (Hash(payload) != check) break;
    std::optional<JournalRecord> record = ReadRecord(payload);
    if (!record) break;
    content.records.push_back(std::move(*record));
    bytes.remove_prefix(12 + static_cast<std::size_t>(length));
  }
  return content;
}

}  // namespace tasklane::mainwindow
