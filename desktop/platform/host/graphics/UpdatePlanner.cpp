#include "UpdatePlanner.h"

#include <algorithm>

#include "platform/mw/MWGraphics.h"

namespace marrowleaf::platform {

namespace {

long long Area(const MWRect& rect) {
  return static_cast<long long>(rect.w) * rect.h;
}

MWRect Bounds(const MWRect& a, const MWRect& b) {
  const int left = std::min(a.x, b.x);
  const int top = std::min(a.y, b.y);
  const int right = std::max(a.x + a.w, b.x + b.w);
  const int bottom = std::max(a.y + a.h, b.y + b.h);
  return MWRect{left, top, right - left, bottom - top};
}

bool WorthMerging(const MWRect& a, const MWRect& b) {
  return Area(Bounds(a, b)) * 4 <= (Area(a) + Area(b)) * 5;
}

MWRect BoundsOfAll(const std::vector<MWRect>& rects) {
  MWRect bounds = rects.front();
  for (const MWRect& rect : rects) bounds = Bounds(bounds, rect);
  return bounds;
}

}  // namespace

void UpdatePlanner::Mark(const MWRect& rect, int kind) {
  switch (kind) {
    case MW_UPDATE_DYNAMIC:
      dynamic_.push_back(rect);
      break;
    case MW_UPDATE_SOFT:
      soft_ = true;
      break;
    case MW_UPDATE_FULL:
      full_ = true;
      break;
    case MW_UPDATE_CLEAN:
      clean_.push_back(rect);
      break;
    default:
      partial_.push_back(rect);
      break;
  }
}

int UpdatePlanner::StrongestKind() const {
  if (full_)
    return MW_UPDATE_FULL;
  if (soft_)
    return MW_UPDATE_SOFT;
  if (!clean_.empty())
    return MW_UPDATE_CLEAN;
  if (!partial_.empty())
    return MW_UPDATE_PARTIAL;
  return dynamic_.empty() ? MW_UPDATE_PARTIAL : MW_UPDATE_DYNAMIC;
}

bool UpdatePlanner::HasPending() const {
  return full_ || soft_ || !partial_.empty() || !clean_.empty() || !dynamic_.empty();
}

void UpdatePlanner::Clear() {
  partial_.clear();
  clean_.clear();
  dynamic_.clear();
  full_ = false;
  soft_ = false;
}

MWRect UpdatePlanner::Clip(const MWRect& rect, const MWRect& screen) {
  if (rect.IsEmpty())
    return screen;
  const long long left = std::max<long long>(rect.x, 0);
  const long long top = std::max<long long>(rect.y, 0);
  const long long right = std::min<long long>(static_cast<long long>(rect.x) + rect.w, screen.w);
  const long long bottom = std::min<long long>(static_cast<long long>(rect.y) + rect.h, screen.h);
  if (right <= left || bottom <= top)
    return MWRect{};
  return MWRect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                static_cast<int>(bottom - top)};
}

std::vector<MWRect> UpdatePlanner::Merge(std::vector<MWRect> rects) {
  rects.erase(
      std::remove_if(rects.begin(), rects.end(), [](const MWRect& rect) { return rect.IsEmpty(); }),
      rects.end());
  // Merging two rectangles can make their box worth merging with a third, so repeat until no
  // pair merges.
  for (bool merged = true; merged;) {
    merged = false;
    for (size_t i = 0; i < rects.size() && !merged; ++i) {
      for (size_t j = i + 1; j < rects.size() && !merged; ++j) {
        if (!WorthMerging(rects[i], rects[j]))
          continue;
        rects[i] = Bounds(rects[i], rects[j]);
        rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
        merged = true;
      }
    }
  }
  if (rects.size() > static_cast<size_t>(kMaxUpdatesPerFlush))
    rects = {BoundsOfAll(rects)};
  return rects;
}

bool UpdatePlanner::FullUpdateDue(const MWRect& screen) {
  if (full_)
    return true;
  if (!clean_.empty() && Area(BoundsOfAll(clean_)) * 2 >= Area(screen))
    return true;
  if (soft_ || (partial_.empty() && clean_.empty()))
    return false;
  ++partial_flushes_;
  return partial_flushes_per_full_ > 0 && partial_flushes_ >= partial_flushes_per_full_;
}

std::vector<UpdatePlanner::Update> UpdatePlanner::Take(int screen_width, int screen_height) {
  const MWRect screen{0, 0, screen_width, screen_height};
  for (auto* list : {&partial_, &clean_, &dynamic_}) {
    for (MWRect& rect : *list) rect = Clip(rect, screen);
    list->erase(std::remove_if(list->begin(), list->end(),
                               [](const MWRect& rect) { return rect.IsEmpty(); }),
                list->end());
  }
  std::vector<Update> updates;
  if (FullUpdateDue(screen)) {
    partial_flushes_ = 0;
    updates.push_back(Update{UpdateKind::kFull, screen});
  } else if (soft_) {
    updates.push_back(Update{UpdateKind::kSoft, screen});
  } else {
    std::vector<MWRect> partial = partial_;
    partial.insert(partial.end(), clean_.begin(), clean_.end());
    for (const MWRect& rect : Merge(partial)) updates.push_back(Update{UpdateKind::kPartial, rect});
    for (const MWRect& rect : Merge(dynamic_))
      updates.push_back(Update{UpdateKind::kDynamic, rect});
  }
  Clear();
  return updates;
}

}  // namespace marrowleaf::platform
