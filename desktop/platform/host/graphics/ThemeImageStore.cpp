#include "ThemeImageStore.h"

#include <cstring>
#include <utility>

#include "SmartBitmapAccess.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/utils/Crc32Hash.h"

namespace marrowleaf::platform {
namespace {

constexpr char kMagic[] = "MLTHEMEIMG1\n";
constexpr size_t kMagicBytes = sizeof kMagic - 1;

void PutWord(std::string* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out->push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutText(std::string* out, const std::string& text) {
  PutWord(out, static_cast<uint32_t>(text.size()));
  out->append(text);
}

// Reads the file front to back; every read checks that the bytes are there.
class Reader {
 public:
  Reader(const std::string& bytes, size_t end) : bytes_(bytes), end_(end) {}

  bool Word(uint32_t* value) {
    if (end_ - at_ < 4)
      return false;
    *value = 0;
    for (int i = 0; i < 4; ++i)
      *value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes_[at_ + i])) << (8 * i);
    at_ += 4;
    return true;
  }
  bool Text(std::string* text) {
    uint32_t size = 0;
    if (!Word(&size) || size > ThemeImageStore::kMaxTextBytes || end_ - at_ < size)
      return false;
    text->assign(bytes_, at_, size);
    at_ += size;
    return true;
  }
  bool Skip(const char* expected, size_t size) {
    if (end_ - at_ < size || bytes_.compare(at_, size, expected, size) != 0)
      return false;
    at_ += size;
    return true;
  }
  bool Pixels(SmartBitmap* image) {
    uint32_t width = 0;
    uint32_t height = 0;
    if (!Word(&width) || !Word(&height) || !SmartBitmapAccess::SizeAllowed(width, height))
      return false;
    const size_t size = static_cast<size_t>(width) * height * 4;
    if (end_ - at_ < size)
      return false;
    *image = SmartBitmapAccess::Allocate(static_cast<int>(width), static_cast<int>(height));
    if (image->IsEmpty())
      return false;
    std::memcpy(image->MutableData(), bytes_.data() + at_, size);
    at_ += size;
    return true;
  }
  bool AtEnd() const { return at_ == end_; }

 private:
  const std::string& bytes_;
  size_t end_;
  size_t at_ = 0;
};

}  // namespace

ThemeImageStore::ThemeImageStore(std::string device_path, std::string context)
    : device_path_(std::move(device_path)), context_(std::move(context)) {}

std::string ThemeImageStore::Encode(const std::string& context,
                                    const std::map<std::string, Stored>& images) {
  std::string out(kMagic, kMagicBytes);
  PutText(&out, context);
  PutWord(&out, static_cast<uint32_t>(images.size()));
  for (const auto& [name, stored] : images) {
    PutText(&out, name);
    PutText(&out, stored.signature);
    PutWord(&out, static_cast<uint32_t>(stored.image.Width()));
    PutWord(&out, static_cast<uint32_t>(stored.image.Height()));
    out.append(reinterpret_cast<const char*>(stored.image.Data()),
               static_cast<size_t>(stored.image.Stride()) * stored.image.Height());
  }
  PutWord(&out, utilities::crc32hash(out));
  return out;
}

bool ThemeImageStore::Decode(const std::string& bytes, const std::string& context,
                             std::map<std::string, Stored>* images) {
  images->clear();
  if (bytes.size() < kMagicBytes + 4 || bytes.size() > kMaxFileBytes)
    return false;
  const size_t end = bytes.size() - 4;
  uint32_t crc = 0;
  for (int i = 0; i < 4; ++i)
    crc |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[end + i])) << (8 * i);
  if (crc != utilities::crc32hash(bytes.data(), end))
    return false;
  Reader reader(bytes, end);
  std::string stored_context;
  uint32_t count = 0;
  if (!reader.Skip(kMagic, kMagicBytes) || !reader.Text(&stored_context) ||
      stored_context != context || !reader.Word(&count) || count > kMaxImages) {
    return false;
  }
  std::map<std::string, Stored> read;
  for (uint32_t i = 0; i < count; ++i) {
    std::string name;
    Stored stored;
    if (!reader.Text(&name) || !reader.Text(&stored.signature) || !reader.Pixels(&stored.image))
      return false;
    read[name] = std::move(stored);
  }
  if (!reader.AtEnd())
    return false;
  *images = std::move(read);
  return true;
}

void ThemeImageStore::ReadOnce() {
  if (std::exchange(read_, true))
    return;
  std::string bytes;
  bool truncated = false;
  if (!ReadFileCapped(device_path_, kMaxFileBytes, &bytes, &truncated))
    return;
  if (truncated || !Decode(bytes, context_, &images_))
    MW_LOG(MW_LOG_WARNING, "theme image store %s is damaged; drawing the images anew",
           device_path_.c_str());
}

SmartBitmap ThemeImageStore::Find(const std::string& name, const std::string& signature) {
  ReadOnce();
  const auto found = images_.find(name);
  if (found == images_.end() || found->second.signature != signature)
    return SmartBitmap();
  return found->second.image;
}

void ThemeImageStore::Put(const std::string& name, const std::string& signature,
                          const SmartBitmap& image) {
  ReadOnce();
  if (image.IsEmpty() || images_.size() >= kMaxImages || name.size() > kMaxTextBytes ||
      signature.size() > kMaxTextBytes) {
    return;
  }
  images_[name] = Stored{signature, image};
  changed_ = true;
}

bool ThemeImageStore::Save() {
  if (!changed_)
    return true;
  const std::string bytes = Encode(context_, images_);
  if (bytes.size() > kMaxFileBytes)
    return false;
  if (pk_buildpath(device_path_.c_str()) != 0 || WriteFileAtomically(device_path_, bytes) != 0) {
    MW_LOG(MW_LOG_WARNING, "theme image store %s can't be written", device_path_.c_str());
    return false;
  }
  changed_ = false;
  return true;
}

}  // namespace marrowleaf::platform
