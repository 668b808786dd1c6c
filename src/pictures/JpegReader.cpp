// JPEG pictures through libjpeg: colour, grayscale and CMYK (including Adobe's inverted CMYK).
//
// libjpeg's own error handler ends the process, so ours records the message and jumps back
// with longjmp to the setjmp of the phase that called libjpeg. A longjmp skips destructors, so
// the two functions holding a setjmp own no C++ object: the decompressor, the pixel buffer
// and every string live in ReadJpeg, outside the jump. Warnings are silenced; a file that
// ends early, which libjpeg would only warn about and pad with gray, is an error here.
#include <cstddef>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include "pictures/PictureReaders.h"

namespace tasklane::pictures::detail {
namespace {

// A progressive file can repeat scans without end, each one a pass over the whole picture.
constexpr int kMaxScans = 500;
// libjpeg's working memory beside our pixels; its coefficient buffers grow with the picture.
constexpr long kMaxWorkingMemory = 512L << 20;

struct JpegErrors {
  jpeg_error_mgr manager;  // first, so that libjpeg's pointer to it is a pointer to us
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool cutShort;
};

[[noreturn]] void Fail(j_common_ptr info, const char* message) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  std::snprintf(errors->message, sizeof errors->message, "%s", message);
  std::longjmp(errors->jump, 1);
}

[[noreturn]] void OnError(j_common_ptr info) {
  char message[JMSG_LENGTH_MAX];
  (*info->err->format_message)(info, message);
  Fail(info, message);
}
void OnEmitMessage(j_common_ptr, int) {}
void OnOutputMessage(j_common_ptr) {}

void OnProgress(j_common_ptr info) {
  const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->progressive_mode && decompress->input_scan_number > kMaxScans) {
    Fail(info, "More progressive scans than any picture needs");
  }
}

// The whole file is in memory, so the source never needs filling: being asked to is the end.
void OnInitSource(j_decompress_ptr) {}
boolean OnFillInput(j_decompress_ptr info) {
  reinterpret_cast<JpegErrors*>(info->err)->cutShort = true;
  Fail(reinterpret_cast<j_common_ptr>(info), "");
}
void OnSkipInput(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  if (static_cast<unsigned long>(count) > info->src->bytes_in_buffer) OnFillInput(info);
  info->src->next_input_byte += count;
  info->src->bytes_in_buffer -= static_cast<std::size_t>(count);
}
void OnTermSource(j_decompress_ptr) {}

// Everything libjpeg needs, in one plain struct that ReadJpeg owns.
struct Decoder {
  jpeg_decompress_struct info;
  JpegErrors errors;
  jpeg_source_mgr source;
  jpeg_progress_mgr progress;
  bool created;
};

bool ReadHeader(Decoder* d, std::string_view bytes) {
  d->info.err = jpeg_std_error(&d->errors.manager);
  d->errors.manager.error_exit = OnError;
  d->errors.manager.emit_message = OnEmitMessage;
  d->errors.manager.output_message = OnOutputMessage;
  if (setjmp(d->errors.jump)) return false;
  jpeg_create_decompress(&d->info);
  d->created = true;
  d->info.mem->max_memory_to_use = kMaxWorkingMemory;

  d->source.next_input_byte = reinterpret_cast<const JOCTET*>(bytes.data());
  d->source.bytes_in_buffer = bytes.size();
  d->source.init_source = OnInitSource;
  d->source.fill_input_buffer = OnFillInput;
  d->source.skip_input_data = OnSkipInput;
  d->source.resync_to_restart = jpeg_resync_to_restart;
  d->source.term_source = OnTermSource;
  d->info.src = &d->source;
  d->progress.progress_monitor = OnProgress;
  d->info.progress = &d->progress;

  jpeg_read_header(&d->info, TRUE);
  switch (d->info.jpeg_color_space) {
    case JCS_GRAYSCALE:
      d->info.out_color_space = JCS_GRAYSCALE;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      d->info.out_color_space = JCS_CMYK;
      break;
    default:
      d->info.out_color_space = JCS_RGB;
  }
  return true;
}

Argb FromCmyk(const JSAMPLE* p, bool inverted) {
  // NOTE: Adobe's programs, which mark their files with an Adobe segment, store CMYK
  // inverted (0 is full ink); other writers store it as is.
  const auto ink = [inverted](JSAMPLE v) { return inverted ? 255u - v : unsigned{v}; };
  const unsigned white = 255u - ink(p[3]);
  const auto channel = [&](JSAMPLE v) { return static_cast<std::uint8_t>((255u - ink(v)) * white / 255u); };
  return MakeArgb(255, channel(p[0]), channel(p[1]), channel(p[2]));
}

// Decodes every scanline into `pixels`, which holds image_width * image_height values.
bool ReadImage(Decoder* d, Argb* pixels) {
  if (setjmp(d->errors.jump)) return false;
  jpeg_start_decompress(&d->info);
  const int expected = d->info.out_color_space == JCS_GRAYSCALE ? 1
                       : d->info.out_color_space == JCS_CMYK    ? 4
                                                                : 3;
  if (d->info.output_width != d->info.image_width || d->info.output_height != d->info.image_height ||
      d->info.output_components != expected) {
    Fail(reinterpret_cast<j_common_ptr>(&d->info), "The decoder offers an unexpected pixel layout");
  }
  const JDIMENSION width = d->info.output_width;
  JSAMPARRAY line = (*d->info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d->info), JPOOL_IMAGE,
                                                 width * static_cast<JDIMENSION>(expected), 1);
  const bool inverted = d->info.saw_Adobe_marker != 0;
  while (d->info.output_scanline < d->info.output_height) {
    Argb* out = pixels + static_cast<std::size_t>(d->info.output_scanline) * width;
    if (jpeg_read_scanlines(&d->info, line, 1) != 1) {
      Fail(reinterpret_cast<j_common_ptr>(&d->info), "The decoder stopped before the last row");
    }
    const JSAMPLE* p = line[0];
    for (JDIMENSION x = 0; x < width; ++x) {
      if (expected == 1) {
        out[x] = MakeArgb(255, p[x], p[x], p[x]);
      } else if (expected == 3) {
        out[x] = MakeArgb(255, p[3 * x], p[3 * x + 1], p[3 * x + 2]);
      } else {
        out[x] = FromCmyk(p + 4 * x, inverted);
      }
    }
  }
  jpeg_finish_decompress(&d->info);
  return true;
}

}  // namespace

Picture ReadJpeg(std::string_view bytes) {
  Decoder decoder{};
  struct Destroy {
    Decoder& d;
    ~Destroy() {
      if (d.created) jpeg_destroy_decompress(&d.info);
    }
  } destroy{decoder};
  const auto failure = [&decoder] {
    if (decoder.errors.cutShort) return PictureError("The JPEG picture is cut short: its data ends early.");
    return PictureError(std::string("The JPEG picture is damaged: ") + decoder.errors.message + ".");
  };

  if (!ReadHeader(&decoder, bytes)) throw failure();
  CheckPictureSize(decoder.info.image_width, decoder.info.image_height, "JPEG");
  std::vector<Argb> pixels(static_cast<std::size_t>(decoder.info.image_width) * decoder.info.image_height);
  if (!ReadImage(&decoder, pixels.data())) throw failure();
  return Picture(static_cast<int>(decoder.info.image_width), static_cast<int>(decoder.info.image_height),
                 std::move(pixels));
}

}  // namespace tasklane::pictures::detail
