// Charts showing one item list: the refusals (recorded instead of shown),
// redirection to the owner, the users' order and limit, changes seen by the
// whole group, detaching, the group's repaint, and charts destroyed while
// they share (the sanitizer build checks that nothing reads freed memory).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "travenel/chart/rchart.h"
#include "rchart_test_util.h"
#include "travenel/ui/Application.h"

namespace travenel {

namespace {

class ChartShare : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetMessageSink([this](TMessageKind kind, const std::string& text) {
      EXPECT_EQ(kind, TMessageKind::Information);
      messages.push_back(text);
    });
    for (auto& c : charts) c = LiveChart();
  }
  void TearDown() override { SetMessageSink(previous_); }

  TRChart& C(int i) { return *charts[static_cast<std::size_t>(i)]; }
  std::vector<std::string> messages;
  std::array<std::unique_ptr<TRChart>, 6> charts;

 private:
  TMessageSink previous_;
};

TEST_F(ChartShare, RefusalsAreShownAndChangeNothing) {
  TRChart &a = C(0), &b = C(1), &d = C(2);
  a.SetUseDataOf(&a);
  b.SetUseDataOf(&a);
  a.SetUseDataOf(&d);  // a has a user of its own
  EXPECT_EQ(messages,
            (std::vector<std::string>{
                "RChart: Cannot share data with myself",
                "RChart: Cannot use foreign data. Other RCharts are using my own data."}));
  EXPECT_EQ(a.UseDataOf(), nullptr);
  EXPECT_EQ(b.UseDataOf(), &a);
}

TEST_F(ChartShare, AUserIsRedirectedToItsOwnerAndUsersKeepTheirOrder) {
  TRChart &b = C(0), &a = C(1), &d = C(2);
  a.SetUseDataOf(&b);
  d.SetUseDataOf(&a);
  EXPECT_EQ(d.UseDataOf(), &b);
  EXPECT_EQ(b.DataUsers(), (std::vector<TCustomRChart*>{&a, &d}));
  const int paints = d.PaintCount();
  d.SetUseDataOf(&b);  // the same owner again: nothing changes
  d.SetUseDataOf(&a);
  EXPECT_EQ(b.DataUsers(), (std::vector<TCustomRChart*>{&a, &d}));
  EXPECT_EQ(d.PaintCount(), paints);
  EXPECT_TRUE(messages.empty());
}

TEST_F(ChartShare, AFifthUserIsRefusedAndKeepsItsItems) {
  TRChart& owner = C(0);
  for (int i = 1; i <= 4; ++i) C(i).SetUseDataOf(&owner);
  TRChart& fifth = C(5);
  fifth.MoveToPoint(1, 2);
  fifth.SetUseDataOf(&owner);
  EXPECT_EQ(messages, (std::vector<std::string>{"RChart: Max. number of data shares exceeded"}));
  EXPECT_EQ(fifth.UseDataOf(), nullptr);
  EXPECT_EQ(fifth.ItemCount(), 1);
  EXPECT_EQ(owner.DataUsers().size(), 4u);
}

TEST_F(ChartShare, ChangesThroughAnyChartAreSeenByTheGroup) {
  TRChart &b = C(0), &u1 = C(1), &u2 = C(2);
  u1.AddLine(9, 9, 9, 9);  // dropped: a user shows its owner's items
  u1.SetUseDataOf(&b);
  u2.SetUseDataOf(&b);
  EXPECT_EQ(u1.ItemCount(), 0);
  b.AddLine(0, 0, 1, 1);
  u1.SetDataColor(clRed);
  u1.AddLine(1, 1, 2, 0);
  for (TRChart* c : {&b, &u1, &u2}) {
    EXPECT_EQ(c->ItemCount(), 2);
    EXPECT_EQ(c->ItemList().KindCount(ikLine), 2);
  }
  EXPECT_EQ(b.ItemList().Items()[1].Color, clRed);
  // The limit is the group's.
  for (int i = 0; i < 998; ++i) u2.MoveToPoint(i, i);
  EXPECT_THROW(b.MoveToPoint(0, 0), EUlxError);
  u2.ClearItems();
  for (TRChart* c : {&b, &u1, &u2}) EXPECT_EQ(c->ItemCount(), 0);
}

TEST_F(ChartShare, ShowItemsAsksTheWholeGroupToRepaint) {
  TRChart &b = C(0), &u1 = C(1), &u2 = C(2);
  u1.SetUseDataOf(&b);
  u2.SetUseDataOf(&b);
  u2.SetAutoRedraw(false);
  const int pb = b.PaintCount(), p1 = u1.PaintCount(), p2 = u2.PaintCount();
  u1.ShowItems();  // through a user: the owner and every user (u1 among them)
  EXPECT_EQ(b.PaintCount(), pb + 1);
  EXPECT_EQ(u1.PaintCount(), p1 + 1);
  EXPECT_EQ(u2.PaintCount(), p2);  // without AutoRedraw it does not
  b.SetVisible(false);
  b.ShowItems();  // hidden: draws nothing on itself, but the users still repaint
  EXPECT_EQ(b.PaintCount(), pb + 1);
  EXPECT_EQ(u1.PaintCount(), p1 + 2);
}

TEST_F(ChartShare, RenderHandlersMayChangeTheGroupWhileItRepaints) {
  TRChart &c0 = C(0), &c1 = C(1), &c2 = C(2), &c3 = C(3), &c4 = C(4), &c5 = C(5);
  c3.SetUseDataOf(&c0);
  c3.OnDataRendered = [&](auto&&...) { c1.SetUseDataOf(&c4); };  // joins c0's group meanwhile
  c4.SetUseDataOf(&c0);
  const int p4 = c4.PaintCount();
  c0.ShowItems();
  EXPECT_EQ(c0.DataUsers(), (std::vector<TCustomRChart*>{&c3, &c4, &c1}));
  EXPECT_EQ(c4.PaintCount(), p4 + 1) << "the group as it began is repainted";
  // The owner's handler detaches the user whose ShowItems walks the group.
  c2.OnDataRendered = [&](auto&&...) { c5.SetUseDataOf(nullptr); };
  c5.SetUseDataOf(&c2);
  c5.ShowItems();
  EXPECT_EQ(c5.UseDataOf(), nullptr);
  // A handler destroys a chart that has yet to repaint: it is passed over.
  c3.OnDataRendered = [&](auto&&...) { charts[4].reset(); };
  c0.ShowItems();
  EXPECT_EQ(c0.DataUsers(), (std::vector<TCustomRChart*>{&c3, &c1}));
}

TEST_F(ChartShare, DetachingKeepsTheItemsShown) {
  TRChart &b = C(0), &u = C(1);
  b.AddLine(0, 0, 1, 1);
  u.SetUseDataOf(&b);
  u.SetUseDataOf(nullptr);
  EXPECT_TRUE(b.DataUsers().empty());
  EXPECT_EQ(u.ItemCount(), 1);
  b.MoveToPoint(5, 5);
  u.AddLine(2, 2, 3, 3);
  EXPECT_EQ(b.ItemCount(), 2);
  EXPECT_EQ(u.ItemCount(), 2);
  EXPECT_EQ(u.ItemList().Items()[1].Kind, ikLine);
  EXPECT_EQ(b.ItemList().Items()[1].Kind, ikMoveTo);
}

TEST_F(ChartShare, DestroyedChartsLeaveNoReferenceBehind) {
  TRChart &u1 = C(1), &u2 = C(2), &other = C(3);
  C(0).AddLine(0, 0, 1, 1);
  u1.SetUseDataOf(&C(0));
  u2.SetUseDataOf(&C(0));
  charts[0].reset();  // the owner goes: its users keep what they showed, each its own
  EXPECT_EQ(u1.UseDataOf(), nullptr);
  EXPECT_EQ(u1.ItemCount(), 1);
  u1.MoveToPoint(1, 1);
  EXPECT_EQ(u2.ItemCount(), 1);
  u2.ShowItems();
  // A user goes: it leaves its owner's list of users.
  u1.SetUseDataOf(&other);
  u2.SetUseDataOf(&other);
  charts[1].reset();
  EXPECT_EQ(other.DataUsers(), (std::vector<TCustomRChart*>{&u2}));
  other.ShowItems();
  other.AddLine(0, 0, 2, 2);
  EXPECT_EQ(u2.ItemCount(), 1);
}

}  // namespace

}  // namespace travenel
