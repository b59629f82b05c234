#pragma once

#include "platform/mw/MWWindow.h"
#include "platform/utils/SmartBitmap.h"

// A picture: drawn centred in the client area, or scaled to fill it when stretching. An empty
// bitmap draws nothing. Layout attributes: "image" (theme image name), "stretch" (true/false).
class MWBitmap : public MWWindow {
 public:
  MWBitmap() { SetClassName("MWBitmap"); }

  void SetBitmap(const SmartBitmap& bitmap);
  const SmartBitmap& GetBitmap() const { return bitmap_; }
  void SetStretch(bool stretch);

  int LoadAttributes(const AttributeLoader& loader) override;
  int cloneFromPrototype(const MWWindow* prototype) override;
  int OnDraw(MWGraphics& graphics) override;

 private:
  SmartBitmap bitmap_;
  bool stretch_ = false;
};
