#include "JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "PixelMath.h"
#include "SmartBitmapAccess.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {

namespace {

// A progressive file can hold thousands of tiny scans that cost a full pass each; real covers
// have about ten.
constexpr int kMaxProgressiveScans = 256;
// libjpeg's working memory for one image.
constexpr long kMaxDecoderMemory = 256L * 1024 * 1024;

struct ErrorManager {
  jpeg_error_mgr base;
  jmp_buf jump;
};

void OnError(j_common_ptr info) {
  char message[JMSG_LENGTH_MAX];
  (*info->err->format_message)(info, message);
  MW_LOG(MW_LOG_WARNING, "JPEG not decoded: %s", message);
  longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings (a damaged but readable file) are not worth a log line per image.
void OnMessage(j_common_ptr, int) {}

void OnProgress(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxProgressiveScans) {
    MW_LOG(MW_LOG_WARNING, "JPEG refused: more than %d scans", kMaxProgressiveScans);
    longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
  }
}

// Adobe's CMYK files store the inks inverted, which is what nearly every CMYK cover is.
uint32_t InvertedCmykToPixel(const JSAMPLE* cmyk) {
  const uint32_t black = cmyk[3];
  return PixelMath::Pack(0xFF, PixelMath::Scale(cmyk[0], black), PixelMath::Scale(cmyk[1], black),
                         PixelMath::Scale(cmyk[2], black));
}

// Reads the decoded rows into the bitmap. CMYK rows pass through a row buffer.
void ReadRows(jpeg_decompress_struct* info, SmartBitmap& bitmap, std::vector<JSAMPLE>& row) {
  const bool cmyk = info->out_color_space == JCS_CMYK;
  while (info->output_scanline < info->output_height) {
    uint32_t* target =
        bitmap.MutableData() + static_cast<size_t>(info->output_scanline) * bitmap.Width();
    JSAMPROW rows[1] = {cmyk ? row.data() : reinterpret_cast<JSAMPROW>(target)};
    if (jpeg_read_scanlines(info, rows, 1) != 1)
      break;
    if (cmyk) {
      for (int x = 0; x < bitmap.Width(); ++x)
        target[x] = InvertedCmykToPixel(row.data() + static_cast<size_t>(x) * 4);
    }
  }
}

// Runs the decoder into *bitmap; false after an error. The caller owns `info`, the bitmap and
// the row buffer, so an error's jump back to the setjmp below skips no destructor.
bool DecodeWith(jpeg_decompress_struct* info, ErrorManager* errors, const std::string& bytes,
                int target_width, int target_height, SmartBitmap* bitmap,
                std::vector<JSAMPLE>* row) {
  if (setjmp(errors->jump))
    return false;
  jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK)
    return false;
  if (!SmartBitmapAccess::SizeAllowed(info->image_width, info->image_height)) {
    MW_LOG(MW_LOG_WARNING, "JPEG refused: %ux%u is above the image size cap", info->image_width,
           info->image_height);
    return false;
  }
  info->scale_num = 1;
  info->scale_denom = static_cast<unsigned>(JpegCodec::ScaleDenominator(
      static_cast<int>(info->image_width), static_cast<int>(info->image_height), target_width,
      target_height));
  const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  info->dct_method = JDCT_ISLOW;
  jpeg_start_decompress(info);
  *bitmap = SmartBitmapAccess::Allocate(static_cast<int>(info->output_width),
                                        static_cast<int>(info->output_height));
  if (bitmap->IsEmpty())
    return false;
  if (cmyk)
    row->resize(static_cast<size_t>(info->output_width) * 4);
  ReadRows(info, *bitmap, *row);
  jpeg_finish_decompress(info);
  return true;
}

}  // namespace

int JpegCodec::ScaleDenominator(int width, int height, int target_width, int target_height) {
  if (target_width <= 0 && target_height <= 0)
    return 1;
  for (int denominator : {8, 4, 2}) {
    // libjpeg rounds scaled sizes up.
    const int scaled_width = (width + denominator - 1) / denominator;
    const int scaled_height = (height + denominator - 1) / denominator;
    if (scaled_width >= target_width && scaled_height >= target_height)
      return denominator;
  }
  return 1;
}

SmartBitmap JpegCodec::Decode(const std::string& bytes, int format, int target_width,
                              int target_height) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = OnMessage;
  jpeg_progress_mgr progress;
  progress.progress_monitor = OnProgress;
  jpeg_create_decompress(&info);
  info.progress = &progress;
  info.mem->max_memory_to_use = kMaxDecoderMemory;
  SmartBitmap bitmap;
  std::vector<JSAMPLE> row;
  const bool decoded =
      DecodeWith(&info, &errors, bytes, target_width, target_height, &bitmap, &row);
  jpeg_destroy_decompress(&info);
  if (!decoded)
    return SmartBitmap();
  SmartBitmapAccess::FinishDecoded(bitmap, format);
  return bitmap;
}

}  // namespace marrowleaf::platform
