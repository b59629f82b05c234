#include "ScreenshotFile.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "HostFiles.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {

bool ScreenshotFile::Write(const PixelImage& image, const std::string& host_path) {
  MW_RETURN_IF(host_path.empty() || image.Empty(), false, "no screenshot file or no picture");
  DeflatePng::Image picture;
  picture.components = 1;
  for (uint32_t pixel : image.pixels) {
    if (((pixel >> 16) & 0xFF) != (pixel & 0xFF) || ((pixel >> 8) & 0xFF) != (pixel & 0xFF)) {
      picture.components = 3;
      break;
    }
  }
  AppendRows(image, &picture);
  return WritePng(picture, host_path);
}

void ScreenshotFile::AppendRows(const PixelImage& band, DeflatePng::Image* picture) {
  if (picture->components != 1 && picture->components != 3)
    picture->components = 3;
  if (picture->width == 0)
    picture->width = band.width;
  const int width = std::min(band.width, picture->width);
  const size_t stride = static_cast<size_t>(picture->width) * picture->components;
  for (int y = 0; y < band.height; ++y) {
    const size_t start = picture->rows.size();
    picture->rows.resize(start + stride, 0xFF);
    uint8_t* row = picture->rows.data() + start;
    for (int x = 0; x < width; ++x) {
      const uint32_t pixel = band.At(x, y);
      if (picture->components == 1) {
        row[x] = static_cast<uint8_t>(pixel & 0xFF);
      } else {
        row[3 * x] = static_cast<uint8_t>((pixel >> 16) & 0xFF);
        row[3 * x + 1] = static_cast<uint8_t>((pixel >> 8) & 0xFF);
        row[3 * x + 2] = static_cast<uint8_t>(pixel & 0xFF);
      }
    }
    ++picture->height;
  }
}

bool ScreenshotFile::WritePng(const DeflatePng::Image& picture, const std::string& host_path) {
  MW_RETURN_IF(host_path.empty() || picture.width <= 0 || picture.height <= 0, false,
               "no screenshot file or no picture");
  const std::string png = DeflatePng::Encode(picture);
  MW_RETURN_IF(png.empty(), false, "can't encode %s", host_path.c_str());
  return WritePcFile(host_path, png);
}

bool ScreenshotFile::WritePcFile(const std::string& host_path, const std::string& content) {
  MW_RETURN_IF(host_path.empty(), false, "no file name");
  // A PC path, not a device one: it is written where the person named it, relative names in the
  // working folder.
  std::error_code ignored;
  const std::filesystem::path folder = std::filesystem::path(host_path).parent_path();
  if (!folder.empty())
    std::filesystem::create_directories(folder, ignored);
  return WriteHostFileAtomically(host_path, content) == 0;
}

std::string ScreenshotFile::NextKeyScreenshotName() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof(stamp), "%Y%m%d-%H%M%S", &local);
  const std::string base = std::string("/.sim/screenshot-") + stamp;
  std::string name = base + ".png";
  for (int n = 2; pk_access(name.c_str(), 0) == 0 && n < 100; ++n) {
    name = base + "-" + std::to_string(n) + ".png";
  }
  return name;
}

}  // namespace marrowleaf::platform
