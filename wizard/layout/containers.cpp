#include "wizard/layout/containers.h"

#include <algorithm>

namespace setup {

namespace {

// The offset of a `size` long part inside `space` for the alignment.
int Offset(int alignment, int space, int size) {
  if (alignment == kAlignCentre) return (space - size) / 2;
  if (alignment == kAlignEnd) return space - size;
  return 0;
}

// Places the one child of a box or stack inside `inner`, then measures `self` again.
bool ArrangeSingleChild(ICBSLayout& self, ICBSLayout* child, const platform::Rect& inner) {
  if (child == nullptr) return false;
  const platform::Size preferred = child->PreferredSize();
  const int width = child->ExpandsHorizontally() ? inner.width : preferred.width;
  const int height = child->ExpandsVertically() ? inner.height : preferred.height;
  const platform::Rect rect{inner.x + Offset(child->HorizontalAlignment(), inner.width, width),
                            inner.y + Offset(child->VerticalAlignment(), inner.height, height), width, height};
  if (!child->SetGeometry(rect)) return false;
  return self.InvalidateLayout(false);
}

}  // namespace

void ICBSLayoutWithChild::Show() {
  if (child_) child_->Show();
}

void ICBSLayoutWithChild::Hide() {
  if (child_) child_->Hide();
}

bool ICBSLayoutWithChild::ExpandsHorizontally() const {
  return expandHorizontally_ || (child_ && child_->ExpandsHorizontally());
}

bool ICBSLayoutWithChild::ExpandsVertically() const {
  return expandVertically_ || (child_ && child_->ExpandsVertically());
}

bool ICBSLayoutWithChild::NeedsLayout() const { return ICBSLayout::NeedsLayout() || (child_ && child_->NeedsLayout()); }

ICBSBoxLayout::ICBSBoxLayout(std::unique_ptr<ICBSLayout> child, int horizontalAlignment, int verticalAlignment) {
  child_ = std::move(child);
  if (child_) child_->Adopt(this, horizontalAlignment, verticalAlignment);
}

void ICBSBoxLayout::SetChild(std::unique_ptr<ICBSLayout> child, int horizontalAlignment, int verticalAlignment) {
  child_ = std::move(child);
  if (child_) child_->Adopt(this, horizontalAlignment, verticalAlignment);
  InvalidateLayout(true);
}

platform::Size ICBSBoxLayout::ContentSize() { return child_ ? child_->PreferredSize() : platform::Size{}; }

bool ICBSBoxLayout::ArrangeContent(const platform::Rect& inner) { return ArrangeSingleChild(*this, child_.get(), inner); }

void ICBSLayoutWithChildren::Append(std::unique_ptr<ICBSLayout> child, int horizontalAlignment, int verticalAlignment) {
  if (!child) return;
  child->Adopt(this, horizontalAlignment, verticalAlignment);
  children_.push_back(std::move(child));
  InvalidateLayout(true);
}

void ICBSLayoutWithChildren::Show() {
  for (const auto& child : children_) child->Show();
}

void ICBSLayoutWithChildren::Hide() {
  for (const auto& child : children_) child->Hide();
}

bool ICBSLayoutWithChildren::ExpandsHorizontally() const {
  return expandHorizontally_ ||
         std::any_of(children_.begin(), children_.end(), [](const auto& child) { return child->ExpandsHorizontally(); });
}

bool ICBSLayoutWithChildren::ExpandsVertically() const {
  return expandVertically_ ||
         std::any_of(children_.begin(), children_.end(), [](const auto& child) { return child->ExpandsVertically(); });
}

bool ICBSLayoutWithChildren::NeedsLayout() const {
  return ICBSLayout::NeedsLayout() ||
         std::any_of(children_.begin(), children_.end(), [](const auto& child) { return child->NeedsLayout(); });
}

// Along the axis the children's sizes and the spacings between them add up; across it the
// largest child counts.
platform::Size ICBSLinearLayout::ContentSize() {
  int along = 0;
  int across = 0;
  for (const auto& child : children_) {
    const platform::Size size = child->PreferredSize();
    along += horizontal_ ? size.width : size.height;
    across = std::max(across, horizontal_ ? size.height : size.width);
  }
  if (children_.size() > 1) along += spacing * static_cast<int>(children_.size() - 1);
  return horizontal_ ? platform::Size{along, across} : platform::Size{across, along};
}

bool ICBSLinearLayout::ArrangeContent(const platform::Rect& inner) {
  if (!ArrangeChildren(inner)) return false;
  const bool changed = InvalidateLayout(false);
  return ArrangeChildren(inner) || changed;
}

bool ICBSLinearLayout::ArrangeChildren(const platform::Rect& inner) {
  const int innerLength = horizontal_ ? inner.width : inner.height;
  const int preferredLength = horizontal_ ? PreferredSize().width : PreferredSize().height;
  const int extra = std::max(0, innerLength - preferredLength);
  const auto expands = [&](const ICBSLayout& child) {
    return horizontal_ ? child.ExpandsHorizontally() : child.ExpandsVertically();
  };
  const auto expanding = std::count_if(children_.begin(), children_.end(), [&](const auto& child) { return expands(*child); });
  const int share = expanding < 1 ? 0 : extra / static_cast<int>(expanding);

  int position = horizontal_ ? inner.x : inner.y;
  bool first = true;
  for (const auto& child : children_) {
    if (!first) position += spacing;
    first = false;
    const platform::Size preferred = child->PreferredSize();
    platform::Rect rect;
    if (horizontal_) {
      const int height = child->ExpandsVertically() ? inner.height : preferred.height;
      const int wanted = preferred.width + (expands(*child) ? share : 0);
      const int remaining = inner.x + inner.width - position;
      int width = wanted < remaining ? wanted : remaining;
      if (width < 1) width = 0;
      rect = {position, inner.y + Offset(child->VerticalAlignment(), inner.height, height), width, height};
    } else {
      // Heights are never clipped.
      const int width = child->ExpandsHorizontally() ? inner.width : preferred.width;
      const int height = preferred.height + (expands(*child) ? share : 0);
      rect = {inner.x + Offset(child->HorizontalAlignment(), inner.width, width), position, width, height};
    }
    if (child->SetGeometry(rect)) return true;
    position += horizontal_ ? child->CurrentRect().width : child->CurrentRect().height;
  }
  return false;
}

bool ICBSStackLayout::SelectChild(ICBSLayout* child) {
  if (child != nullptr && child == current_) return true;
  if (current_) current_->Hide();
  if (child == nullptr) return false;
  const bool known = std::any_of(children_.begin(), children_.end(), [&](const auto& own) { return own.get() == child; });
  if (!known) return false;
  current_ = child;
  InvalidateLayout(true);
  child->Show();
  return true;
}

ICBSLayout* ICBSStackLayout::AddChildAndSelect(std::unique_ptr<ICBSLayout> child, int horizontalAlignment,
                                               int verticalAlignment) {
  ICBSLayout* added = AddChild(std::move(child), horizontalAlignment, verticalAlignment);
  SelectChild(added);
  return current_;
}

bool ICBSStackLayout::ExpandsHorizontally() const { return expandHorizontally_ || (current_ && current_->ExpandsHorizontally()); }

bool ICBSStackLayout::ExpandsVertically() const { return expandVertically_ || (current_ && current_->ExpandsVertically()); }

platform::Size ICBSStackLayout::ContentSize() { return current_ ? current_->PreferredSize() : platform::Size{}; }

bool ICBSStackLayout::ArrangeContent(const platform::Rect& inner) { return ArrangeSingleChild(*this, current_, inner); }

}  // namespace setup
