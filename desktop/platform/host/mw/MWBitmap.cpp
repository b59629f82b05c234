#include "platform/mw/MWBitmap.h"

#include "platform/mw/MWGraphics.h"

void MWBitmap::SetBitmap(const SmartBitmap& bitmap) {
  const bool was_pending = !pending_image_.empty();
  pending_image_.clear();
  if (!was_pending && bitmap.SharesPixelsWith(bitmap_) && bitmap.IsEmpty() == bitmap_.IsEmpty())
    return;
  bitmap_ = bitmap;
  MarkAsChanged();
}

const SmartBitmap& MWBitmap::GetBitmap() const {
  if (!pending_image_.empty()) {
    bitmap_ = SmartBitmap::LoadFromTheme(pending_image_);
    pending_image_.clear();
  }
  return bitmap_;
}

void MWBitmap::SetStretch(bool stretch) {
  stretch_ = stretch;
  MarkAsChanged();
}

int MWBitmap::LoadAttributes(const AttributeLoader& loader) {
  MWWindow::LoadAttributes(loader);
  const std::string image = loader.GetString("image", "");
  if (!image.empty()) {
    pending_image_ = image;
    bitmap_ = SmartBitmap();
    MarkAsChanged();
  }
  stretch_ = loader.GetBool("stretch", stretch_);
  return 0;
}

int MWBitmap::cloneFromPrototype(const MWWindow* prototype) {
  MWWindow::cloneFromPrototype(prototype);
  if (const auto* bitmap = dynamic_cast<const MWBitmap*>(prototype)) {
    bitmap_ = bitmap->bitmap_;
    pending_image_ = bitmap->pending_image_;
    stretch_ = bitmap->stretch_;
  }
  return 0;
}

int MWBitmap::OnDraw(MWGraphics& graphics) {
  const SmartBitmap& picture = GetBitmap();
  if (picture.IsEmpty())
    return 0;
  const MWRect client = GetClientRect();
  if (stretch_) {
    graphics.StretchBitmap(client, picture);
    return 0;
  }
  graphics.DrawBitmap(client.x + (client.w - picture.Width()) / 2,
                      client.y + (client.h - picture.Height()) / 2, picture, client);
  return 0;
}
