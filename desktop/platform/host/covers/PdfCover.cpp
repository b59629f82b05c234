#include "PdfCover.h"

#include <sys/stat.h>

#include "CoverLimits.h"
#include "PdfFirstPage.h"
#include "PictureDecoder.h"
#include "SharedLibrary.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {
namespace {

bool FileFits(const std::string& host_path) {
  struct stat info;
  return stat(host_path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         static_cast<unsigned long long>(info.st_size) <= CoverLimits::kMaxDocumentBytes;
}

// The module's entry, opened on the first PDF; null (logged once) when the module is missing.
MarrowleafPdfFirstPage FirstPageEntry() {
  static const MarrowleafPdfFirstPage entry = [] {
    static SharedLibrary module(SharedLibrary::ProgramFolder() + "/" + kPdfModuleFile);
    MarrowleafPdfFirstPage found = nullptr;
    if (!module.Find(kPdfFirstPageSymbol, &found))
      MW_LOG(MW_LOG_WARNING, "PDF pages can't be drawn: %s", module.Error().c_str());
    return found;
  }();
  return entry;
}

struct Request {
  int width;
  int height;
  SmartBitmap bitmap;
};

double ScaleFor(double page_width, double page_height, void* context) {
  const Request& request = *static_cast<Request*>(context);
  return PictureDecoder::RenderScale(page_width, page_height, request.width, request.height);
}

void Keep(const unsigned char* pixels, int width, int height, int stride, void* context) {
  static_cast<Request*>(context)->bitmap =
      PictureDecoder::FromPixels(pixels, width, height, stride, true);
}

}  // namespace

SmartBitmap PdfCover::Render(const std::string& host_path, int width, int height, int format) {
  if (!FileFits(host_path))
    return SmartBitmap();
  const MarrowleafPdfFirstPage first_page = FirstPageEntry();
  if (first_page == nullptr)
    return SmartBitmap();
  Request request{width, height, SmartBitmap()};
  if (first_page(host_path.c_str(), ScaleFor, Keep, &request) != 0)
    return SmartBitmap();
  if (format != SMART_BITMAP_COLOR)
    PictureDecoder::ToGrey(request.bitmap);
  return std::move(request.bitmap);
}

}  // namespace marrowleaf::platform
