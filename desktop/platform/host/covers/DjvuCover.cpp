#include "DjvuCover.h"

#include <libdjvu/ddjvuapi.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "CoverLimits.h"
#include "PictureDecoder.h"

namespace marrowleaf::platform {
namespace {

// The library decodes on threads of its own and reports through messages; they are drained while
// waiting, and waiting ends at the deadline.
void Drain(ddjvu_context_t* context) {
  while (ddjvu_message_peek(context) != nullptr) ddjvu_message_pop(context);
}

template <typename Done>
bool WaitFor(ddjvu_context_t* context, const CoverDeadline& deadline, Done done) {
  while (!done()) {
    if (deadline.Passed())
      return false;
    Drain(context);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  Drain(context);
  return true;
}

struct Handles {
  ddjvu_context_t* context = nullptr;
  ddjvu_document_t* document = nullptr;
  ddjvu_page_t* page = nullptr;
  ddjvu_format_t* format = nullptr;
  ~Handles() {
    if (format != nullptr)
      ddjvu_format_release(format);
    if (page != nullptr)
      ddjvu_page_release(page);
    if (document != nullptr)
      ddjvu_document_release(document);
    if (context != nullptr)
      ddjvu_context_release(context);
  }
};

SmartBitmap RenderPage(Handles& djvu, int target_width, int target_height) {
  const int page_width = ddjvu_page_get_width(djvu.page);
  const int page_height = ddjvu_page_get_height(djvu.page);
  const double scale =
      PictureDecoder::RenderScale(page_width, page_height, target_width, target_height);
  ddjvu_rect_t rect;
  rect.x = 0;
  rect.y = 0;
  rect.w = static_cast<unsigned>(std::max(1.0, std::floor(page_width * scale)));
  rect.h = static_cast<unsigned>(std::max(1.0, std::floor(page_height * scale)));
  if (scale <= 0)
    return SmartBitmap();
  unsigned masks[4] = {0x00ff0000u, 0x0000ff00u, 0x000000ffu, 0xff000000u};
  djvu.format = ddjvu_format_create(DDJVU_FORMAT_RGBMASK32, 4, masks);
  ddjvu_format_set_row_order(djvu.format, 1);
  ddjvu_format_set_y_direction(djvu.format, 1);
  const int stride = static_cast<int>(rect.w) * 4;
  std::vector<unsigned char> pixels(static_cast<size_t>(stride) * rect.h, 0xff);
  if (!ddjvu_page_render(djvu.page, DDJVU_RENDER_COLOR, &rect, &rect, djvu.format,
                         static_cast<unsigned long>(stride),
                         reinterpret_cast<char*>(pixels.data()))) {
    return SmartBitmap();
  }
  return PictureDecoder::FromPixels(pixels.data(), static_cast<int>(rect.w),
                                    static_cast<int>(rect.h), stride, true);
}

}  // namespace

SmartBitmap DjvuCover::Render(const std::string& host_path, int width, int height, int format) {
  struct stat info;
  if (stat(host_path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<unsigned long long>(info.st_size) > CoverLimits::kMaxDocumentBytes) {
    return SmartBitmap();
  }
  const CoverDeadline deadline;
  Handles djvu;
  djvu.context = ddjvu_context_create("bookshelf");
  if (djvu.context == nullptr)
    return SmartBitmap();
  djvu.document = ddjvu_document_create_by_filename_utf8(djvu.context, host_path.c_str(), 0);
  if (djvu.document == nullptr ||
      !WaitFor(djvu.context, deadline,
               [&] { return ddjvu_document_decoding_done(djvu.document); }) ||
      ddjvu_document_decoding_error(djvu.document) ||
      ddjvu_document_get_pagenum(djvu.document) < 1) {
    return SmartBitmap();
  }
  djvu.page = ddjvu_page_create_by_pageno(djvu.document, 0);
  if (djvu.page == nullptr ||
      !WaitFor(djvu.context, deadline, [&] { return ddjvu_page_decoding_done(djvu.page); }) ||
      ddjvu_page_decoding_error(djvu.page)) {
    return SmartBitmap();
  }
  SmartBitmap bitmap = RenderPage(djvu, width, height);
  if (format != SMART_BITMAP_COLOR)
    PictureDecoder::ToGrey(bitmap);
  return bitmap;
}

}  // namespace marrowleaf::platform
