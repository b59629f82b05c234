#include "ThemeImages.h"

#include "EventLoop.h"
#include "PngCodec.h"
#include "SvgRenderer.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/sdk/screen.h"
#include "platform/sdk/theme.h"
#include "platform/utils/Crc32Hash.h"

namespace marrowleaf::platform {
namespace {

constexpr int kSaveDelayMs = 2000;

// One candidate file of an image, read whole (within the cap) or not usable. Its signature (size
// and checksum of the content, or its absence) is what a stored image is checked against: a file
// changed in any way, even within the file system's time resolution, gives another signature.
struct ThemeFile {
  explicit ThemeFile(const std::string& device_path) {
    bool truncated = false;
    usable =
        ReadFileCapped(device_path, ThemeImages::kMaxFileBytes, &bytes, &truncated) && !truncated;
  }
  std::string Signature() const {
    if (!usable)
      return "-\n";
    return std::to_string(bytes.size()) + " " + std::to_string(utilities::crc32hash(bytes)) + "\n";
  }

  std::string bytes;
  bool usable = false;
};

}  // namespace

ThemeImages& ThemeImages::Get() {
  static ThemeImages* images = new ThemeImages();
  return *images;
}

// Names come from layouts and theme files: a name that could leave the images folder is refused.
bool ThemeImages::IsSafeName(const std::string& name) {
  return !name.empty() && name.size() <= 128 && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos && name.find("..") == std::string::npos;
}

std::string ThemeImages::StorePath(const std::string& theme, int dpi, int format) {
  return "/mnt/ext1/system/cache/theme_images/" + theme + "." + std::to_string(dpi) + "." +
         std::to_string(format) + ".bin";
}

ThemeImageStore& ThemeImages::StoreFor(int dpi, int format) {
  const std::string theme = CurrentThemeName();
  std::unique_ptr<ThemeImageStore>& store =
      stores_[DeviceRoot() + "\n" + theme + "\n" + std::to_string(dpi) + "\n" +
              std::to_string(format)];
  if (!store) {
    store = std::make_unique<ThemeImageStore>(
        StorePath(theme, dpi, format),
        "theme " + theme + ", " + std::to_string(dpi) + " dpi, format " + std::to_string(format));
  }
  return *store;
}

SmartBitmap ThemeImages::LoadFile(const std::string& name, int dpi, int format) {
  if (!IsSafeName(name))
    return SmartBitmap();
  const std::string base = std::string("/ebrmain/themes/") + CurrentThemeName() + "/images/" + name;
  const ThemeFile svg(base + ".svg");
  const ThemeFile png(base + ".png");
  const std::string signature = svg.Signature() + png.Signature();
  ThemeImageStore& store = StoreFor(dpi, format);
  SmartBitmap image = store.Find(name, signature);
  if (!image.IsEmpty())
    return image;
  if (svg.usable)
    image = SvgRenderer::Render(svg.bytes, dpi, format);
  if (image.IsEmpty() && png.usable)
    image = PngCodec::Decode(png.bytes, format);
  if (!image.IsEmpty()) {
    store.Put(name, signature, image);
    SaveLater();
  }
  return image;
}

SmartBitmap ThemeImages::Load(const std::string& name) {
  const int dpi = ScreenDpi() > 0 ? ScreenDpi() : 96;
  const int format = SmartBitmapFormatForDisplay();
  const std::string key_prefix = DeviceRoot() + "\n" + CurrentThemeName() + "\n" +
                                 std::to_string(dpi) + "\n" + std::to_string(format) + "\n";
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = images_.find(key_prefix + name);
  if (found != images_.end())
    return found->second;
  // A colour panel takes the theme's colour variant of an image ("<name>.color") where it has one.
  SmartBitmap bitmap;
  if (format == SMART_BITMAP_COLOR)
    bitmap = LoadFile(name + kColourSuffix, dpi, format);
  if (bitmap.IsEmpty())
    bitmap = LoadFile(name, dpi, format);
  if (bitmap.IsEmpty() && name != kBrokenImage) {
    MW_LOG(MW_LOG_WARNING, "theme image [%s] is missing or broken", name.c_str());
    auto broken = images_.find(key_prefix + kBrokenImage);
    bitmap = broken != images_.end() ? broken->second : LoadFile(kBrokenImage, dpi, format);
    images_[key_prefix + kBrokenImage] = bitmap;
  }
  images_[key_prefix + name] = bitmap;
  return bitmap;
}

void ThemeImages::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  images_.clear();
  stores_.clear();
}

void ThemeImages::Save() {
  std::lock_guard<std::mutex> lock(mutex_);
  // A store's path is a device path: only the stores of the device root in use are written (tests
  // switch roots; the program never does).
  const std::string root = DeviceRoot() + "\n";
  for (auto& [key, store] : stores_) {
    if (key.compare(0, root.size(), root) == 0)
      store->Save();
  }
}

// A moment after the last new image, so that the images a screen needs are written once together.
void ThemeImages::SaveLater() {
  EventLoop& loop = EventLoop::Get();
  if (loop.OnLoopThread())
    loop.ArmSystemTimer(
        "theme images saved", [this] { Save(); }, kSaveDelayMs);
}

}  // namespace marrowleaf::platform
