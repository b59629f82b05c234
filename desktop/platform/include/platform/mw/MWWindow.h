#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/mw/AttributeLoader.h"
#include "platform/mw/MWCommand.h"
#include "platform/mw/MWFont.h"
#include "platform/mw/MWRect.h"

class MWAppFrame;
class MWBorderRenderer;
class MWGraphics;

// Window style bits (Create, ChangeWindowStyle).
constexpr int MWS_VISIBLE = 0x1;              // shown as soon as it is created
constexpr int MWS_TOPLEVEL = 0x1000;          // the frame's own window
constexpr int MWS_TABSTOP = 0x2000;           // may take the key focus
constexpr int MWS_STATIC_ELEMENTS = 0x80000;  // draws DrawStaticElements over its children
constexpr int MWS_MODAL = 0x200000;           // takes every pen event while shown
// Extended style bits.
constexpr int MWES_PRESSED = 0x4;   // drawn in the pressed (or focused) style
constexpr int MWES_DISABLED = 0x8;  // neither takes the focus nor raises commands

// A rectangle on the screen with a parent, children, a name and a look. Windows form a tree under
// the application frame; a window's rectangle is relative to its parent's top left corner.
//
// Children are either owned (made by the layout loader or MakeChild: deleted with the parent) or
// attached (a member of another object that called Create with this parent: only detached).
// Deleting a window removes it from its parent.
//
// Input reaches a window through MainHandler (pen events carry screen coordinates); an unhandled
// event goes on to the parent. Commands raised with DoCommand travel up through OnCommand until a
// window returns nonzero; the frame's OnCommand is the last stop. Drawing happens only in the
// frame's redraw pass: a window marks itself changed and OnDraw is called with a graphics whose
// origin is the window's top left corner.
class MWWindow {
 public:
  MWWindow();
  virtual ~MWWindow();
  MWWindow(const MWWindow&) = delete;
  MWWindow& operator=(const MWWindow&) = delete;

  // Makes the window a child of parent (attached, not owned) at (x, y) of the parent's window
  // coordinates. Calls OnCreate and returns its result. A window is created once.
  int Create(MWWindow* parent, int x, int y, int width, int height, int style);
  // Makes an owned child of type T.
  template <typename T>
  T* MakeChild(int x, int y, int width, int height, int style) {
    auto child = std::make_unique<T>();
    T* raw = child.get();
    AdoptChild(std::move(child), MWRect{x, y, width, height}, style);
    return raw;
  }
  // Takes ownership of a window not yet created, then creates it as a child. The layout loader
  // passes run_on_create false and calls OnCreate itself once the window's attributes and
  // children are loaded.
  int AdoptChild(std::unique_ptr<MWWindow> child, const MWRect& rect, int style,
                 bool run_on_create = true);
  bool IsCreated() const { return created_; }

  // --- Tree ---
  MWWindow* GetParent() const { return parent_; }
  const std::vector<MWWindow*>& Children() const { return children_; }
  // The direct child of that name, or nullptr (also when it isn't a T).
  template <typename T = MWWindow>
  T* GetChildByName(const std::string& name) const {
    return dynamic_cast<T*>(FindChild(name, false));
  }
  // The first descendant of that name, depth first, or nullptr (also when it isn't a T).
  template <typename T = MWWindow>
  T* GetNonDirectChildByName(const std::string& name) const {
    return dynamic_cast<T*>(FindChild(name, true));
  }
  // The frame at the root of the tree, or nullptr.
  MWAppFrame* GetFrame() const;
  bool IsAncestorOf(const MWWindow* window) const;

  const std::string& GetName() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  // The class name the layout created the window by ("" when made in code).
  const std::string& GetClassName() const { return class_name_; }
  void SetClassName(const std::string& name) { class_name_ = name; }

  // --- Geometry ---
  const MWRect& GetRect() const { return rect_; }
  int Width() const { return rect_.w; }
  int Height() const { return rect_.h; }
  void SetWindowPos(int x, int y, int width, int height);
  void SetWindowPos(const MWRect& rect) { SetWindowPos(rect.x, rect.y, rect.w, rect.h); }
  void Move(int x, int y) { SetWindowPos(x, y, rect_.w, rect_.h); }
  void Resize(int width, int height) { SetWindowPos(rect_.x, rect_.y, width, height); }
  // Margins inside the window that its content keeps clear of.
  void SetClientMargins(int left, int top, int right, int bottom);
  // The area for content in window coordinates.
  MWRect GetClientRect() const;
  // Window coordinates to screen coordinates.
  MWRect ClientToScreen(const MWRect& rect) const;
  void ClientToScreen(int* x, int* y) const;
  MWRect ScreenRect() const { return ClientToScreen(MWRect{0, 0, rect_.w, rect_.h}); }
  // Where the children's coordinates start in this window's coordinates (scrolling moves it).
  virtual void ChildOrigin(int* x, int* y) const;

  // --- Style and look ---
  int GetStyle() const { return style_; }
  void ChangeWindowStyle(int add, int remove);
  int GetExStyle() const { return ex_style_; }
  void ChangeExStyle(int add, int remove);
  bool HasExStyle(int bits) const { return (ex_style_ & bits) == bits; }
  void SetWindowFont(const MWFont& font);
  // The window's font, else its parent's; nullptr when no window up the tree has one.
  const MWFont* GetWindowFont() const;
  void SetTextColor(int color);
  int GetTextColor() const { return text_color_; }
  // -1: transparent (the window paints no background).
  void SetBackgroundColor(int color);
  int GetBackgroundColor() const { return background_color_; }

  // --- Visibility and redraw ---
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  void SetVisible(bool visible);
  bool IsVisible() const { return visible_; }
  // Visible together with every ancestor.
  bool IsShown() const;
  // Asks for the window to be drawn again at the next redraw pass.
  void MarkAsChanged();
  bool IsChanged() const { return changed_; }
  void ClearChanged() { changed_ = false; }
  // Paints the window and its children into the framebuffer (the frame's redraw pass calls it).
  void Paint(const MWRect& screen_clip);

  // --- Commands ---
  void SetCommandID(int id) { command_id_ = id; }
  int GetCommandID() const { return command_id_; }
  void SetHoldCommandID(int id) { hold_command_id_ = id; }
  int GetHoldCommandID() const { return hold_command_id_; }
  // Sets the command of a direct child; false when there is none of that name.
  bool SetChildCommandId(const std::string& name, int id);
  // Sets the command of a descendant at any depth; false when there is none of that name.
  bool SetNonDirectChildCommandId(const std::string& name, int id);
  // Raises a command with this window as sender (its screen rectangle in the command). With post
  // set it is delivered at the next loop turn instead of now. Returns the handler's result (0 when
  // posted or unhandled).
  int DoCommand(int id, bool post = false, int param = 0, int param2 = 0);
  // Sends a prepared command up the tree, starting at the parent.
  int SendCommandToParent(MWCommand& command);
  // A command with this window as sender and its screen rectangle, as DoCommand raises it.
  MWCommand MakeCommand(int id, int param = 0, int param2 = 0) const;

  // --- Focus ---
  // Gives this window the key focus (key: the key that moved it, 0 for none).
  void SetFocus(int key = 0);
  bool IsFocused() const;
  bool IsFocusable() const;

  // --- Border renderers ---
  // Renderers drawn around the window when focused / not focused (nullptr: none). Not owned.
  void SetBorderRenderers(MWBorderRenderer* focused, MWBorderRenderer* normal);
  // This window never gets the framework's default focused border.
  void DisableFixedFocusedBorderRenderer() { fixed_focus_border_disabled_ = true; }
  static void SetDefaultFocusedBorderRenderer(MWBorderRenderer* renderer);
  static MWBorderRenderer* GetDefaultFocusedBorderRenderer();

  // --- Layout ---
  // Reads the layout attributes. Overrides read theirs and call the base.
  virtual int LoadAttributes(const AttributeLoader& loader);
  const AttributeLoader& Attributes() const { return attributes_; }
  // Called after the layout loader made every child of this window.
  virtual void OnLayoutLoaded() {}
  // Makes this window like the prototype: look, size, attributes, commands and copies of its
  // children. Overrides copy their own fields and call the base. Returns 0.
  virtual int cloneFromPrototype(const MWWindow* prototype);
  // A new, not yet created window of the same class.
  virtual std::unique_ptr<MWWindow> factoryMethod() const;

  // --- Hooks ---
  virtual int OnCreate() { return 0; }
  virtual void OnShow() {}
  virtual void OnHide() {}
  virtual void OnVisibilityChanged(bool /*visible*/) {}
  // Draws the window's own content (children draw themselves afterwards).
  virtual int OnDraw(MWGraphics& graphics);
  // Drawn over the children when the window has MWS_STATIC_ELEMENTS.
  virtual void DrawStaticElements(MWGraphics& /*graphics*/) {}
  // An event; nonzero when handled. The base turns taps into the click command and long presses
  // into the hold command, and OK key presses likewise.
  virtual int MainHandler(int type, int par1, int par2);
  // A pen event on its way to a window inside this one, offered to its containers (innermost
  // first) before the window itself sees it. True when this window takes the press over (a list
  // that begins to scroll under a finger that started on one of its buttons): the window that had
  // the press gets EVT_POINTERCANCEL and the rest of the press comes to this window. The base
  // never takes it.
  virtual bool InterceptPen(int /*type*/, int /*x*/, int /*y*/) { return false; }
  // A command on its way up; the base passes it to the parent.
  virtual int OnCommand(MWCommand& command);
  // The window receives the key focus (from: the window that had it). Nonzero when it passed the
  // focus on.
  virtual int OnFocusSet(MWWindow* from, int key);
  virtual void OnFocusLost() {}
  // A window inside this one took the focus (scroll views bring it into view).
  virtual void OnDescendantFocused(MWWindow* /*window*/) {}
  // Raises the click or hold command (id > 0) to the parent.
  virtual void SendCommand(int id);

  // --- Accessibility ---
  virtual int AccessibilityNavigateCommandHandler(int /*command*/) { return 0; }
  virtual int AccessibilityOpenCommandHandler(int command);
  virtual int AccessibilityOpenMenuCommandHandler(int command);
  virtual int AccessibilitySliderCommandHandler(int /*command*/) { return 0; }
  // Speaks what the window shows (the base says nothing).
  virtual void AccessibilityPlayGroup() {}

  // True while the window is alive (for posted commands and routing targets).
  static bool IsAlive(const MWWindow* window);

 protected:
  // Draws the border renderer that applies to the window's state.
  void DrawBorder(MWGraphics& graphics);

 private:
  MWWindow* FindChild(const std::string& name, bool nested) const;
  void Attach(MWWindow* parent, bool owned);
  void Place(MWWindow* parent, const MWRect& rect, int style);
  void DetachChild(MWWindow* child);
  int HandlePress(int type, int par1, int par2);

  MWWindow* parent_ = nullptr;
  std::vector<MWWindow*> children_;
  std::vector<MWWindow*> owned_;
  std::string name_;
  std::string class_name_;
  MWRect rect_;
  int margin_left_ = 0;
  int margin_top_ = 0;
  int margin_right_ = 0;
  int margin_bottom_ = 0;
  int style_ = 0;
  int ex_style_ = 0;
  std::optional<MWFont> font_;
  int text_color_ = 0x000000;
  int background_color_ = -1;
  bool created_ = false;
  bool visible_ = false;
  bool changed_ = true;
  bool long_press_done_ = false;
  bool key_pressed_ = false;
  int command_id_ = 0;
  int hold_command_id_ = 0;
  MWBorderRenderer* focused_border_ = nullptr;
  MWBorderRenderer* normal_border_ = nullptr;
  bool fixed_focus_border_disabled_ = false;
  AttributeLoader attributes_;
};
