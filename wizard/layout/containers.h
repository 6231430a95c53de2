// The layout containers: a frame around one child (box), children side by side or one above
// the other, and a stack that shows one child of several. Containers own their children.
#pragma once

#include <memory>
#include <vector>

#include "wizard/layout/layout.h"

namespace setup {

class ICBSLayoutWithChild : public ICBSLayout {
 public:
  void Show() override;
  void Hide() override;
  bool ExpandsHorizontally() const override;
  bool ExpandsVertically() const override;
  bool NeedsLayout() const override;

 protected:
  std::unique_ptr<ICBSLayout> child_;
};

class ICBSBoxLayout : public ICBSLayoutWithChild {
 public:
  ICBSBoxLayout() = default;
  ICBSBoxLayout(std::unique_ptr<ICBSLayout> child, int horizontalAlignment, int verticalAlignment);
  // Replaces (and deletes) the child.
  void SetChild(std::unique_ptr<ICBSLayout> child, int horizontalAlignment, int verticalAlignment);
  bool ExpandsHorizontally() const override { return true; }
  bool ExpandsVertically() const override { return true; }
  platform::Size ContentSize() override;
  bool ArrangeContent(const platform::Rect& inner) override;
};

class ICBSLayoutWithChildren : public ICBSLayout {
 public:
  // Takes the child (a missing one is ignored) and measures the container again; the child.
  template <class Node>
  Node* AddChild(std::unique_ptr<Node> child, int horizontalAlignment = kAlignStart,
                 int verticalAlignment = kAlignStart) {
    Node* added = child.get();
    Append(std::move(child), horizontalAlignment, verticalAlignment);
    return added;
  }
  void Show() override;
  void Hide() override;
  bool ExpandsHorizontally() const override;
  bool ExpandsVertically() const override;
  bool NeedsLayout() const override;

 protected:
  void Append(std::unique_ptr<ICBSLayout> child, int horizontalAlignment, int verticalAlignment);
  std::vector<std::unique_ptr<ICBSLayout>> children_;
};

// Children side by side (horizontal) or one above the other (vertical), `spacing` pixels
// apart; the space left over goes in equal whole shares to the children that expand along
// the axis.
class ICBSLinearLayout : public ICBSLayoutWithChildren {
 public:
  int spacing = 5;

  platform::Size ContentSize() override;
  bool ArrangeContent(const platform::Rect& inner) override;

 protected:
  explicit ICBSLinearLayout(bool horizontal) : horizontal_(horizontal) {}

 private:
  // One pass over the children; true when a child's preferred size changed and the pass
  // stopped there.
  bool ArrangeChildren(const platform::Rect& inner);

  bool horizontal_;
};

class ICBSHorizontalLayout : public ICBSLinearLayout {
 public:
  ICBSHorizontalLayout() : ICBSLinearLayout(true) {}
};

class ICBSVerticalLayout : public ICBSLinearLayout {
 public:
  ICBSVerticalLayout() : ICBSLinearLayout(false) {}
};

class ICBSStackLayout : public ICBSLayoutWithChildren {
 public:
  // Shows `child` instead of the current one; false when it is missing or not a child (the
  // old current child then stays hidden and current).
  bool SelectChild(ICBSLayout* child);
  // Appends the child and selects it; the current child.
  ICBSLayout* AddChildAndSelect(std::unique_ptr<ICBSLayout> child, int horizontalAlignment, int verticalAlignment);
  ICBSLayout* Current() const { return current_; }

  bool ExpandsHorizontally() const override;
  bool ExpandsVertically() const override;
  platform::Size ContentSize() override;
  bool ArrangeContent(const platform::Rect& inner) override;

 private:
  ICBSLayout* current_ = nullptr;
};

}  // namespace setup
