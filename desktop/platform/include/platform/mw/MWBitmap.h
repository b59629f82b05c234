#pragma once

#include <string>

#include "platform/mw/MWWindow.h"
#include "platform/utils/SmartBitmap.h"

// A picture: drawn centred in the client area, or scaled to fill it when stretching. An empty
// bitmap draws nothing. Layout attributes: "image" (theme image name, loaded when the picture is
// first drawn or asked for: a layout names many pictures that seldom show), "stretch".
class MWBitmap : public MWWindow {
 public:
  MWBitmap() { SetClassName("MWBitmap"); }

  void SetBitmap(const SmartBitmap& bitmap);
  const SmartBitmap& GetBitmap() const;
  void SetStretch(bool stretch);

  int LoadAttributes(const AttributeLoader& loader) override;
  int cloneFromPrototype(const MWWindow* prototype) override;
  int OnDraw(MWGraphics& graphics) override;

 private:
  // The theme image the layout named, until it is loaded into bitmap_.
  mutable std::string pending_image_;
  mutable SmartBitmap bitmap_;
  bool stretch_ = false;
};
