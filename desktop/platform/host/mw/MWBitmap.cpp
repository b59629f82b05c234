#include "platform/mw/MWBitmap.h"

#include "platform/mw/MWGraphics.h"

void MWBitmap::SetBitmap(const SmartBitmap& bitmap) {
  if (bitmap.SharesPixelsWith(bitmap_) && bitmap.IsEmpty() == bitmap_.IsEmpty())
    return;
  bitmap_ = bitmap;
  MarkAsChanged();
}

void MWBitmap::SetStretch(bool stretch) {
  stretch_ = stretch;
  MarkAsChanged();
}

int MWBitmap::LoadAttributes(const AttributeLoader& loader) {
  MWWindow::LoadAttributes(loader);
  const std::string image = loader.GetString("image", "");
  if (!image.empty())
    SetBitmap(SmartBitmap::LoadFromTheme(image));
  stretch_ = loader.GetBool("stretch", stretch_);
  return 0;
}

int MWBitmap::cloneFromPrototype(const MWWindow* prototype) {
  MWWindow::cloneFromPrototype(prototype);
  if (const auto* bitmap = dynamic_cast<const MWBitmap*>(prototype)) {
    bitmap_ = bitmap->bitmap_;
    stretch_ = bitmap->stretch_;
  }
  return 0;
}

int MWBitmap::OnDraw(MWGraphics& graphics) {
  if (bitmap_.IsEmpty())
    return 0;
  const MWRect client = GetClientRect();
  if (stretch_) {
    graphics.StretchBitmap(client, bitmap_);
    return 0;
  }
  graphics.DrawBitmap(client.x + (client.w - bitmap_.Width()) / 2,
                      client.y + (client.h - bitmap_.Height()) / 2, bitmap_, client);
  return 0;
}
