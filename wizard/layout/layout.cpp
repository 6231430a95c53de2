#include "wizard/layout/layout.h"

#include <algorithm>

namespace setup {

bool ICBSLayout::Relayout() {
  if (current_.width < 1 && current_.height < 1) return false;
  return SetGeometry(current_);
}

bool ICBSLayout::SetGeometry(const platform::Rect& rect) {
  if (rect == current_ && !NeedsLayout()) return false;
  const platform::Rect inner{rect.x + leftMargin_, rect.y + topMargin_,
                             std::max(0, rect.width - rightMargin_ - leftMargin_),
                             std::max(0, rect.height - bottomMargin_ - topMargin_)};
  const bool changed = ArrangeContent(inner);
  CommitGeometry(rect);
  return changed;
}

void ICBSLayout::CommitGeometry(const platform::Rect& rect) {
  current_ = rect;
  needsLayout_ = false;
}

bool ICBSLayout::InvalidateLayout(bool propagate) {
  const platform::Size content = ContentSize();
  const platform::Size preferred{leftMargin_ + rightMargin_ + content.width, topMargin_ + bottomMargin_ + content.height};
  if (preferred == preferred_) return false;
  preferred_ = preferred;
  if (!propagate) return true;
  const bool widthFits = preferred.width == current_.width ||
                         (preferred.width < current_.width && ExpandsHorizontally());
  const bool heightFits = preferred.height == current_.height ||
                          (preferred.height < current_.height && ExpandsVertically());
  needsLayout_ = true;
  if (widthFits && heightFits && current_.width >= preferred.width && current_.height >= preferred.height) {
    Relayout();
    return false;
  }
  if (parent_ == nullptr) {
    Relayout();
    return true;
  }
  if (!parent_->InvalidateLayout(true)) parent_->Relayout();
  return true;
}

void ICBSLayout::SetMargins(int left, int right, int top, int bottom) {
  leftMargin_ = left;
  rightMargin_ = right;
  topMargin_ = top;
  bottomMargin_ = bottom;
  InvalidateLayout(true);
}

void ICBSLayout::SetLeftMargin(int left) {
  leftMargin_ = left;
  InvalidateLayout(true);
}

void ICBSLayout::SetExpanding(bool horizontally, bool vertically) {
  expandHorizontally_ = horizontally;
  expandVertically_ = vertically;
}

void ICBSLayout::Adopt(ICBSLayout* parent, int horizontalAlignment, int verticalAlignment) {
  parent_ = parent;
  horizontalAlignment_ = horizontalAlignment;
  verticalAlignment_ = verticalAlignment;
}

}  // namespace setup
