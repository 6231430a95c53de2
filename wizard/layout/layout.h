// The node of the page layout tree: margins, its alignment inside the space its parent gives
// it, whether it expands, its preferred size (margins included) and the rectangle it was last
// given. When a node's content changes size, InvalidateLayout carries the change up the tree
// until a node can absorb it, and that part of the tree is arranged again.
#pragma once

#include "platform/gui.h"

namespace setup {

// Where a node sits inside the space its parent gives it, on one axis.
inline constexpr int kAlignStart = 0;
inline constexpr int kAlignCentre = 1;
inline constexpr int kAlignEnd = 2;

class ICBSLayout {
 public:
  ICBSLayout() = default;
  ICBSLayout(const ICBSLayout&) = delete;
  ICBSLayout& operator=(const ICBSLayout&) = delete;
  virtual ~ICBSLayout() = default;

  // Arranges the node again in its current rectangle; false when it has none yet.
  virtual bool Relayout();
  // Gives the node `rect` and arranges its content; true when its preferred size changed
  // while arranging (the parent then arranges again).
  virtual bool SetGeometry(const platform::Rect& rect);
  virtual bool ExpandsHorizontally() const { return expandHorizontally_; }
  virtual bool ExpandsVertically() const { return expandVertically_; }
  virtual bool NeedsLayout() const { return needsLayout_; }
  virtual platform::Size PreferredSize() const { return preferred_; }
  virtual void CommitGeometry(const platform::Rect& rect);
  virtual void Show() = 0;
  virtual void Hide() = 0;
  // The size of the content without margins.
  virtual platform::Size ContentSize() = 0;
  // Places the content in `inner`; true when the node's preferred size changed meanwhile.
  virtual bool ArrangeContent(const platform::Rect& inner) = 0;
  virtual void Redraw() {}

  // Measures the node again; with `propagate`, the change travels up until a node absorbs
  // it. Without `propagate`: whether the preferred size changed.
  bool InvalidateLayout(bool propagate);
  void SetMargins(int left, int right, int top, int bottom);
  void SetLeftMargin(int left);
  void SetExpanding(bool horizontally, bool vertically);

  const platform::Rect& CurrentRect() const { return current_; }
  int HorizontalAlignment() const { return horizontalAlignment_; }
  int VerticalAlignment() const { return verticalAlignment_; }
  ICBSLayout* Parent() const { return parent_; }
  // Done by the container that takes the node.
  void Adopt(ICBSLayout* parent, int horizontalAlignment, int verticalAlignment);

 protected:
  int leftMargin_ = 0;
  int rightMargin_ = 0;
  int topMargin_ = 0;
  int bottomMargin_ = 0;
  bool expandHorizontally_ = false;
  bool expandVertically_ = false;
  platform::Rect current_;

 private:
  int horizontalAlignment_ = kAlignStart;
  int verticalAlignment_ = kAlignStart;
  platform::Size preferred_;
  ICBSLayout* parent_ = nullptr;
  bool needsLayout_ = true;
};

}  // namespace setup
