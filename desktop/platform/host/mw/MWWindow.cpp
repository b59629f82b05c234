#include "platform/mw/MWWindow.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <utility>

#include "EventLoop.h"
#include "platform/mw/MWAppFrame.h"
#include "platform/mw/MWBorderRenderer.h"
#include "platform/mw/MWGraphics.h"
#include "platform/mw/WindowFactory.h"
#include "platform/sdk/events.h"
#include "platform/sdk/log.h"

namespace {

// Windows alive now: posted commands and the frame's routing check their targets against it, so a
// window deleted in between is skipped instead of used.
std::unordered_set<const MWWindow*>& LiveWindows() {
  static auto* windows = new std::unordered_set<const MWWindow*>();
  return *windows;
}

MWBorderRenderer* g_default_focused_border = nullptr;

}  // namespace

MWWindow::MWWindow() {
  LiveWindows().insert(this);
}

MWWindow::~MWWindow() {
  LiveWindows().erase(this);
  if (MWAppFrame::m_curFrame != nullptr)
    MWAppFrame::m_curFrame->ForgetWindow(this);
  for (MWWindow* child : children_) {
    child->parent_ = nullptr;
    if (std::find(owned_.begin(), owned_.end(), child) != owned_.end())
      delete child;
  }
  children_.clear();
  owned_.clear();
  if (parent_ != nullptr)
    parent_->DetachChild(this);
}

bool MWWindow::IsAlive(const MWWindow* window) {
  return LiveWindows().count(window) != 0;
}

void MWWindow::Attach(MWWindow* parent, bool owned) {
  if (parent_ != nullptr)
    parent_->DetachChild(this);
  parent_ = parent;
  if (parent == nullptr)
    return;
  parent->children_.push_back(this);
  if (owned)
    parent->owned_.push_back(this);
}

void MWWindow::DetachChild(MWWindow* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
  owned_.erase(std::remove(owned_.begin(), owned_.end(), child), owned_.end());
  // What the child covered must be drawn again.
  MarkAsChanged();
}

void MWWindow::Place(MWWindow* parent, const MWRect& rect, int style) {
  rect_ = MWRect{rect.x, rect.y, std::max(rect.w, 0), std::max(rect.h, 0)};
  style_ = style;
  visible_ = (style & MWS_VISIBLE) != 0;
  created_ = true;
  changed_ = true;
  if (parent != nullptr)
    parent->MarkAsChanged();
}

int MWWindow::Create(MWWindow* parent, int x, int y, int width, int height, int style) {
  MW_RETURN_IF(created_, -1, "window \"%s\" is already created", name_.c_str());
  Attach(parent, false);
  Place(parent, MWRect{x, y, width, height}, style);
  return OnCreate();
}

int MWWindow::AdoptChild(std::unique_ptr<MWWindow> child, const MWRect& rect, int style,
                         bool run_on_create) {
  MW_RETURN_IF(!child, -1, "no window");
  MW_RETURN_IF(child->created_, -1, "window \"%s\" is already created", child->name_.c_str());
  MWWindow* raw = child.release();
  raw->Attach(this, true);
  raw->Place(this, rect, style);
  return run_on_create ? raw->OnCreate() : 0;
}

MWWindow* MWWindow::FindChild(const std::string& name, bool nested) const {
  for (MWWindow* child : children_) {
    if (child->name_ == name)
      return child;
  }
  if (!nested)
    return nullptr;
  for (MWWindow* child : children_) {
    if (MWWindow* found = child->FindChild(name, true))
      return found;
  }
  return nullptr;
}

MWAppFrame* MWWindow::GetFrame() const {
  const MWWindow* window = this;
  while (window->parent_ != nullptr) window = window->parent_;
  return dynamic_cast<MWAppFrame*>(const_cast<MWWindow*>(window));
}

bool MWWindow::IsAncestorOf(const MWWindow* window) const {
  for (; window != nullptr; window = window->parent_) {
    if (window == this)
      return true;
  }
  return false;
}

void MWWindow::SetWindowPos(int x, int y, int width, int height) {
  const MWRect rect{x, y, std::max(width, 0), std::max(height, 0)};
  if (rect == rect_)
    return;
  // The old place shows the parent again, the new place this window.
  if (parent_ != nullptr)
    parent_->MarkAsChanged();
  rect_ = rect;
  MarkAsChanged();
}

void MWWindow::SetClientMargins(int left, int top, int right, int bottom) {
  margin_left_ = left;
  margin_top_ = top;
  margin_right_ = right;
  margin_bottom_ = bottom;
  MarkAsChanged();
}

MWRect MWWindow::GetClientRect() const {
  return MWRect{margin_left_, margin_top_, std::max(0, rect_.w - margin_left_ - margin_right_),
                std::max(0, rect_.h - margin_top_ - margin_bottom_)};
}

void MWWindow::ChildOrigin(int* x, int* y) const {
  *x = 0;
  *y = 0;
}

void MWWindow::ClientToScreen(int* x, int* y) const {
  *x += rect_.x;
  *y += rect_.y;
  if (parent_ == nullptr)
    return;
  int origin_x = 0;
  int origin_y = 0;
  parent_->ChildOrigin(&origin_x, &origin_y);
  *x += origin_x;
  *y += origin_y;
  parent_->ClientToScreen(x, y);
}

MWRect MWWindow::ClientToScreen(const MWRect& rect) const {
  MWRect screen = rect;
  ClientToScreen(&screen.x, &screen.y);
  return screen;
}

void MWWindow::ChangeWindowStyle(int add, int remove) {
  style_ = (style_ | add) & ~remove;
  MarkAsChanged();
}

void MWWindow::ChangeExStyle(int add, int remove) {
  const int style = (ex_style_ | add) & ~remove;
  if (style == ex_style_)
    return;
  ex_style_ = style;
  MarkAsChanged();
}

void MWWindow::SetWindowFont(const MWFont& font) {
  font_ = font;
  MarkAsChanged();
}

const MWFont* MWWindow::GetWindowFont() const {
  for (const MWWindow* window = this; window != nullptr; window = window->parent_) {
    if (window->font_)
      return &*window->font_;
  }
  return nullptr;
}

void MWWindow::SetTextColor(int color) {
  text_color_ = color;
  MarkAsChanged();
}

void MWWindow::SetBackgroundColor(int color) {
  background_color_ = color;
  MarkAsChanged();
}

void MWWindow::SetVisible(bool visible) {
  if (visible_ == visible)
    return;
  visible_ = visible;
  if (visible) {
    MarkAsChanged();
    OnShow();
  } else {
    // The parent shows through where this window was.
    if (parent_ != nullptr)
      parent_->MarkAsChanged();
    OnHide();
  }
  OnVisibilityChanged(visible);
}

bool MWWindow::IsShown() const {
  for (const MWWindow* window = this; window != nullptr; window = window->parent_) {
    if (!window->visible_)
      return false;
  }
  return true;
}

void MWWindow::MarkAsChanged() {
  changed_ = true;
}

void MWWindow::Paint(const MWRect& screen_clip) {
  if (!visible_)
    return;
  const MWRect screen = ScreenRect();
  const MWRect clip = screen.Intersect(screen_clip);
  if (clip.IsEmpty())
    return;
  {
    MWGraphics graphics(screen, clip);
    if (background_color_ >= 0)
      graphics.FillRect(MWRect{0, 0, rect_.w, rect_.h}, background_color_);
    if (const MWFont* font = GetWindowFont())
      graphics.SetFont(*font);
    graphics.SetTextColor(text_color_);
    OnDraw(graphics);
  }
  // A child may change the list (a binder hides an element); iterate over a copy.
  const std::vector<MWWindow*> children = children_;
  for (MWWindow* child : children) {
    if (IsAlive(child))
      child->Paint(clip);
  }
  MWGraphics overlay(screen, clip);
  if ((style_ & MWS_STATIC_ELEMENTS) != 0)
    DrawStaticElements(overlay);
  DrawBorder(overlay);
  changed_ = false;
}

int MWWindow::OnDraw(MWGraphics& /*graphics*/) {
  return 0;
}

void MWWindow::DrawBorder(MWGraphics& graphics) {
  MWBorderRenderer* renderer = normal_border_;
  if (IsFocused()) {
    renderer = focused_border_;
    if (renderer == nullptr && !fixed_focus_border_disabled_)
      renderer = g_default_focused_border;
  }
  if (renderer != nullptr)
    renderer->Draw(graphics, *this);
}

bool MWWindow::SetChildCommandId(const std::string& name, int id) {
  MWWindow* child = FindChild(name, false);
  MW_RETURN_IF(child == nullptr, false, "no child \"%s\"", name.c_str());
  child->SetCommandID(id);
  return true;
}

bool MWWindow::SetNonDirectChildCommandId(const std::string& name, int id) {
  MWWindow* child = FindChild(name, true);
  MW_RETURN_IF(child == nullptr, false, "no descendant \"%s\"", name.c_str());
  child->SetCommandID(id);
  return true;
}

int MWWindow::SendCommandToParent(MWCommand& command) {
  if (parent_ != nullptr)
    return parent_->OnCommand(command);
  // A window outside the tree (made without a parent) still reaches the frame.
  MWAppFrame* frame = MWAppFrame::m_curFrame;
  if (frame != nullptr && frame != this)
    return frame->OnCommand(command);
  return 0;
}

MWCommand MWWindow::MakeCommand(int id, int param, int param2) const {
  MWCommand command(id, param, param2);
  command.sender = const_cast<MWWindow*>(this);
  const MWRect screen = ScreenRect();
  command.x = screen.x;
  command.y = screen.y;
  command.width = screen.w;
  command.height = screen.h;
  return command;
}

int MWWindow::DoCommand(int id, bool post, int param, int param2) {
  MWCommand command = MakeCommand(id, param, param2);
  if (!post)
    return SendCommandToParent(command);
  static int posted = 0;
  const std::string timer = "mw-command-" + std::to_string(++posted);
  marrowleaf::platform::EventLoop::Get().ArmTimer(
      timer, nullptr,
      [this, command]() mutable {
        if (!IsAlive(this))
          return;
        SendCommandToParent(command);
        if (MWAppFrame* frame = MWAppFrame::m_curFrame)
          frame->ReDraw();
      },
      0);
  return 0;
}

int MWWindow::OnCommand(MWCommand& command) {
  return SendCommandToParent(command);
}

void MWWindow::SendCommand(int id) {
  if (id <= 0)
    return;
  DoCommand(id);
}

void MWWindow::SetFocus(int key) {
  MWAppFrame* frame = GetFrame();
  if (frame == nullptr)
    frame = MWAppFrame::m_curFrame;
  MW_RETURN_VOID_IF(frame == nullptr, "window \"%s\" has no frame", name_.c_str());
  frame->SetFocusedWindow(this, key);
}

bool MWWindow::IsFocused() const {
  const MWAppFrame* frame = MWAppFrame::m_curFrame;
  return frame != nullptr && frame->GetFocusedWindow() == this;
}

bool MWWindow::IsFocusable() const {
  if (!IsShown() || HasExStyle(MWES_DISABLED))
    return false;
  return (style_ & MWS_TABSTOP) != 0 || command_id_ > 0 || hold_command_id_ > 0;
}

int MWWindow::OnFocusSet(MWWindow* /*from*/, int /*key*/) {
  MarkAsChanged();
  return 0;
}

void MWWindow::SetBorderRenderers(MWBorderRenderer* focused, MWBorderRenderer* normal) {
  focused_border_ = focused;
  normal_border_ = normal;
  MarkAsChanged();
}

void MWWindow::SetDefaultFocusedBorderRenderer(MWBorderRenderer* renderer) {
  g_default_focused_border = renderer;
}

MWBorderRenderer* MWWindow::GetDefaultFocusedBorderRenderer() {
  return g_default_focused_border;
}

int MWWindow::LoadAttributes(const AttributeLoader& loader) {
  attributes_ = loader;
  if (loader.Has("text_color"))
    SetTextColor(loader.GetColor("text_color", text_color_));
  if (loader.Has("background"))
    SetBackgroundColor(loader.GetColor("background", -1));
  return 0;
}

int MWWindow::cloneFromPrototype(const MWWindow* prototype) {
  MW_RETURN_IF(prototype == nullptr, -1, "no prototype");
  if (name_.empty())
    name_ = prototype->name_;
  if (class_name_.empty())
    class_name_ = prototype->class_name_;
  if (rect_.IsEmpty())
    Resize(prototype->rect_.w, prototype->rect_.h);
  margin_left_ = prototype->margin_left_;
  margin_top_ = prototype->margin_top_;
  margin_right_ = prototype->margin_right_;
  margin_bottom_ = prototype->margin_bottom_;
  style_ |= prototype->style_ & ~MWS_VISIBLE;
  ex_style_ = prototype->ex_style_;
  if (!font_)
    font_ = prototype->font_;
  text_color_ = prototype->text_color_;
  background_color_ = prototype->background_color_;
  if (command_id_ == 0)
    command_id_ = prototype->command_id_;
  if (hold_command_id_ == 0)
    hold_command_id_ = prototype->hold_command_id_;
  focused_border_ = prototype->focused_border_;
  normal_border_ = prototype->normal_border_;
  fixed_focus_border_disabled_ = prototype->fixed_focus_border_disabled_;
  attributes_.MergeMissing(prototype->attributes_);
  // A prototype made at one size serves windows of another: its children scale with it.
  const MWRect& from = prototype->rect_;
  auto scale = [](int value, int to, int of) {
    return of > 0 ? static_cast<int>(static_cast<long long>(value) * to / of) : value;
  };
  for (const MWWindow* proto_child : prototype->children_) {
    std::unique_ptr<MWWindow> copy = proto_child->factoryMethod();
    MWWindow* raw = copy.get();
    copy->class_name_ = proto_child->class_name_;
    copy->name_ = proto_child->name_;
    const MWRect& r = proto_child->rect_;
    const MWRect rect{scale(r.x, rect_.w, from.w), scale(r.y, rect_.h, from.h),
                      scale(r.w, rect_.w, from.w), scale(r.h, rect_.h, from.h)};
    AdoptChild(std::move(copy), rect, proto_child->style_ & ~MWS_VISIBLE, false);
    raw->cloneFromPrototype(proto_child);
    raw->visible_ = proto_child->visible_;
    raw->OnLayoutLoaded();
    raw->OnCreate();
  }
  MarkAsChanged();
  return 0;
}

std::unique_ptr<MWWindow> MWWindow::factoryMethod() const {
  if (!class_name_.empty()) {
    if (auto window = WindowFactory::Create(class_name_))
      return window;
  }
  return std::make_unique<MWWindow>();
}

int MWWindow::MainHandler(int type, int par1, int par2) {
  if (command_id_ <= 0 && hold_command_id_ <= 0)
    return 0;
  if (HasExStyle(MWES_DISABLED))
    return 0;
  return HandlePress(type, par1, par2);
}

// Taps and long presses, pen or OK key, for a window that raises commands. The pressed style shows
// while the pen (or key) is down; a long press raises the hold command at once and the release that
// follows it raises nothing.
int MWWindow::HandlePress(int type, int par1, int par2) {
  const bool inside = ScreenRect().Contains(par1, par2);
  switch (type) {
    case EVT_POINTERDOWN:
      long_press_done_ = false;
      ChangeExStyle(MWES_PRESSED, 0);
      return 1;
    case EVT_POINTERMOVE:
      if (!HasExStyle(MWES_PRESSED))
        return 0;
      if (!inside)
        ChangeExStyle(0, MWES_PRESSED);
      return 1;
    case EVT_POINTERCANCEL:
      // Another window took the press over: no tap and no hold comes of it.
      ChangeExStyle(0, MWES_PRESSED);
      long_press_done_ = false;
      return 0;
    case EVT_POINTERLONG:
      if (!HasExStyle(MWES_PRESSED) || hold_command_id_ <= 0)
        return HasExStyle(MWES_PRESSED);
      long_press_done_ = true;
      ChangeExStyle(0, MWES_PRESSED);
      SendCommand(hold_command_id_);
      return 1;
    case EVT_POINTERUP: {
      const bool was_pressed = HasExStyle(MWES_PRESSED);
      const bool clicked = was_pressed && inside && !long_press_done_;
      ChangeExStyle(0, MWES_PRESSED);
      long_press_done_ = false;
      // The command may delete this window, so nothing of it is touched after sending.
      if (clicked)
        SendCommand(command_id_);
      return was_pressed || inside ? 1 : 0;
    }
    case EVT_KEYPRESS:
      if (par1 != KEY_OK)
        return 0;
      key_pressed_ = true;
      long_press_done_ = false;
      return 1;
    case EVT_KEYREPEAT:
      if (par1 != KEY_OK || !key_pressed_)
        return 0;
      if (par2 == 1 && hold_command_id_ > 0) {
        long_press_done_ = true;
        SendCommand(hold_command_id_);
      }
      return 1;
    case EVT_KEYRELEASE:
      if (par1 != KEY_OK || !key_pressed_)
        return 0;
      key_pressed_ = false;
      if (!std::exchange(long_press_done_, false))
        SendCommand(command_id_);  // may delete this window: the last thing done with it
      return 1;
    default:
      return 0;
  }
}

int MWWindow::AccessibilityOpenCommandHandler(int /*command*/) {
  if (command_id_ <= 0)
    return 0;
  SendCommand(command_id_);
  return 1;
}

int MWWindow::AccessibilityOpenMenuCommandHandler(int /*command*/) {
  if (hold_command_id_ <= 0)
    return 0;
  SendCommand(hold_command_id_);
  return 1;
}
