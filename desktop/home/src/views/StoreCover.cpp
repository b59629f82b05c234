#include "views/StoreCover.h"

#include "data/CoverCacheManager.h"
#include "platform/mw/MWBitmap.h"
#include "platform/sdk/device_features.h"
#include "platform/utils/BitmapUtils.h"

namespace marrowleaf::desktop {

SmartBitmap StoreCover::Fill(MWWindow* cover_window, const Book& book) {
  if (cover_window == nullptr)
    return SmartBitmap();
  const MWRect client = cover_window->GetClientRect();
  // The store block is on the first screen: its covers are loaded at once.
  SmartBitmap bitmap = CoverCacheManager::Instance().GetStoreCover(
      book.store_cover, book.store_id, client.w, client.h, true);
  if (auto* picture = cover_window->GetChildByName<MWBitmap>("cover")) {
    const bool inverted = IsScreenInverted() != 0 && !bitmap.IsEmpty();
    picture->SetBitmap(inverted ? pk_copy_inv_bitmap(bitmap) : bitmap);
  }
  return bitmap;
}

}  // namespace marrowleaf::desktop
