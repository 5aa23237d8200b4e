// The control model: bounds, painting into the window image, loading, and the
// Qt host's forwarding of input, focus and cursors, and the timer's pace.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <vector>

#include "travenel/ui/Application.h"
#include "travenel/ui/Control.h"
#include "travenel/ui/QtHost.h"
#include "travenel/ui/Timer.h"

namespace travenel {

namespace {

// Records what reaches it; paints a red cross in its middle.
class Probe : public TControl {
 public:
  explicit Probe(Kind kind) : TControl(kind) {}
  std::vector<std::string> log;
  int dialogCode = 0;
  int DialogCode() const override { return dialogCode; }
  void Loaded() override { log.push_back(Loading() ? "loaded-while-loading" : "loaded"); }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    log.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
    TControl::MouseDown(b, s, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    log.push_back("up " + std::to_string(b));
    TControl::MouseUp(b, s, x, y);
  }
  void Click() override { log.push_back("click"); }
  void KeyDown(std::uint16_t& key, TShiftState) override { log.push_back("key " + std::to_string(key)); }
  void MouseLeave() override { log.push_back("leave"); }

 protected:
  void Paint() override {
    log.push_back("paint");
    Canvas().Pen.Color = clRed;
    Canvas().MoveTo(Width() / 2, 0);
    Canvas().LineTo(Width() / 2, Height());
  }
  void CreateWnd() override { log.push_back("window"); }
};

TEST(Control, BoundsSizeTheWindowImageAndClampNegativeSizes) {
  Probe p(TControl::Kind::Windowed);
  p.SetBounds(5, 6, 40, 30);
  EXPECT_EQ(p.WindowImage().Width(), 40);
  EXPECT_EQ(p.WindowImage().Height(), 30);
  EXPECT_EQ(p.BoundsRect(), Rect(5, 6, 45, 36));
  p.SetWidth(-3);
  EXPECT_EQ(p.Width(), 0);
  EXPECT_TRUE(p.WindowImage().Empty());
  p.Repaint();  // painting on an empty image does nothing harmful
}

TEST(Control, WindowLessControlShowsItsParentsBackgroundUnderItsPaint) {
  Probe p(TControl::Kind::Graphic);
  p.SetBounds(0, 0, 10, 10);
  p.SetParentColor(clYellow);
  p.Repaint();
  EXPECT_EQ(p.Canvas().Pixels(0, 0), clYellow);
  EXPECT_EQ(p.Canvas().Pixels(5, 3), clRed);
  EXPECT_FALSE(p.PaintPending());

  Probe w(TControl::Kind::Windowed);
  w.SetBounds(0, 0, 10, 10);
  w.Canvas().SetPixels(0, 0, clBlue);
  w.Repaint();
  EXPECT_EQ(w.Canvas().Pixels(0, 0), clBlue) << "a windowed control paints all of itself";
}

TEST(Control, LoadingHelperAppliesValuesWhileLoadingThenTellsTheControl) {
  Probe p(TControl::Kind::Windowed);
  bool loadingDuringApply = false;
  LoadControl(p, [&] { loadingDuringApply = p.Loading(); });
  EXPECT_TRUE(loadingDuringApply);
  EXPECT_FALSE(p.Loading());
  EXPECT_EQ(p.log, std::vector<std::string>{"loaded"});

  EXPECT_THROW(LoadControl(p, [] { throw std::runtime_error("bad value"); }), std::runtime_error);
  EXPECT_FALSE(p.Loading()) << "a failed load does not leave the control loading";
}

TEST(Control, HandleIsCreatedOnceByTheHostOrOnDemand) {
  Probe p(TControl::Kind::Windowed);
  EXPECT_FALSE(p.HandleAllocated());
  p.HandleNeeded();
  p.HandleNeeded();
  EXPECT_TRUE(p.HandleAllocated());
  EXPECT_EQ(p.log, std::vector<std::string>{"window"});
}

TEST(QtHost, ForwardsMouseAndShowsTheWindowImage) {
  Probe p(TControl::Kind::Windowed);
  p.SetBounds(0, 0, 60, 40);
  QtHost host(p);
  host.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  EXPECT_TRUE(p.HandleAllocated());
  EXPECT_EQ(host.size(), QSize(60, 40));

  p.log.clear();
  QTest::mouseClick(&host, Qt::LeftButton, Qt::NoModifier, QPoint(7, 9));
  EXPECT_EQ(p.log, (std::vector<std::string>{"down 0 7,9", "up 0", "click"}));

  p.Invalidate();
  const QImage shot = host.grab().toImage();
  EXPECT_EQ(shot.pixel(30, 20) & 0xFFFFFF, 0xFF0000u) << "the red cross of Paint";

  host.resize(80, 50);
  EXPECT_EQ(p.Width(), 80);
  EXPECT_EQ(p.WindowImage().Width(), 80);
}

TEST(QtHost, TabReachesAControlThatClaimsIt) {
  QWidget window;
  Probe claims(TControl::Kind::Windowed), other(TControl::Kind::Windowed);
  claims.SetBounds(0, 0, 20, 20);
  other.SetBounds(30, 0, 20, 20);
  claims.dialogCode = DLGC_WANTARROWS | DLGC_WANTTAB;
  auto* a = new QtHost(claims, &window);
  new QtHost(other, &window);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  a->setFocus();
  QTest::keyClick(a, Qt::Key_Tab);
  QTest::keyClick(a, Qt::Key_Left);
  EXPECT_EQ(claims.log.back(), "key 37");
  EXPECT_NE(std::find(claims.log.begin(), claims.log.end(), "key 9"), claims.log.end());
  EXPECT_TRUE(a->hasFocus());

  claims.dialogCode = 0;
  QTest::keyClick(a, Qt::Key_Tab);
  EXPECT_FALSE(a->hasFocus()) << "without the claim Tab moves the focus on";
}

TEST(Timer, TicksAtItsIntervalButNeverFasterThanItsFloor) {
  TTimer t;
  t.SetInterval(25);
  EXPECT_EQ(t.TickInterval(), 25);
  int ticks = 0;
  t.OnTimer = [&] { ++ticks; };
  t.SetInterval(0);  // never ticks, enabled or not
  QTest::qWait(40);
  EXPECT_EQ(ticks, 0);
  t.SetInterval(1);
  EXPECT_EQ(t.TickInterval(), TTimer::kMinTickMs);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 5000));
}

TEST(Screen, RegisteredCursorsAndTheDefaultForUnknownNumbers) {
  TScreen& s = TScreen::Instance();
  s.RegisterCursor(2, QCursor(Qt::ClosedHandCursor));
  s.RegisterCursor(0, QCursor(Qt::BusyCursor));  // not a registrable number
  EXPECT_EQ(s.QtCursor(2).shape(), Qt::ClosedHandCursor);
  EXPECT_EQ(s.QtCursor(3).shape(), Qt::ArrowCursor);
  EXPECT_EQ(s.QtCursor(crDefault).shape(), Qt::ArrowCursor);
  EXPECT_EQ(s.QtCursor(crCross).shape(), Qt::CrossCursor);
  s.SetCursor(2);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ClosedHandCursor);
  s.SetCursor(crDefault);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(Application, HandlerExceptionsAreReportedAndTheProgramGoesOn) {
  std::vector<std::pair<TMessageKind, std::string>> shown;
  const TMessageSink previous = SetMessageSink([&](TMessageKind k, const std::string& t) {
    EXPECT_TRUE(MessageBoxOpen());
    shown.emplace_back(k, t);
  });
  EXPECT_FALSE(RunHandler([] { throw std::runtime_error("'x' ist kein gültiger Integerwert"); }));
  EXPECT_TRUE(RunHandler([] {}));
  ShowMessage("Hallo");
  SetMessageSink(previous);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], std::make_pair(TMessageKind::Error, std::string("'x' ist kein gültiger Integerwert")));
  EXPECT_EQ(shown[1], std::make_pair(TMessageKind::Information, std::string("Hallo")));
  EXPECT_FALSE(MessageBoxOpen());
}

}  // namespace

}  // namespace travenel
