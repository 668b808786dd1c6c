// The pictures built into the program: every file of art/ is there with its bytes, and each
// picture has the format and size the windows lay out. Sizes are read from the files' own
// headers here, so the check does not lean on the decoders it would otherwise test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "art/Art.h"
#include "pictures/PictureFile.h"

namespace {

namespace art = tasklane::art;
namespace platform = tasklane::platform;
namespace pictures = tasklane::pictures;

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Size& size) {
  return out << size.width << " x " << size.height;
}

// What the main window, its menu, the info dialog and the tray expect of each picture.
const std::map<std::string, Size>& ExpectedSizes() {
  static const std::map<std::string, Size> sizes = [] {
    std::map<std::string, Size> s = {
        {"ImageTop.jpg", {500, 30}},
        {"ImageBottom.jpg", {500, 30}},
        {"ImageRight.jpg", {30, 180}},
        {"ImageTopRight.jpg", {100, 100}},
        {"ImageBottomRight.jpg", {100, 100}},
        {"ImageLogo.png", {252, 30}},
        {"ImageRedButtonAufklapper.jpg", {25, 150}},
        {"imgInfo.jpg", {477, 413}},
        {"btnQBIconNormal.jpg", {77, 90}},
        {"btnQBIconHover.jpg", {77, 90}},
        {"btnQBIconActive.jpg", {77, 90}},
        {"ProgramIcon16.png", {16, 16}},
        {"ProgramIcon24.png", {24, 24}},
        {"ProgramIcon32.png", {32, 32}},
        {"ProgramIcon48.png", {48, 48}},
    };
    for (const char* button : {"ImageIconDel", "ImageIconMin", "ImageIconShrink"}) {
      for (const char* state : {"", "_hover", "_pressed"}) {
        s[std::string(button) + state + ".jpg"] = {16, 16};
      }
    }
    for (const char* button : {"ImagePlusRow", "ImageMinusRow", "ImagePlusColumn", "ImageMinusColumn"}) {
      for (const char* state : {"", "_hover", "_pressed"}) {
        s[std::string(button) + state + ".png"] = {9, 9};
      }
    }
    for (const char* item :
         {"mnuChangeTitle", "mnuMakeTitleBoldDeaktiv", "mnuMakeTitleBoldAktiv", "mnuTitleFettDeaktiv",
          "mnuTitleFettAktiv", "mnuShowGridLinesDeaktiv", "mnuShowGridLinesAktiv", "mnuThisColumn",
          "mnuAddRow", "mnuDeleteRow", "mnuAddColumn", "mnuDeleteColumn", "mnuSkin", "mnuOpenFolderHere",
          "mnuAbout", "mnuExit"}) {
      s[std::string(item) + ".png"] = {16, 16};
    }
    return s;
  }();
  return sizes;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

unsigned Byte(std::string_view bytes, std::size_t at) { return static_cast<unsigned char>(bytes[at]); }

unsigned BigEndian16(std::string_view bytes, std::size_t at) { return Byte(bytes, at) << 8 | Byte(bytes, at + 1); }

unsigned BigEndian32(std::string_view bytes, std::size_t at) {
  return BigEndian16(bytes, at) << 16 | BigEndian16(bytes, at + 2);
}

constexpr std::string_view kPngSignature{"\x89PNG\r\n\x1a\n", 8};

// The first chunk of a PNG file is IHDR: width, height, bit depth, colour type.
std::optional<Size> PngSize(std::string_view bytes) {
  if (bytes.size() < 26 || bytes.substr(0, 8) != kPngSignature || bytes.substr(12, 4) != "IHDR") return {};
  return Size{static_cast<int>(BigEndian32(bytes, 16)), static_cast<int>(BigEndian32(bytes, 20))};
}

int PngColourType(std::string_view bytes) { return bytes.size() > 25 ? static_cast<int>(Byte(bytes, 25)) : -1; }

// Walks the JPEG markers up to the frame header (baseline SOF0, extended SOF1 or progressive
// SOF2), which holds the height and then the width.
std::optional<Size> JpegSize(std::string_view bytes) {
  if (bytes.size() < 4 || Byte(bytes, 0) != 0xFF || Byte(bytes, 1) != 0xD8) return {};
  std::size_t at = 2;
  while (at + 4 <= bytes.size()) {
    if (Byte(bytes, at) != 0xFF) return {};
    const unsigned marker = Byte(bytes, at + 1);
    if (marker == 0xFF) {  // a fill byte before the marker
      ++at;
      continue;
    }
    const std::size_t length = BigEndian16(bytes, at + 2);
    if (marker >= 0xC0 && marker <= 0xC2) {
      if (at + 9 > bytes.size()) return {};
      return Size{static_cast<int>(BigEndian16(bytes, at + 7)), static_cast<int>(BigEndian16(bytes, at + 5))};
    }
    if (marker == 0xD9 || marker == 0xDA) return {};  // end of picture or scan data: no frame header
    at += 2 + length;
  }
  return {};
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> FolderNames() {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(TASKLANE_ART_DIR)) {
    if (entry.is_regular_file()) names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(EmbeddedArt, EveryFileOfTheArtFolderIsEmbeddedWithTheSameBytes) {
  const std::set<std::string> names = FolderNames();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(art::fileCount, names.size());
  for (const std::string& name : names) {
    const std::string onDisk = ReadFile(std::filesystem::path(TASKLANE_ART_DIR) / name);
    ASSERT_FALSE(onDisk.empty()) << name;
    EXPECT_EQ(art::Find(name), onDisk) << name;
  }
}

TEST(EmbeddedArt, TableIsSortedByNameWithoutDuplicates) {
  for (std::size_t i = 1; i < art::fileCount; ++i) {
    EXPECT_LT(art::files[i - 1].name, art::files[i].name);
  }
}

TEST(EmbeddedArt, FindOfAMissingNameIsEmpty) {
  EXPECT_TRUE(art::Find("NoSuchPicture.png").empty());
  EXPECT_TRUE(art::Find("").empty());
  EXPECT_TRUE(art::Find("imagetop.jpg").empty());  // letter case counts
  EXPECT_TRUE(art::Find("ImageTop").empty());
  EXPECT_FALSE(art::Find("ImageTop.jpg").empty());
}

TEST(EmbeddedArt, EachFileStartsWithTheSignatureOfItsFormat) {
  for (std::size_t i = 0; i < art::fileCount; ++i) {
    const std::string_view name = art::files[i].name;
    const std::string_view bytes = art::files[i].bytes;
    if (EndsWith(name, ".png")) {
      EXPECT_EQ(bytes.substr(0, 8), kPngSignature) << name;
    } else if (EndsWith(name, ".jpg")) {
      ASSERT_GE(bytes.size(), 2u) << name;
      EXPECT_EQ(Byte(bytes, 0), 0xFFu) << name;
      EXPECT_EQ(Byte(bytes, 1), 0xD8u) << name;
    } else if (EndsWith(name, ".ico")) {
      EXPECT_EQ(bytes.substr(0, 4), std::string_view("\0\0\1\0", 4)) << name;
    } else {
      ADD_FAILURE() << "a file of art/ in no format we know: " << name;
    }
  }
}

TEST(ArtPictures, EachPictureHasTheSizeTheWindowsLayOut) {
  for (const auto& [name, expected] : ExpectedSizes()) {
    const std::string_view bytes = art::Find(name);
    ASSERT_FALSE(bytes.empty()) << name << " is missing";
    const std::optional<Size> size = EndsWith(name, ".png") ? PngSize(bytes) : JpegSize(bytes);
    ASSERT_TRUE(size.has_value()) << name << ": no size in its header";
    EXPECT_EQ(*size, expected) << name;
  }
}

TEST(ArtPictures, EveryPictureIsAccountedFor) {
  // A new picture gets its size in the table above, so this test watches it too.
  for (std::size_t i = 0; i < art::fileCount; ++i) {
    const std::string name(art::files[i].name);
    if (name == "ProgramIcon.ico") continue;
    EXPECT_TRUE(ExpectedSizes().contains(name)) << name << " has no expected size";
  }
}

TEST(ArtPictures, AlphaChannelWhereThePictureIsDrawnOverOthers) {
  constexpr int kRgb = 2;
  constexpr int kRgba = 6;
  for (const auto& [name, size] : ExpectedSizes()) {
    if (!EndsWith(name, ".png")) continue;
    const std::string_view bytes = art::Find(name);
    const bool smallButton = size == Size{9, 9};
    // The row and column buttons: the hover picture has alpha; normal and pressed are opaque
    // and drawn transparent by the colour of their lower-left pixel.
    const int expected = smallButton && name.find("_hover") == std::string::npos ? kRgb : kRgba;
    EXPECT_EQ(PngColourType(bytes), expected) << name;
  }
}

TEST(ArtPictures, EveryPictureDecodesToItsSize) {
  for (const auto& [name, expected] : ExpectedSizes()) {
    const auto format = EndsWith(name, ".png") ? pictures::PictureFormat::Png : pictures::PictureFormat::Jpeg;
    const platform::Picture picture = pictures::LoadPicture(art::Find(name), format);
    EXPECT_EQ((Size{picture.Width(), picture.Height()}), expected) << name;
  }
}

TEST(ArtPictures, OpaqueRowAndColumnButtonsLeaveOutOnlyTheirCorners) {
  for (const auto& [name, size] : ExpectedSizes()) {
    if (size != Size{9, 9} || name.find("_hover") != std::string::npos) continue;
    const platform::Picture picture = pictures::LoadPicture(art::Find(name), pictures::PictureFormat::Png);
    const platform::Color key = picture.TransparentColor();
    for (int y = 0; y < 9; ++y) {
      for (int x = 0; x < 9; ++x) {
        const bool corner = (x == 0 || x == 8) && (y == 0 || y == 8);
        EXPECT_EQ(platform::ColorOf(picture.Pixel(x, y)) == key, corner) << name << " at " << x << ", " << y;
      }
    }
  }
}

TEST(ArtPictures, TheProgramIconHoldsEverySizeIn32BitColour) {
  const std::string_view bytes = art::Find("ProgramIcon.ico");
  ASSERT_GE(bytes.size(), 6u);
  const unsigned count = Byte(bytes, 4) | Byte(bytes, 5) << 8;
  ASSERT_GE(bytes.size(), 6 + 16 * count);
  std::set<int> sides;
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16 * i;
    const int width = Byte(bytes, entry) == 0 ? 256 : static_cast<int>(Byte(bytes, entry));
    const int height = Byte(bytes, entry + 1) == 0 ? 256 : static_cast<int>(Byte(bytes, entry + 1));
    EXPECT_EQ(width, height);
    EXPECT_EQ(Byte(bytes, entry + 6) | Byte(bytes, entry + 7) << 8, 32u) << "bits per pixel of " << width;
    sides.insert(width);
  }
  EXPECT_EQ(sides, (std::set<int>{16, 24, 32, 48}));
}

}  // namespace
