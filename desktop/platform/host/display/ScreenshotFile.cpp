#include "ScreenshotFile.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "HostFiles.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

bool ScreenshotFile::Write(const PixelImage& image, const std::string& host_path) {
  MW_RETURN_IF(host_path.empty() || image.Empty(), false, "no screenshot file or no picture");
  SmartBitmap bitmap = SmartBitmap::Create(image.width, image.height);
  MW_RETURN_IF(bitmap.IsEmpty(), false, "screen of %dx%d", image.width, image.height);
  uint32_t* out = bitmap.MutableData();
  // Opaque pixels are the same premultiplied or not: only the alpha byte is added.
  for (size_t i = 0; i < image.pixels.size(); ++i) out[i] = 0xFF000000u | image.pixels[i];
  const std::string png = bitmap.EncodePNG();
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
