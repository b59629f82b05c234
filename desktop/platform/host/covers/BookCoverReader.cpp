#include "BookCoverReader.h"

#include <sys/stat.h>
#include <algorithm>
#include <cctype>
#include <fstream>

#include "CbzCover.h"
#include "CoverLimits.h"
#include "DjvuCover.h"
#include "EpubCover.h"
#include "Fb2Cover.h"
#include "MobiCover.h"
#include "PdfCover.h"
#include "PictureDecoder.h"
#include "TypographicCover.h"
#include "ZipReader.h"

namespace marrowleaf::platform {
namespace {

// The size of a typographic cover made "at full size".
constexpr int kTypographicWidth = 600;
constexpr int kTypographicHeight = 800;

bool IsMobi(const std::string& extension) {
  return extension == "mobi" || extension == "azw3" || extension == "azw" || extension == "prc";
}

bool IsPageFormat(const std::string& extension) {
  return extension == "pdf" || extension == "djvu" || extension == "djv";
}

SmartBitmap RenderPage(const std::string& host_path, const std::string& extension, int width,
                       int height, int format) {
  return extension == "pdf" ? PdfCover::Render(host_path, width, height, format)
                            : DjvuCover::Render(host_path, width, height, format);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

std::string BookCoverReader::Extension(const std::string& path) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return std::string();
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

bool BookCoverReader::ReadBook(const std::string& host_path, size_t cap, std::string* bytes) {
  struct stat info;
  if (stat(host_path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<unsigned long long>(info.st_size) > cap) {
    return false;
  }
  std::ifstream in(host_path, std::ios::binary);
  bytes->resize(static_cast<size_t>(info.st_size));
  return in.read(bytes->data(), static_cast<std::streamsize>(bytes->size())) &&
         in.gcount() == static_cast<std::streamsize>(bytes->size());
}

SmartBitmap BookCoverReader::EmbeddedCover(const std::string& host_path, int target_width,
                                           int target_height, int format) {
  const std::string extension = Extension(host_path);
  const CoverDeadline deadline;
  std::string picture;
  if (extension == "epub" || extension == "cbz") {
    std::unique_ptr<ZipReader> zip = ZipReader::OpenFile(host_path);
    if (!zip)
      return SmartBitmap();
    const bool found = extension == "epub" ? EpubCover::Extract(*zip, deadline, &picture)
                                           : CbzCover::Extract(*zip, deadline, &picture);
    if (!found)
      return SmartBitmap();
  } else if (extension == "fb2") {
    std::string book;
    if (!ReadBook(host_path, CoverLimits::kMaxBookBytes, &book) ||
        !Fb2Cover::Extract(book, &picture))
      return SmartBitmap();
  } else if (IsMobi(extension)) {
    std::string book;
    if (!ReadBook(host_path, CoverLimits::kMaxBookBytes, &book) ||
        !MobiCover::Extract(book, &picture)) {
      return SmartBitmap();
    }
  } else if (extension == "jpg" || extension == "jpeg" || extension == "png") {
    if (!ReadBook(host_path, CoverLimits::kMaxImageBytes, &picture))
      return SmartBitmap();
  } else if (IsPageFormat(extension)) {
    return RenderPage(host_path, extension, target_width, target_height, format);
  } else {
    return SmartBitmap();
  }
  if (deadline.Passed())
    return SmartBitmap();
  return PictureDecoder::Decode(picture, format, target_width, target_height);
}

SmartBitmap BookCoverReader::TypographicFallback(const std::string& host_path,
                                                 const std::string& title,
                                                 const std::string& author, int width, int height,
                                                 int format) {
  if (width <= 0 || height <= 0) {
    width = kTypographicWidth;
    height = kTypographicHeight;
  }
  return TypographicCover::Make(title.empty() ? BaseName(host_path) : title, author, width, height,
                                format);
}

SmartBitmap BookCoverReader::FirstPage(const std::string& host_path, int width, int height,
                                       int format) {
  const std::string extension = Extension(host_path);
  if (IsPageFormat(extension))
    return RenderPage(host_path, extension, width, height, format);
  struct stat info;
  if (stat(host_path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return SmartBitmap();
  const CoverDeadline deadline;
  std::string picture;
  std::string title;
  std::string author;
  if (extension == "epub" || extension == "cbz") {
    std::unique_ptr<ZipReader> zip = ZipReader::OpenFile(host_path);
    if (zip && extension == "cbz")
      CbzCover::Extract(*zip, deadline, &picture);
    if (zip && extension == "epub")
      EpubCover::ExtractFirstPage(*zip, deadline, &picture, &title, &author);
  } else if (extension == "fb2") {
    std::string book;
    if (ReadBook(host_path, CoverLimits::kMaxBookBytes, &book))
      Fb2Cover::Extract(book, &picture, &title, &author);
  } else if (IsMobi(extension)) {
    std::string book;
    if (ReadBook(host_path, CoverLimits::kMaxBookBytes, &book))
      MobiCover::Extract(book, &picture, &title);
  }
  SmartBitmap bitmap = PictureDecoder::Decode(picture, format, width, height);
  if (!bitmap.IsEmpty())
    return bitmap;
  // A comic book without pictures has no first page worth showing.
  if (extension == "cbz")
    return SmartBitmap();
  return TypographicFallback(host_path, title, author, width, height, format);
}

}  // namespace marrowleaf::platform
