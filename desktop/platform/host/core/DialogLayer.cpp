#include "DialogLayer.h"

#include <algorithm>

#include "platform/mw/MWGraphics.h"

namespace marrowleaf::platform {

DialogLayer& DialogLayer::Get() {
  // Never destroyed: threads that outlive main may still read it.
  static auto* instance = new DialogLayer();
  return *instance;
}

void DialogLayer::SetPresenter(PlaceHook place, ShowHook show) {
  std::vector<DialogBox> boxes;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    place_ = place;
    show_ = show;
    boxes = boxes_;
  }
  // Boxes opened before the screen was there (a message of the start-up upkeep) show now.
  for (DialogBox& box : boxes) {
    if (place)
      place(&box);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (DialogBox* kept = Lookup(box.id)) {
        kept->rect = box.rect;
        kept->button_rects = box.button_rects;
      }
    }
    Show(box.rect, MW_UPDATE_PARTIAL);
  }
}

void DialogLayer::SetUncoverHook(UncoverHook uncover) {
  std::lock_guard<std::mutex> lock(mutex_);
  uncover_ = uncover;
}

int DialogLayer::Open(DialogBox box) {
  PlaceHook place;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    place = place_;
    box.id = ++last_id_;
  }
  if (place)
    place(&box);
  std::vector<MWRect> replaced;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (box.kind == DialogBox::Kind::kMessage) {
      for (const DialogBox& open : boxes_) {
        if (open.kind == DialogBox::Kind::kMessage)
          replaced.push_back(open.rect);
      }
      boxes_.erase(std::remove_if(boxes_.begin(), boxes_.end(),
                                  [](const DialogBox& open) {
                                    return open.kind == DialogBox::Kind::kMessage;
                                  }),
                   boxes_.end());
    }
    boxes_.push_back(box);
  }
  for (const MWRect& area : replaced) Uncover(area);
  Show(box.rect, MW_UPDATE_PARTIAL);
  return box.id;
}

void DialogLayer::Close(int id) {
  MWRect area;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = std::find_if(boxes_.begin(), boxes_.end(),
                              [id](const DialogBox& box) { return box.id == id; });
    if (found == boxes_.end())
      return;
    area = found->rect;
    boxes_.erase(found);
  }
  Uncover(area);
}

void DialogLayer::Change(int id, int DialogBox::*field, int value, int update_kind) {
  MWRect area;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    DialogBox* box = Lookup(id);
    if (box == nullptr || box->*field == value)
      return;
    box->*field = value;
    area = box->rect;
  }
  Show(area, update_kind);
}

void DialogLayer::SetFocused(int id, int button) {
  Change(id, &DialogBox::focused, button, MW_UPDATE_PARTIAL);
}

void DialogLayer::SetPressed(int id, int button) {
  // A pressed button is quick feedback, as for the application's own buttons.
  Change(id, &DialogBox::pressed, button, MW_UPDATE_DYNAMIC);
}

std::vector<DialogBox> DialogLayer::Boxes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

std::optional<DialogBox> DialogLayer::Find(int id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const DialogBox* box = Lookup(id);
  if (box == nullptr)
    return std::nullopt;
  return *box;
}

int DialogLayer::ButtonAt(int id, int x, int y) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const DialogBox* box = Lookup(id);
  if (box == nullptr)
    return -1;
  for (size_t i = 0; i < box->button_rects.size(); ++i) {
    if (box->button_rects[i].Contains(x, y))
      return static_cast<int>(i);
  }
  return -1;
}

void DialogLayer::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  boxes_.clear();
}

DialogBox* DialogLayer::Lookup(int id) {
  for (DialogBox& box : boxes_) {
    if (box.id == id)
      return &box;
  }
  return nullptr;
}

const DialogBox* DialogLayer::Lookup(int id) const {
  return const_cast<DialogLayer*>(this)->Lookup(id);
}

void DialogLayer::Show(const MWRect& area, int update_kind) const {
  ShowHook show;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    show = show_;
  }
  if (show && !area.IsEmpty())
    show(area, update_kind);
}

void DialogLayer::Uncover(const MWRect& area) const {
  UncoverHook uncover;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    uncover = uncover_;
  }
  if (uncover && !area.IsEmpty())
    uncover(area);
}

}  // namespace marrowleaf::platform
