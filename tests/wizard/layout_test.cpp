// The layout toolkit: sharing extra space, clipping, alignment, the stack, and widgets whose
// size changes travel up the tree, on the host GUI's deterministic text metrics (Tahoma 9 pt:
// lines of 12 pixels, characters 6 pixels wide).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/host/host_platform.h"
#include "support/temp_folder.h"
#include "wizard/layout/containers.h"
#include "wizard/layout/shared_fonts.h"
#include "wizard/layout/warning_static_text.h"
#include "wizard/layout/widgets.h"

namespace setup::testing {
namespace {

using platform::Rect;
using platform::Size;

// A leaf of a fixed content size that records the rectangles it is given.
class FixedNode : public ICBSLayout {
 public:
  FixedNode(int width, int height, bool expandHorizontally = false, bool expandVertically = false) : size_{width, height} {
    SetExpanding(expandHorizontally, expandVertically);
    InvalidateLayout(false);
  }
  void Show() override { shown = true; }
  void Hide() override { shown = false; }
  Size ContentSize() override { return size_; }
  bool ArrangeContent(const Rect& inner) override {
    placed.push_back(inner);
    return false;
  }
  void Resize(Size size) {
    size_ = size;
    InvalidateLayout(true);
  }

  std::vector<Rect> placed;
  bool shown = false;

 private:
  Size size_;
};

template <class Layout>
std::unique_ptr<Layout> Spaced(int spacing) {
  auto layout = std::make_unique<Layout>();
  layout->spacing = spacing;
  return layout;
}

TEST(LayoutTest, ExtraWidthGoesInWholeSharesToTheExpandingChildren) {
  auto row = Spaced<ICBSHorizontalLayout>(5);
  FixedNode* left = row->AddChild(std::make_unique<FixedNode>(20, 10, true));
  FixedNode* fixed = row->AddChild(std::make_unique<FixedNode>(10, 10));
  FixedNode* right = row->AddChild(std::make_unique<FixedNode>(30, 10, true));
  EXPECT_EQ(row->PreferredSize(), (Size{70, 10}));

  row->SetGeometry({0, 0, 81, 10});  // 11 pixels more: 5 each, the last pixel to nobody
  EXPECT_EQ(left->CurrentRect(), (Rect{0, 0, 25, 10}));
  EXPECT_EQ(fixed->CurrentRect(), (Rect{30, 0, 10, 10}));
  EXPECT_EQ(right->CurrentRect(), (Rect{45, 0, 35, 10}));
}

TEST(LayoutTest, AHorizontalLayoutClipsTheLastChildrenAndAVerticalOneNeverClips) {
  auto row = Spaced<ICBSHorizontalLayout>(5);
  std::vector<FixedNode*> cells;
  for (int i = 0; i < 3; ++i) cells.push_back(row->AddChild(std::make_unique<FixedNode>(40, 10)));
  row->SetGeometry({0, 0, 60, 10});
  EXPECT_EQ(cells[0]->CurrentRect(), (Rect{0, 0, 40, 10}));
  EXPECT_EQ(cells[1]->CurrentRect(), (Rect{45, 0, 15, 10}));
  EXPECT_EQ(cells[2]->CurrentRect(), (Rect{65, 0, 0, 10}));

  auto column = Spaced<ICBSVerticalLayout>(5);
  FixedNode* top = column->AddChild(std::make_unique<FixedNode>(10, 40));
  FixedNode* bottom = column->AddChild(std::make_unique<FixedNode>(10, 40));
  column->SetGeometry({0, 0, 10, 50});
  EXPECT_EQ(top->CurrentRect(), (Rect{0, 0, 10, 40}));
  EXPECT_EQ(bottom->CurrentRect(), (Rect{0, 45, 10, 40}));
}

TEST(LayoutTest, ChildrenAreAlignedAcrossTheAxisAndInsideTheMargins) {
  struct Case {
    const char* name;
    int alignment;
    Rect expected;
  };
  const Case cases[] = {{"start", kAlignStart, {3, 1, 20, 10}},
                        {"centre", kAlignCentre, {3, 8, 20, 10}},  // (25 - 10) / 2 = 7
                        {"end", kAlignEnd, {3, 16, 20, 10}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto row = Spaced<ICBSHorizontalLayout>(5);
    FixedNode* cell = row->AddChild(std::make_unique<FixedNode>(20, 10), kAlignEnd, c.alignment);
    row->SetMargins(3, 4, 1, 2);
    EXPECT_EQ(row->PreferredSize(), (Size{27, 13}));
    row->SetGeometry({0, 0, 60, 28});
    EXPECT_EQ(cell->CurrentRect(), c.expected);
  }
  auto framed = std::make_unique<FixedNode>(20, 10);
  FixedNode* inside = framed.get();
  ICBSBoxLayout box(std::move(framed), kAlignCentre, kAlignEnd);
  box.InvalidateLayout(false);
  EXPECT_EQ(box.PreferredSize(), (Size{20, 10}));
  box.SetGeometry({0, 0, 41, 30});
  EXPECT_EQ(inside->CurrentRect(), (Rect{10, 20, 20, 10}));
  EXPECT_TRUE(box.ExpandsHorizontally() && box.ExpandsVertically());
}

TEST(LayoutTest, AGrowingChildIsAbsorbedWhereItFitsAndGrowsTheContainersWhereItDoesNot) {
  auto column = Spaced<ICBSVerticalLayout>(5);
  FixedNode* first = column->AddChild(std::make_unique<FixedNode>(20, 10, true));
  FixedNode* second = column->AddChild(std::make_unique<FixedNode>(20, 10));
  column->SetGeometry({0, 0, 100, 25});

  const auto arranged = first->placed.size();
  first->Resize({60, 10});  // wider, but the child expands in a column 100 wide: absorbed there
  EXPECT_EQ(column->PreferredSize(), (Size{20, 25}));
  EXPECT_EQ(first->CurrentRect(), (Rect{0, 0, 100, 10}));
  EXPECT_EQ(first->placed.size(), arranged + 1);

  first->Resize({60, 30});  // taller: the column grows and arranges again
  EXPECT_EQ(column->PreferredSize(), (Size{60, 45}));
  EXPECT_EQ(second->CurrentRect(), (Rect{0, 35, 20, 10}));
}

TEST(LayoutTest, TheStackShowsOneChildAndKeepsItWhenAskedForAStranger) {
  ICBSStackLayout stack;
  ICBSLayout* first = stack.AddChildAndSelect(std::make_unique<FixedNode>(20, 10), kAlignStart, kAlignStart);
  auto* firstNode = static_cast<FixedNode*>(first);
  EXPECT_TRUE(firstNode->shown);
  auto* second = stack.AddChild(std::make_unique<FixedNode>(50, 30));
  EXPECT_EQ(stack.PreferredSize(), (Size{20, 10}));
  EXPECT_TRUE(stack.SelectChild(second));
  EXPECT_FALSE(firstNode->shown);
  EXPECT_TRUE(second->shown);
  EXPECT_EQ(stack.PreferredSize(), (Size{50, 30}));
  EXPECT_TRUE(stack.SelectChild(second));

  FixedNode stranger(5, 5);
  EXPECT_FALSE(stack.SelectChild(&stranger));
  EXPECT_FALSE(second->shown);
  EXPECT_EQ(stack.Current(), second);
  EXPECT_FALSE(stack.SelectChild(nullptr));
}

class WidgetTest : public ::testing::Test {
 protected:
  WidgetTest() : host_(temp_.Path()) {
    platform::ControlSpec page;
    page.rect = {0, 0, 400, 300};
    page_ = Gui().CreateControl(0, page, nullptr);
  }
  ~WidgetTest() override { ReleaseSharedFonts(Gui()); }

  platform::host::HostGui& Gui() { return host_.Gui(); }
  WidgetParent Parent() { return {Gui(), page_}; }

  TempFolder temp_;
  platform::host::HostPlatform host_;
  platform::WindowHandle page_ = 0;
};

TEST_F(WidgetTest, AWrappedTextInANarrowColumnGrowsTallerAndMovesWhatFollows) {
  auto column = Spaced<ICBSVerticalLayout>(5);
  auto* text = column->AddChild(std::make_unique<ICBSTextWidget>(Parent(), L"one two three four", true, kAlignStart));
  FixedNode* below = column->AddChild(std::make_unique<FixedNode>(10, 10));
  EXPECT_EQ(text->PreferredSize(), (Size{108, 12}));  // measured on one line at first

  column->SetGeometry({0, 0, 60, 200});
  EXPECT_EQ(text->PreferredSize(), (Size{60, 24}));  // "one two" / "three four"
  EXPECT_EQ(Gui().Window(text->Window()).rect, (Rect{0, 0, 60, 24}));
  EXPECT_EQ(below->CurrentRect(), (Rect{0, 29, 10, 10}));
  EXPECT_EQ(column->PreferredSize(), (Size{60, 39}));

  text->SetText(L"one two three four five six");  // a third line: the column grows
  EXPECT_EQ(Gui().Text(text->Window()), L"one two three four five six");
  EXPECT_EQ(below->CurrentRect(), (Rect{0, 41, 10, 10}));
}

TEST_F(WidgetTest, TheSameTextAgainChangesNothing) {
  auto column = Spaced<ICBSVerticalLayout>(5);
  auto* text = column->AddChild(std::make_unique<ICBSTextWidget>(Parent(), L"Ready", false, kAlignStart));
  FixedNode* below = column->AddChild(std::make_unique<FixedNode>(10, 10));
  column->SetGeometry({0, 0, 200, 100});
  const auto arrangements = below->placed.size();
  const int invalidations = Gui().Window(text->Window()).invalidations;

  text->SetText(L"Ready");
  EXPECT_EQ(below->placed.size(), arrangements);
  EXPECT_EQ(Gui().Window(text->Window()).invalidations, invalidations);

  text->SetText(L"Ready now");
  EXPECT_GT(Gui().Window(text->Window()).invalidations, invalidations);
  EXPECT_EQ(text->PreferredSize(), (Size{54, 12}));
}

TEST_F(WidgetTest, ContentSizesOfCheckBoxesImagesAndProgressBars) {
  ICBSCheckboxWidget empty(Parent(), L"", false, 1201);
  ICBSCheckboxWidget labelled(Parent(), L"Keep", false, 1202);
  ICBSImageWidget image(Parent(), Gui().LoadIconResource(std::uint32_t{133}));
  ICBSImageWidget noImage(Parent(), 0);
  ICBSProgressWidget bar(Parent(), platform::kUserMessage + 2, 100);
  EXPECT_EQ(empty.ContentSize(), (Size{16, 16}));
  EXPECT_EQ(labelled.ContentSize(), (Size{24 + 18, 16}));
  EXPECT_EQ(image.PreferredSize(), (Size{32, 32}));
  EXPECT_EQ(noImage.PreferredSize(), (Size{0, 0}));
  EXPECT_EQ(bar.PreferredSize(), (Size{0, 16}));
  EXPECT_TRUE(bar.ExpandsHorizontally());
  EXPECT_EQ(Gui().Window(labelled.Window()).id, 1202);
  EXPECT_EQ(Gui().Window(labelled.Window()).kind, platform::host::HostWindowKind::CheckBox);
}

TEST_F(WidgetTest, ProgressPostsEveryMoveOfAShortBarButOnlyChangesOfALongOne) {
  constexpr std::uint32_t kMessage = platform::kUserMessage + 2;
  const struct {
    const char* name;
    int maximum;
    std::vector<int> positions;
    std::vector<std::uintptr_t> posted;
  } cases[] = {
      {"short bar", 50, {10, 10, 80}, {10, 10, 50}},
      {"long bar", 1000, {10, 10, -5}, {10, 0}},
      {"marquee", 0, {10, 20}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ICBSProgressWidget bar(Parent(), kMessage, c.maximum);
    const std::size_t before = host_.Ui().PostedMessages().size();
    for (const int position : c.positions) bar.SetPos(position);
    std::vector<std::uintptr_t> posted;
    const auto all = host_.Ui().PostedMessages();
    for (std::size_t i = before; i < all.size(); ++i) {
      EXPECT_EQ(all[i].window, page_);
      EXPECT_EQ(all[i].message, kMessage);
      posted.push_back(all[i].wParam);
    }
    EXPECT_EQ(posted, c.posted);
    EXPECT_EQ(Gui().Window(bar.Window()).marqueeIntervalMs, c.maximum == 0 ? 100 : 0);
    Gui().PumpPendingMessages();
  }
}

TEST_F(WidgetTest, PendingProgressIsAppliedOnTheInterfaceThreadAndAdvanceStopsAtTheMaximum) {
  constexpr std::uint32_t kMessage = platform::kUserMessage + 2;
  ICBSProgressWidget bar(Parent(), kMessage, 30);
  bar.SetPos(0);
  bar.Advance(12);
  bar.ApplyPendingPos();  // the oldest first
  EXPECT_EQ(Gui().Window(bar.Window()).progressPosition, 0);
  bar.ApplyPendingPos();
  EXPECT_EQ(Gui().Window(bar.Window()).progressPosition, 12);
  bar.Advance(25);
  EXPECT_EQ(bar.Position(), 30);
  bar.ApplyPendingPos();
  EXPECT_EQ(Gui().Window(bar.Window()).progressPosition, 30);
  bar.ApplyPendingPos();  // nothing pending: the bar stays
  EXPECT_EQ(Gui().Window(bar.Window()).progressPosition, 30);
}

TEST_F(WidgetTest, WidgetsShareOneTahomaFontAndDeletingAWidgetRemovesItsWindow) {
  platform::WindowHandle window = 0;
  {
    ICBSTextWidget first(Parent(), L"a", false, kAlignStart);
    const ICBSTextWidget second(Parent(), L"b", false, kAlignStart);
    window = first.Window();
    EXPECT_EQ(Gui().Font(first.Window()), Gui().Font(second.Window()));
    const platform::host::HostFont& font = Gui().FontInfo(Gui().Font(first.Window()));
    EXPECT_EQ(font.face, L"Tahoma");
    EXPECT_EQ(font.points, 9);
    EXPECT_EQ(font.weight, 400);
    EXPECT_EQ(Gui().LiveFonts(), 1u);
  }
  EXPECT_FALSE(Gui().Exists(window));
}

TEST_F(WidgetTest, WarningTextDrawsItselfInItsColoursBeforeItsParentIsAsked) {
  WarningStaticText warning(Gui(), kWarningTextRed);
  platform::ControlSpec spec;
  spec.text = L"Conflict";
  const platform::WindowHandle window = warning.Create(page_, spec);
  const auto colours = Gui().ControlColoursOf(window);
  ASSERT_TRUE(colours);
  EXPECT_EQ(colours->text, kWarningTextRed);
  EXPECT_EQ(colours->background, kWarningBackground);
  EXPECT_EQ(Gui().BrushColour(colours->brush), kWarningBackground);
  EXPECT_EQ(Gui().Window(window).kind, platform::host::HostWindowKind::StaticText);
}

}  // namespace
}  // namespace setup::testing
