// The platform's cover calls: the cover a book file carries and its rendered first page.
#include <atomic>
#include <string>

#include "BookCoverReader.h"
#include "FailedBooks.h"
#include "TypographicCover.h"
#include "platform/sdk/covers.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/utils/CoverLoader.h"

using marrowleaf::platform::BookCoverReader;
using marrowleaf::platform::FailedBooks;

namespace {

std::atomic<int> load_image_flags{0};

}  // namespace

void SetLoadImageFlags(int flags) {
  load_image_flags = flags;
}

int GetLoadImageFlags() {
  return load_image_flags;
}

SmartBitmap GetBookCoverEx(const char* path, int width, int height, int color, int drm) {
  if (path == nullptr || *path == '\0' || drm != 0)
    return SmartBitmap();
  const std::string host_path = HostPath(path);
  if (FailedBooks::Get().HasFailed(host_path))
    return SmartBitmap();
  SmartBitmap bitmap = BookCoverReader::EmbeddedCover(
      host_path, width, height, color != 0 ? SMART_BITMAP_COLOR : SMART_BITMAP_GREY);
  if (bitmap.IsEmpty())
    FailedBooks::Get().Remember(host_path);
  return bitmap;
}

SmartBitmap RenderBookFirstPage(const char* book_path, int width, int height) {
  if (book_path == nullptr || *book_path == '\0')
    return SmartBitmap();
  // The failure memory of embedded covers is not asked here: a book without an embedded picture
  // still has a first page.
  return BookCoverReader::FirstPage(HostPath(book_path), width, height,
                                    SmartBitmapFormatForDisplay());
}

int RunAdobeScanner(const char* book_path, const char* thumb_path, int width, int height,
                    int /*flags*/) {
  MW_RETURN_IF(book_path == nullptr || thumb_path == nullptr || width < 1 || height < 1, -1, "");
  SmartBitmap page = RenderBookFirstPage(book_path, width, height);
  if (page.IsEmpty())
    return -1;
  if (page.Width() != width || page.Height() != height)
    page = CoverLoader::stretchBitmapOpenCv(page, width, height, 1);
  if (pk_buildpath(thumb_path) != 0 || !page.SavePNG(thumb_path))
    return -1;
  return 0;
}

SmartBitmap MakeTypographicCover(const std::string& title, const std::string& author, int width,
                                 int height) {
  return marrowleaf::platform::TypographicCover::Make(title, author, width, height,
                                                      SmartBitmapFormatForDisplay());
}
