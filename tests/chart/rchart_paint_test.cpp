// The chart's pictures, pixel by pixel: the control image (shadow, caption,
// axes and their order), the chart-area background, the grid, every item kind
// that has a rule worth checking, the text labels and the cheaper redraw of
// ShowItems. Most cases use a range of one world unit per pixel: on the
// created chart (area 211 x 141 at (50, 20)) world (x, y) is pixel
// (x, 140 - y) of the chart-area image.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <climits>
#include <set>
#include <string>
#include <vector>

#include "qt_messages.h"
#include "rchart_test_util.h"
#include "scale_paint_util.h"
#include "travenel/ui/QtHost.h"

namespace travenel {

namespace {

const TColor kWhite = 0xFFFFFF;

class ChartPaint : public ::testing::Test {
 protected:
  void SetUp() override {
    c = LiveChart();
    c->SetLayerRanges(1, 0, 0, 210, 140);
  }
  TColor Area(int x, int y) const { return c->ChartAreaImage().Canvas().Pixels(x, y); }
  TColor Window(int x, int y) const { return c->ControlImage().Canvas().Pixels(x, y); }
  // Pixels of the area's interior (inside its frame) that are not the chart colour.
  int Ink() const {
    int n = 0;
    for (int y = 1; y < 140; ++y)
      for (int x = 1; x < 210; ++x) n += Area(x, y) != kWhite;
    return n;
  }
  std::unique_ptr<TRChart> c;
};

TEST_F(ChartPaint, LineOnOnePixelSetsExactlyThatPixel) {
  c->SetDataColor(clRed);
  c->AddLine(10, 10, 10.2, 10.3);
  c->Paint();
  EXPECT_EQ(Ink(), 1);
  EXPECT_EQ(Area(10, 130), clRed);
  // The frame lies on the outermost pixels of the area image, copied to the window.
  EXPECT_EQ(Area(0, 0), clBlack);
  EXPECT_EQ(Area(210, 140), clBlack);
  EXPECT_EQ(Window(50 + 10, 20 + 130), clRed);
}

// Item pixels are kept from one paint to the next; what moves them must show.
TEST_F(ChartPaint, RepaintsFollowRangesItemsAndOffsets) {
  c->SetDataColor(clRed);
  c->AddLine(10, 10, 10, 10);
  c->Paint();
  EXPECT_EQ(Area(10, 130), clRed);
  c->SetLayerRanges(1, -10, 0, 200, 140);  // a new range moves the item
  EXPECT_EQ(Area(10, 130), kWhite);
  EXPECT_EQ(Area(20, 130), clRed);
  c->ClearItems();  // the same count of other items
  c->AddLine(50, 50, 50, 50);
  c->Paint();
  EXPECT_EQ(Area(20, 130), kWhite);
  EXPECT_EQ(Area(60, 90), clRed);
  TBitmap other(300, 200);  // another surface, other offsets
  c->RenderItems(other.Canvas(), 7, 9, false, true);
  EXPECT_EQ(other.Canvas().Pixels(67, 99), clRed);
  c->Paint();
  EXPECT_EQ(Area(60, 90), clRed);
}

TEST_F(ChartPaint, LineToRunsAreBatchedIntoConnectedPolylines) {
  // Dotted, so that where a polyline starts afresh shows in the dots.
  c->SetPenStyle(psDot);
  c->MoveToPoint(0, 5);
  std::vector<TPoint> pts{{0, 135}};
  for (int i = 1; i <= 450; ++i) {
    const int x = (i % 100) * 2 + 3, y = 10 + (i / 100) * 25 + (i % 2) * 4;
    c->LineTo(x, y);
    pts.push_back({x, 140 - y});
  }
  c->Paint();
  // The same picture drawn by hand: 200, 200 and 53 points, each batch from
  // the last point of the one before.
  const auto drawn = [&](std::vector<std::pair<int, int>> batches) {
    TBitmap ref(211, 141);
    TCanvas& r = ref.Canvas();
    r.Brush.Color = kWhite;
    r.FillRect(Rect(0, 0, 211, 141));
    r.Pen.Color = clBlack;
    r.Pen.Style = psDot;
    for (auto [from, to] : batches)
      r.Polyline(
          std::span<const TPoint>(pts.data() + from, static_cast<std::size_t>(to - from + 1)));
    int same = 0;
    for (int y = 1; y < 140; ++y)
      for (int x = 1; x < 210; ++x) same += r.Pixels(x, y) == Area(x, y);
    return same;
  };
  const int all = 209 * 139;
  EXPECT_EQ(drawn({{0, 199}, {199, 398}, {398, 450}}), all);
  EXPECT_LT(drawn({{0, 450}}), all);  // one long polyline would dot differently
}

TEST_F(ChartPaint, LineToAfterALineStartsAtTheLastMoveTo) {
  c->MoveToPoint(10, 10);
  c->AddLine(50, 50, 60, 60);
  c->LineTo(100, 10);
  c->Paint();
  EXPECT_EQ(Area(30, 130), clBlack);  // on the line from (10, 10)
  EXPECT_EQ(Area(80, 90), kWhite);    // nothing from (60, 60)
}

TEST_F(ChartPaint, RectangleCoversBothCornerPixels) {
  c->SetDataColor(clBlue);
  c->Rectangle(5, 5, 6, 6);
  c->Paint();
  EXPECT_EQ(Ink(), 4);
  for (auto [x, y] : {std::pair{5, 135}, {6, 135}, {5, 134}, {6, 134}})
    EXPECT_EQ(Area(x, y), clBlue);
}

// Items mapped onto the ends of the 32-bit range stay there: the edge one
// pixel further stops at the end instead of wrapping round over the surface.
TEST_F(ChartPaint, ItemsAtTheEndsOfTheRangeDrawNothingOnTheSurface) {
  c->SetFillColor(clRed);
  c->Bar3D(1.0, 1.04, -94.0, -39.2, 0, 32);
  TBitmap none(48, 0);
  c->RenderItems(none.Canvas(), -32, INT_MAX - 1, false, false);
  struct Case {
    int dx, dy;
    double x, y;  // the items' corner; (x, y) lies at surface (x + dx, 140 - y + dy)
  };
  for (const Case& k : {Case{0, INT_MAX - 1, 1, 0}, Case{INT_MAX - 1, -134, 1, 0},
                        Case{0, INT_MIN, 1, 1e6}, Case{INT_MIN, -134, -1e6, 0}}) {
    for (int kind = 0; kind < 4; ++kind) {
      c->ClearItems();
      if (kind == 0) c->Rectangle(k.x, k.y, k.x + 4, k.y + 5);
      if (kind == 1) c->Ellipse(k.x + 2, k.y + 2.5, 2, 2.5);
      if (kind == 2) c->Rect3D(k.x, k.y, k.x + 4, k.y + 5, fsEmbossed, clBlue, clLime);
      if (kind == 3) c->Bar3D(k.x, k.y, k.x + 4, k.y + 5, 3, 45);
      TBitmap s(48, 8);
      c->RenderItems(s.Canvas(), k.dx, k.dy, false, true);
      int ink = 0;
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 48; ++x) ink += s.Canvas().Pixels(x, y) != kWhite;
      EXPECT_EQ(ink, 0) << "kind " << kind << " at " << k.dx << ", " << k.dy;
    }
  }
}

TEST_F(ChartPaint, HiddenClassAndLayerHideTheirItems) {
  c->SetClassDefault(3);
  c->AddLine(10, 10, 100, 10);
  c->SetClassDefault(0);
  c->SetActiveLayer(2);
  c->AddLine(10, 50, 100, 50);
  c->SetClassVisible(3, false);
  c->SetLayerVisible(2, false);
  c->Paint();
  EXPECT_EQ(Ink(), 0);
  EXPECT_EQ(c->ItemCount(), 2);
  c->SetClassVisible(3, true);
  c->Paint();
  EXPECT_EQ(Area(50, 130), clBlack);
}

TEST_F(ChartPaint, BlackAndWhiteKeepsOnlyTheEdgeColours) {
  c->SetDataColor(clRed);
  c->SetFillColor(clYellow);
  c->Rectangle(10, 10, 40, 40);
  c->Rect3D(60, 10, 90, 40, fsLowered, clBlue, clLime);
  TBitmap bw(211, 141);
  c->RenderChartBackground(bw.Canvas(), 0, 0);
  c->RenderItems(bw.Canvas(), 0, 0, true, false);
  const TCanvas& s = bw.Canvas();
  EXPECT_EQ(s.Pixels(10, 115), clBlack);   // outline
  EXPECT_EQ(s.Pixels(25, 115), clSilver);  // fill
  EXPECT_EQ(s.Pixels(75, 115), clSilver);  // the 3-D rectangle's face ...
  EXPECT_EQ(s.Pixels(60, 115), clBlue);    // ... keeps its dark left edge
  EXPECT_EQ(s.Pixels(90, 115), clLime);    // ... and its light right edge, beside it
}

TEST_F(ChartPaint, ArrowHeads) {
  c->SetDataColor(clRed);
  c->SetFillColor(clYellow);
  c->Arrow(20, 70, 100, 70, 10);  // tip at (100, 70), barbs at (91, 67) and (91, 73)
  c->Paint();
  EXPECT_EQ(Area(91, 67), clRed);
  EXPECT_EQ(Area(91, 73), clRed);
  EXPECT_EQ(Area(85, 70), clRed);     // the shaft
  EXPECT_EQ(Area(95, 70), clYellow);  // a filled head, over the shaft
  c->ClearItems();
  // Straight up: the barbs lie below the tip (100, 40), towards (97, 49) and
  // (103, 49), as for any arrow that is nearly vertical.
  c->Arrow(100, 20, 100, 100, 10, /*openHead=*/true);
  c->Paint();
  EXPECT_EQ(Area(98, 46), clRed);
  EXPECT_EQ(Area(102, 46), clRed);
  EXPECT_EQ(Area(97, 44), kWhite);
  EXPECT_EQ(Area(107, 43), kWhite);
  c->ClearItems();
  c->Arrow(100, 100, 100, 20, 10, true);  // straight down: barbs above the tip (100, 120)
  c->Paint();
  EXPECT_EQ(Area(98, 114), clRed);
  EXPECT_EQ(Area(102, 114), clRed);
}

TEST_F(ChartPaint, ShadowBandsAndOutline) {
  c->SetShadowColor(clGray);
  c->SetShadowBakColor(clAqua);
  c->SetShadowWidth(5);               // 280 x 200: bands in the last five rows and columns
  EXPECT_EQ(Window(4, 197), clGray);  // flying: the bottom band starts at x = 4
  EXPECT_EQ(Window(3, 197), clAqua);
  EXPECT_EQ(Window(277, 4), clGray);  // the right band at y = 4
  EXPECT_EQ(Window(277, 3), clAqua);
  EXPECT_EQ(Window(100, 0), clBlack);  // the outline of the control without the shadow
  EXPECT_EQ(Window(275, 100), clBlack);
  EXPECT_EQ(Window(100, 195), clBlack);
  c->SetShadowStyle(ssBox);  // from the edges, outlined in black
  EXPECT_EQ(Window(0, 195), clBlack);
  EXPECT_EQ(Window(3, 196), clGray);
  EXPECT_EQ(Window(2, 198), clAqua);
  EXPECT_EQ(Window(275, 0), clBlack);
  EXPECT_EQ(Window(279, 4), clBlack);
  EXPECT_EQ(Window(100, 199), clBlack);
  c->SetShadowWidth(0);  // neither band nor outline
  EXPECT_EQ(Window(100, 0), ColorToRGB(clBtnFace));
  EXPECT_EQ(Window(277, 100), ColorToRGB(clBtnFace));
}

TEST_F(ChartPaint, CaptionByAnchorAndAlignment) {
  // A caption of odd width, centred: it starts at x - width div 2.
  std::string text = "Agenten";
  while (c->ControlImage().Canvas().TextWidth(text) % 2 == 0) text += "i";
  c->SetCaption(text);
  c->SetCaptionAlignment(taCenter);
  c->SetCaptionAnchorHoriz(cahChartCenter);
  c->SetCaptionAnchorVert(cavChartBottom);
  c->SetCaptionPosY(20);  // below the axis labels
  c->SetShadowWidth(5);
  c->Paint();  // the caption takes the font the axes left on the surface
  const TCanvas& s = c->ControlImage().Canvas();
  const int tw = s.TextWidth(text);
  // Centre of a 205-pixel area from x = 50; the bottom anchor ignores the shadow.
  EXPECT_TRUE(TextAt(s, 50 + 205 / 2 - tw / 2, 200 - 40 + 20, text, ColorToRGB(clBtnFace)));
  c->SetCaptionAlignment(taRightJustify);
  c->SetCaptionAnchorHoriz(cahChartRight);
  c->SetCaptionAnchorVert(cavControlTop);
  c->SetCaptionPosY(3);
  EXPECT_TRUE(TextAt(s, 255 - tw, 3, text, ColorToRGB(clBtnFace)));
}

TEST_F(ChartPaint, AxesPaintInTheirOrderAndTheEventsFollow) {
  c->SetStandardLayout(rcl_X2Both_Y2Both);
  std::vector<TScaleType> order;
  std::vector<std::string> events;
  c->OnScaleTickDrawn = [&](TScale&, TCanvas&, TScaleType t, double, int, int) {
    if (order.empty() || order.back() != t) order.push_back(t);
  };
  c->OnScalesRendered = [&](TCustomRChart&, TCanvas& s, int top, int left) {
    events.push_back("scales " + std::to_string(top) + " " + std::to_string(left));
    EXPECT_EQ(&s, &c->ControlImage().Canvas());
  };
  c->OnBeforeRenderData = [&](TCustomRChart&, TCanvas& s, int top, int left) {
    events.push_back("before " + std::to_string(top) + " " + std::to_string(left));
    s.Brush.Color = clRed;  // put back by the pass
  };
  c->OnDataRendered = [&](TCustomRChart&, TCanvas&, int top, int left) {
    events.push_back("data " + std::to_string(top) + " " + std::to_string(left));
  };
  c->Paint();
  EXPECT_EQ(order, (std::vector<TScaleType>{sctXT, sctXB, sctYR, sctYL}));  // X1, X2, Y1, Y2
  EXPECT_EQ(events, (std::vector<std::string>{"scales 0 0", "before 48 50", "data 48 50"}));
  EXPECT_NE(Area(100, 70), clRed);
}

TEST_F(ChartPaint, UnreadableBackgroundPictureIsDroppedOnce) {
  c->SetChartColor(clYellow);
  c->BackGroundImg().SetIncludePath(true);
  c->BackGroundImg().SetName("/no/such/picture.png");
  EXPECT_EQ(c->BackGroundImg().Name(), "");
  EXPECT_EQ(Area(100, 70), clYellow);
  const QtMessages qt;  // a name with a NUL byte goes the same way, without Qt's warning
  c->BackGroundImg().SetName(std::string("/tmp\0/x.png", 11));
  EXPECT_EQ(c->BackGroundImg().Name(), "");
  EXPECT_TRUE(qt.Texts().empty()) << qt.Texts().front();
}

TEST_F(ChartPaint, BackgroundTilesAndStretch) {
  QTemporaryDir dir;
  QImage tile(50, 50, QImage::Format_RGB32);
  tile.fill(QColor(255, 0, 0));
  for (int y = 0; y < 50; ++y)
    for (int x = 25; x < 50; ++x) tile.setPixel(x, y, qRgb(0, 0, 255));
  const std::string file = dir.filePath("tile.png").toStdString();
  ASSERT_TRUE(tile.save(QString::fromStdString(file)));
  c->SetBounds(0, 0, 50 + 20 + 100, 20 + 40 + 49);  // an area of 101 x 50
  c->BackGroundImg().SetIncludePath(true);
  c->BackGroundImg().SetFillMode(bfTile);
  c->BackGroundImg().SetName(file);
  ASSERT_EQ(c->ChartAreaImage().Width(), 101);
  EXPECT_EQ(Area(10, 10), clRed);
  EXPECT_EQ(Area(40, 10), clBlue);
  EXPECT_EQ(Area(60, 10), clRed);             // second tile
  EXPECT_EQ(Area(100, 10), clBlack);          // the frame over the third tile's first column
  EXPECT_EQ(Area(99, 10), clBlue);            // second tile's last column
  c->BackGroundImg().SetFillMode(bfStretch);  // one picture over the whole area
  EXPECT_EQ(Area(45, 10), clRed);
  EXPECT_EQ(Area(55, 10), clBlue);
  EXPECT_EQ(c->BackGroundImg().Name(), file);
  // Rendered elsewhere, the picture goes where the area lies on that surface.
  TBitmap other(300, 200);
  c->BackGroundImg().SetFillMode(bfTile);
  c->RenderChartBackground(other.Canvas(), 30, 40);
  EXPECT_EQ(other.Canvas().Pixels(30 + 10, 40 + 10), clRed);
  EXPECT_EQ(other.Canvas().Pixels(30 + 40, 40 + 10), clBlue);
  EXPECT_EQ(other.Canvas().Pixels(10, 10), clWhite);
}

TEST_F(ChartPaint, LogarithmicGridInOneTwoFiveSteps) {
  c->Scale1X().SetRangeLow(1);
  c->Scale1X().SetRangeHigh(1000);
  c->Scale1X().SetLogarithmic(true);
  c->SetGridColor(clRed);
  c->SetGridDx(-2);
  c->SetGridStyle(gsVertLines);
  std::set<int> columns;
  for (int x = 1; x < 210; ++x)
    if (Area(x, 70) == clRed) columns.insert(x);
  std::set<int> expected;
  for (double v : {2, 5, 10, 20, 50, 100, 200, 500})
    expected.insert(c->WorldToPixel(1, v, 0).X - 50);
  EXPECT_EQ(columns, expected);
}

TEST_F(ChartPaint, GridFollowsTheTicksAndPointsStopAtAThousand) {
  c->SetGridColor(clRed);
  c->SetGridStyle(gsHorizDotLines);
  const TScale& y = c->ScaleObjectY(1);
  ASSERT_GT(y.NumTicks(), 2);
  for (int i = 1; i <= y.NumTicks(); ++i) {
    const int row = c->WorldToPixel(1, 0, y.TickPosition(i)).Y - 20;
    if (row <= 0 || row >= 140) continue;
    EXPECT_TRUE(Area(1, row) == clRed || Area(2, row) == clRed || Area(3, row) == clRed) << row;
  }
  // Points: a column at every x, a point at every y up to 139; the 1000th
  // point is the 20th of the eighth column.
  c->SetGridDx(1);
  c->SetGridDy(1);
  c->SetGridStyle(gsPoints);
  EXPECT_EQ(Area(7, 140 - 19), clRed);
  EXPECT_EQ(Area(7, 140 - 20), kWhite);
  EXPECT_EQ(Area(8, 140 - 1), kWhite);
  EXPECT_EQ(Area(6, 1), clRed);
}

TEST_F(ChartPaint, TextLabelOfThreeLines) {
  TTextLabel& l = c->TextLabel(1);
  l.SetAttachToData(false);
  l.SetPosX(150);
  l.SetPosY(100);
  l.SetCaption("a\nbbbb\ncc");
  l.SetMode(tlBox);
  const TCanvas& s = c->ChartAreaImage().Canvas();  // holds the label's font now
  const int mw = s.TextWidth("bbbb"), th = s.TextHeight("a");
  const int x = 150 - mw / 2 - 50, y = 100 - 20;  // the bottom of the block, in the area
  EXPECT_TRUE(TextAt(s, x + (mw - s.TextWidth("a")) / 2, y - 3 * th, "a", kWhite));
  EXPECT_TRUE(TextAt(s, x, y - 2 * th, "bbbb", kWhite));
  EXPECT_TRUE(TextAt(s, x + (mw - s.TextWidth("cc")) / 2, y - th, "cc", kWhite));
  EXPECT_EQ(Area(x - 4, y), clBlack);  // the box
  EXPECT_EQ(Area(x + mw + 3, y - 3 * th - 2), clBlack);
  EXPECT_EQ(Area(x - 5, y), kWhite);
  l.SetMode(tlOff);
  EXPECT_EQ(Ink(), 0);
}

TEST_F(ChartPaint, ShowItemsRedrawsOnlyTheChartArea) {
  c->SetCaption("old");
  c->SetAutoRedraw(false);
  c->SetCaption("new caption, not shown yet");
  c->SetDataColor(clRed);
  c->AddLine(10, 10, 100, 10);
  c->SetAutoRedraw(true);
  const int paints = c->PaintCount();
  c->ShowItems();
  EXPECT_EQ(c->PaintCount(), paints);
  EXPECT_EQ(c->LastShownItem(), 0);
  EXPECT_EQ(Window(50 + 50, 20 + 130), clRed);
  const TCanvas& s = c->ControlImage().Canvas();
  EXPECT_TRUE(TextAt(s, 260 - s.TextWidth("old"), 4, "old", ColorToRGB(clBtnFace)));
}

TEST_F(ChartPaint, SizeWhosePictureCannotBeAllocatedShowsNothingUntilOneFits) {
  const QtMessages qt;
  // In a window, as a chart is placed; and as a window of its own, whose
  // backing store Qt cannot allocate either (which the address sanitizer,
  // refusing the request, would report as a fault of its own).
  QWidget window;
  window.resize(300, 220);
  auto host = std::make_unique<QtHost>(*c, &window);
  window.show();
  c->SetDataColor(clRed);
  c->AddLine(10, 10, 100, 10);
  for (int alone = 0; alone < 2; ++alone) {
#ifndef __SANITIZE_ADDRESS__
    if (alone) {
      host.reset();  // the old host lets go of the chart first
      host = std::make_unique<QtHost>(*c);
    }
    host->show();
#endif
    for (const auto& [w, h] : {std::pair{INT_MAX, 200}, {100000, 100000}, {300, INT_MAX}}) {
      c->SetBounds(0, 0, w, h);
      QApplication::processEvents();
      EXPECT_TRUE(c->ControlImage().Empty()) << w << " x " << h;
      c->ShowItems();
      host->repaint();
      c->SetBounds(0, 0, 280, 200);
      c->ShowItems();
      EXPECT_EQ(Window(50 + 50, 20 + 130), clRed);
    }
  }
  TScale scale;  // a stand-alone scale alike
  scale.SetBounds(0, 0, INT_MAX, 60);
  scale.Repaint();
  EXPECT_TRUE(scale.WindowImage().Empty());
  EXPECT_TRUE(qt.Texts().empty()) << qt.Texts().front();
}

TEST_F(ChartPaint, PrinterSurfaceGetsAnAreaOnePixelSmaller) {
  TBitmap printer(211, 141);
  printer.Canvas().SetPrinter(true);
  c->RenderChartBackground(printer.Canvas(), 0, 0);
  EXPECT_EQ(c->ChartAreaImage().Width(), 210);
  EXPECT_EQ(c->ChartAreaImage().Height(), 140);
  c->Paint();
  EXPECT_EQ(c->ChartAreaImage().Width(), 211);
}

// Rendering onto another surface (a bitmap, a printer's) draws the axes there
// too, and leaves the window's picture and its surface as they were.
TEST_F(ChartPaint, ControlImageOntoAnotherSurface) {
  c->SetCaption("Titel");
  c->Scale1X().SetCaption("x-Achse");
  c->Paint();
  const QImage window = c->ControlImage().Image().copy();
  const TCanvasState state = c->ControlImage().Canvas().State();
  // The printer's font rules keep the sizes in pixels: the same picture.
  for (const int printerPpi : {0, 96, 300}) {
    TBitmap other(c->Width(), c->Height());
    other.Canvas().Font().SetValues(state.Font);  // the caption's font, as on the window
    if (printerPpi) other.Canvas().SetPrinter(true, printerPpi);
    c->RenderControlImage(other.Canvas());
    EXPECT_EQ(c->ControlImage().Image(), window) << printerPpi;
    EXPECT_TRUE(c->ControlImage().Canvas().State() == state) << printerPpi;
    for (int y = 0; y < c->Height(); ++y)  // outside the chart area all as on the window
      for (int x = 0; x < c->Width(); ++x)
        if (x < 50 || x > 260 || y < 20 || y > 160) {
          ASSERT_EQ(other.Canvas().Pixels(x, y), Window(x, y)) << x << "," << y << " " << printerPpi;
        }
  }
}

}  // namespace

}  // namespace travenel
