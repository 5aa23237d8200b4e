#include "travenel/examples/gallery/LargeDataPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QMouseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

#include "travenel/chart/RChartWidget.h"
#include "travenel/chart/ScaleWidget.h"
#include "travenel/chart/rchart_paintcache.h"
#include "travenel/ui/QtHost.h"

namespace travenel {

using namespace gallery;

namespace {

constexpr int kPageHeight = 620;
constexpr int kScaleHeight = 44;
constexpr int kSizes[] = {1000, 100000, 1000000, 10000000};
constexpr int kStartSize = 2;     // a million
constexpr int kFeedPoints = 500;  // per tick of the live feed
constexpr int kFeedIntervalMs = 40;
constexpr int kTimedRepaints = 20;
// Pan frames the read-out takes the median of.
constexpr std::size_t kPanFrames = 60;
constexpr TColor kWalkColor = 0xA05010;

// The signal's value at step x: a slow wave with noise that wanders and is
// pulled back towards it (an Ornstein-Uhlenbeck walk), inside 0 .. 1000.
double Step(std::mt19937& rng, double noise) {
  static std::normal_distribution<double> step(0, 3);
  return std::clamp(noise * 0.99 + step(rng), -400.0, 400.0);
}
double Value(double x, double noise) {
  return std::clamp(500 + 280 * std::sin(x / 40000.0) + noise, 0.0, 1000.0);
}

}  // namespace

TLargeDataPage::TLargeDataPage(QWidget* parent) : TGalleryPage(parent) {
  auto* box = new QWidget(this);
  box->setGeometry(kMargin, kMargin, kPageWidth - 2 * kMargin, kPageHeight - 2 * kMargin);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);

  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("Points in one polyline:"), box));
  size_ = new QComboBox(box);
  for (int n : kSizes) size_->addItem(QLocale(QLocale::English).toString(n));
  row->addWidget(size_);
  auto* wheel = new QCheckBox(QStringLiteral("Wheel zooms"), box);
  wheel->setChecked(true);
  auto* back = new QPushButton(QStringLiteral("Back"), box);
  auto* home = new QPushButton(QStringLiteral("Home"), box);
  auto* live = new QCheckBox(QStringLiteral("Live feed (+%1 points a tick)").arg(kFeedPoints), box);
  auto* time = new QPushButton(QStringLiteral("Time a repaint"), box);
  auto* save = new QPushButton(QStringLiteral("Save picture"), box);
  for (QWidget* w : std::initializer_list<QWidget*>{wheel, back, home, live, time, save})
    row->addWidget(w);
  row->addStretch(1);
  column->addLayout(row);

  chart_ = new RChartWidget(box);
  SetUpChart(chart_->Chart(), QRect(0, 0, 600, 400),
             "RChartWidget in a layout: drag to pan, wheel to zoom", [](TRChart& c) {
               c.SetRRim(20);
               c.SetMouseAction(maPan);
               c.SetMouseCursorFixed(false);
               c.SetWheelZoom(true);
               c.Scale1X().SetCaption("step");
               c.Scale1Y().SetCaption("value");
               // Both visible axes are in the chart's font, so the caption
               // needs no handler to get it back, and a repaint with nothing
               // changed can reuse the composed axes.
               c.OnScalesRendered = nullptr;
             });
  column->addWidget(chart_, 1);
  scale_ = new ScaleWidget(box);
  scale_->setFixedHeight(kScaleHeight);
  column->addWidget(new QLabel(QStringLiteral("ScaleWidget, following the chart's x range:"), box));
  column->addWidget(scale_);
  report_ = new QLabel(box);
  report_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  column->addWidget(report_);

  feed_ = new QTimer(this);
  feed_->setInterval(kFeedIntervalMs);
  TRChart& c = chart_->Chart();
  connect(size_, &QComboBox::currentIndexChanged, this, [this](int i) { Fill(kSizes[i]); });
  connect(wheel, &QCheckBox::toggled, this, [&c](bool on) { c.SetWheelZoom(on); });
  connect(back, &QPushButton::clicked, this, [&c] { c.ZoomBack(); });
  connect(home, &QPushButton::clicked, this, [&c] { c.ZoomHome(); });
  connect(live, &QCheckBox::toggled, this,
          [this](bool on) { on ? feed_->start() : feed_->stop(); });
  connect(feed_, &QTimer::timeout, this, [this] { Feed(); });
  connect(time, &QPushButton::clicked, this, [this] { MeasureRepaint(); });
  connect(save, &QPushButton::clicked, this, [this] { SavePicture(); });
  // A pan frame: from the mouse move reaching the chart to the end of its
  // repaint, which OnZoomPan follows. The mouse reaches the widget that hosts
  // the chart inside the RChartWidget.
  chart_->installEventFilter(this);
  for (QWidget* host : chart_->findChildren<QWidget*>()) host->installEventFilter(this);
  c.OnZoomPan = [this](TCustomRChart&) {
    if (moveStart_) NotePanFrame();
    FollowRange();
  };

  size_->setCurrentIndex(kStartSize);
  Fill(kSizes[kStartSize]);
  SetPageSize(kPageWidth, kPageHeight);
}

bool TLargeDataPage::eventFilter(QObject* watched, QEvent* event) {
  // Only a drag pans.
  if (event->type() == QEvent::MouseMove &&
      (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton) &&
      (watched == chart_ || chart_->isAncestorOf(qobject_cast<QWidget*>(watched))))
    moveStart_ = std::chrono::steady_clock::now();
  return TGalleryPage::eventFilter(watched, event);
}

void TLargeDataPage::NotePanFrame() {
  const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - *moveStart_;
  moveStart_.reset();
  panFrames_.push_back(took.count());
  if (panFrames_.size() > kPanFrames) panFrames_.erase(panFrames_.begin());
  std::vector<double> sorted = panFrames_;
  std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
  report_->setText(QStringLiteral("%1 items: pan frame (mouse move and repaint) %2 µs, "
                                  "median of the last %3: %4 µs")
                       .arg(chart_->Chart().ItemCount())
                       .arg(took.count(), 0, 'f', 0)
                       .arg(sorted.size())
                       .arg(sorted[sorted.size() / 2], 0, 'f', 0));
}

void TLargeDataPage::Fill(int points) {
  TRChart& c = chart_->Chart();
  panFrames_.clear();
  // Room for the walk and a long live feed (as far as the list's ceiling allows).
  c.SetMaxItems(std::clamp(points * 2, 100000, TRChartItemList::kMaxItemsCeiling));
  c.ClearItems();
  c.ClearZoomHistory();
  c.SetDataColor(kWalkColor);
  std::mt19937 rng(1);
  noise_ = 0;
  c.MoveToPoint(0, Value(0, noise_));
  for (int i = 1; i < points; ++i) c.LineTo(i, Value(i, noise_ = Step(rng, noise_)));
  nextX_ = points;
  c.SetLayerRanges(1, 0, 0, points, 1000);
  FollowRange();
  MeasureRepaint();
}

void TLargeDataPage::Feed() {
  TRChart& c = chart_->Chart();
  static std::mt19937 rng(2);
  if (c.ItemCount() + kFeedPoints > c.MaxItems()) {
    report_->setText(
        QStringLiteral("The list holds MaxItems = %1 items: the feed stops.").arg(c.MaxItems()));
    feed_->stop();
    return;
  }
  for (int i = 0; i < kFeedPoints; ++i, ++nextX_)
    c.LineTo(nextX_, Value(nextX_, noise_ = Step(rng, noise_)));
  c.ShowItems();
  report_->setText(QStringLiteral("%1 items").arg(c.ItemCount()));
}

void TLargeDataPage::MeasureRepaint() {
  TRChart& c = chart_->Chart();
  c.Paint();  // maps what is new
  // Microseconds per paint: drawn anew every time (as after a pan or a
  // zoom), or reusing what the last paint drew (nothing changed).
  const auto timed = [&c](bool reuse) {
    SetPaintCacheEnabled(c, reuse);
    c.Paint();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kTimedRepaints; ++i) c.Paint();
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
    return took.count() / kTimedRepaints;
  };
  const auto full = timed(false), kept = timed(true);
  report_->setText(QStringLiteral("%1 items: a full repaint takes %2 µs (the polyline is drawn "
                                  "with a few segments a pixel column, the same pixels); "
                                  "a repaint with nothing changed %3 µs")
                       .arg(c.ItemCount())
                       .arg(full, 0, 'f', 0)
                       .arg(kept, 0, 'f', 1));
}

void TLargeDataPage::FollowRange() {
  const TRChart& c = chart_->Chart();
  TScale& s = scale_->Scale();
  // The axis under the chart area.
  s.SetMarginLeft(c.LRim());
  s.SetMarginRight(c.RRim());
  s.SetRangeLow(c.Scale1X().RangeLow());
  s.SetRangeHigh(c.Scale1X().RangeHigh());
}

void TLargeDataPage::SavePicture() {
  const QString path = QDir::temp().filePath(QStringLiteral("travenel-large-data.png"));
  try {
    chart_->Chart().SaveToFile(path.toStdString());
    report_->setText(QStringLiteral("Saved to %1").arg(path));
  } catch (const std::exception& e) {
    report_->setText(QString::fromStdString(e.what()));
  }
}

}  // namespace travenel
