#include "travenel/app/CellForm.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <cmath>
#include <stdexcept>

#include "travenel/app/KeepRun.h"
#include "travenel/app/PopulationChart.h"
#include "travenel/chart/rchart.h"
#include "travenel/gfx/Color.h"
#include "travenel/sim/World.h"
#include "travenel/ui/Application.h"
#include "travenel/ui/Convert.h"
#include "travenel/ui/QtHost.h"
#include "travenel/ui/Timer.h"

namespace travenel {

namespace {

constexpr int kOuterWidth = 800;
constexpr int kOuterHeight = 468;
constexpr int kFontPixels = 10;
// lbl_Steps is right-aligned: its right edge stays here, just left of ": timesteps".
constexpr int kStepsRight = 501;
constexpr int kLabelTop = 80;
constexpr int kTimerIntervalMs = 1;
// The chart's series.
constexpr TColor kAttachedColor = 0x0000FF;  // red
constexpr TColor kFreeColor = 0x008000;      // green

QColor QtColor(TColor c) { return QColor::fromRgb(ColorToPixel(c)); }

std::string TextOf(const QLineEdit* edit) { return edit->text().toStdString(); }

template <class TWidget>
TWidget* Place(TWidget* w, const char* name, int left, int top, int width, int height) {
  w->setObjectName(QString::fromLatin1(name));
  w->setGeometry(left, top, width, height);
  return w;
}

// Labels size themselves to their text (one line in the label's font).
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setContentsMargins(0, 0, 0, 0);
  label->setIndent(0);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const QFontMetrics fm(label->font());
  label->setGeometry(left, top, fm.horizontalAdvance(text), fm.height());
  return label;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : TForm1(TStartOptions{}, parent) {}

TForm1::TForm1(const TStartOptions& start, QWidget* parent)
    : QWidget(parent), start_(start), setupSeed_(start.Seed) {
  CreateControls();
  RunHandler([this] { FormCreate(); });
}

TForm1::~TForm1() {
  RunHandler([this] { FormDestroy(); });
}

void TForm1::CreateControls() {
  ShowTitle();
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QtColor(clBtnFace));
  pal.setColor(QPalette::WindowText, QtColor(clWindowText));
  setPalette(pal);
  setAutoFillBackground(true);
  QFont f(QString::fromStdString(RegisterAppFonts()));
  f.setPixelSize(kFontPixels);
  setFont(f);
  // Until the window manager tells us its frame, the client area takes the
  // whole outer size (as it does where there is no frame at all).
  resize(kOuterWidth, kOuterHeight);

  zeichenPanel_ = std::make_unique<QFrame>(this);
  Place(zeichenPanel_.get(), "ZeichenPanel", 8, 9, 404, 404);
  zeichenPanel_->setFrameStyle(QFrame::Box | QFrame::Plain);
  zeichenPanel_->setLineWidth(1);

  bSetup_ = Place(new QPushButton(QStringLiteral("new Setup"), this), "B_setup", 428, 8, 75, 25);
  bStop_ = Place(new QPushButton(QStringLiteral("start / stop"), this), "B_stop", 508, 8, 75, 25);
  editThresh_ = Place(new QLineEdit(QStringLiteral("74"), this), "Edit_thresh", 588, 48, 41, 20);
  editAnzAg_ = Place(new QLineEdit(QStringLiteral("1000"), this), "Edit_anzAg", 588, 72, 41, 20);
  // QString::number writes plain digits whatever the locale.
  if (start_.Threshold) editThresh_->setText(QString::number(*start_.Threshold));
  if (start_.Agents) editAnzAg_->setText(QString::number(*start_.Agents));
  lblTextSwelle_ = MakeLabel(this, "Lbl_TextSwelle", QStringLiteral(": Schwellenwert"), 632, 56);
  lblTextAnzahl_ =
      MakeLabel(this, "Lbl_TextAnzahl", QStringLiteral(": Anzahl Agenten für Setup"), 632, 80);
  lblSteps_ = MakeLabel(this, "lbl_Steps", QString(), 0, kLabelTop);
  lblSteps_->setAlignment(Qt::AlignRight | Qt::AlignTop);
  SetStepsCaption(QStringLiteral("lbl_Steps"));
  lblTimesteps_ = MakeLabel(this, "lbl_timesteps", QStringLiteral(": timesteps"), 504, kLabelTop);
  rChart1_ = std::make_unique<TRChart>();
  rChart1_->SetName("RChart1");
  LoadRChart1(*rChart1_);
  rChart1Host_ = new QtHost(*rChart1_, this);
  rChart1Host_->setObjectName(QStringLiteral("RChart1"));

  AddKeepMenu(this, zeichenPanel_.get(), rChart1Host_, record_, RunHandler);

  // The panel takes no focus but keeps its place at the head of the order.
  setTabOrder(zeichenPanel_.get(), bSetup_);
  setTabOrder(bSetup_, editThresh_);
  setTabOrder(editThresh_, bStop_);
  setTabOrder(bStop_, rChart1Host_);
  setTabOrder(rChart1Host_, editAnzAg_);

  connect(bSetup_, &QPushButton::clicked, this, [this] { RunHandler([this] { B_setupClick(); }); });
  connect(bStop_, &QPushButton::clicked, this, [this] { RunHandler([this] { B_stopClick(); }); });

  // 1 ms as stored; the timer ticks at its floor of 10 ms, the pace the run
  // was made to be watched at.
  timer1_ = new TTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->OnTimer = [this] { OnTimer(); };
  timer1_->SetInterval(kTimerIntervalMs);
  // Enabled as stored: the run starts as soon as the message loop runs.
  timer1_->SetEnabled(true);
}

void TForm1::FormCreate() {
  // The grid fills the panel: 404 / 10 = 40.4 rounds to 40 (halves to even).
  columns_ = static_cast<std::int32_t>(std::nearbyint(zeichenPanel_->width() / 10.0));
  rows_ = static_cast<std::int32_t>(std::nearbyint(zeichenPanel_->height() / 10.0));
  CreateDrawingImage();
  // The world's cells are made and reset (and painted) as it is built.
  world_ = std::make_unique<TWorld>(columns_, rows_, &drawingImage_->Canvas());
  if (setupSeed_) world_->SetFixedSeed(*setupSeed_);
  drawingImage_->OnRescaled = [this] { world_->Redraw(); };
  prevAttached_ = 0;
  prevFree_ = 0;
  ChartWorldReset();
  const std::int32_t n = StrToInt(TextOf(editAnzAg_));
  CreateAgents(n);
  // Qt paints every widget through its backing store: the panel is
  // double-buffered as long as nothing asks to paint on screen directly.
  zeichenPanel_->setAttribute(Qt::WA_PaintOnScreen, false);
  stepCount_ = 0;
  ChartCreated(n);
  PresentWorld();
}

void TForm1::FormDestroy() {
  timer1_->SetEnabled(false);
  // The world draws on the image's surface: take it away before the image goes.
  if (world_) world_->SetCanvas(nullptr);
  drawingImage_.reset();
  zeichenPanel_.reset();
  if (world_) world_->ReleaseAgents();
  // The cells go with the window.
}

void TForm1::CreateDrawingImage() {
  drawingImage_ = std::make_unique<TImage>(zeichenPanel_.get());
  drawingImage_->setObjectName(QStringLiteral("DrawingImage"));
  // Top-left of the panel's client area, as large as the panel itself (the
  // part beyond the client area is hidden by the panel's border).
  const QPoint client = zeichenPanel_->contentsRect().topLeft();
  drawingImage_->setGeometry(client.x(), client.y(), zeichenPanel_->width(),
                             zeichenPanel_->height());
  drawingImage_->show();
}

void TForm1::ResetWorld() {
  prevAttached_ = 0;
  prevFree_ = 0;
  world_->ResetWorld();
  ChartWorldReset();
}

void TForm1::CreateAgents(std::int32_t n) {
  world_->CreateAgents(n);
  record_.Start(n, world_->SetupSeed());
}

void TForm1::PresentWorld() {
  if (drawingImage_) drawingImage_->update();
}

void TForm1::SetStepsCaption(const QString& text) {
  lblSteps_->setText(text);
  const QFontMetrics fm(lblSteps_->font());
  const int width = fm.horizontalAdvance(text);
  lblSteps_->setGeometry(kStepsRight - width, kLabelTop, width, fm.height());
}

void TForm1::ShowTitle() {
  QString title = QStringLiteral("Travenel by Move ");
  if (setupSeed_) title += QStringLiteral(" (Startwert %1)").arg(*setupSeed_);
  setWindowTitle(title);
}

void TForm1::OnTimer() {
  // A tick that comes while a report is open (its box runs a message loop of
  // its own) waits: the run is held, and reports never stack.
  if (MessageBoxOpen() || !world_) return;
  RunHandler([this] { Timer1Timer(); });
}

void TForm1::Timer1Timer() {
  // No agent was free: the run pauses after this tick, which still completes.
  if (!world_->MoveAgents()) timer1_->SetEnabled(false);
  PresentWorld();
  std::int32_t threshold = 0;
  try {
    threshold = StrToInt(TextOf(editThresh_));
  } catch (const EConvertError&) {
    // This step ends after the movement pass. Pausing lets the report show
    // once and the user correct the text; "start / stop" then resumes.
    timer1_->SetEnabled(false);
    throw;
  }
  world_->UpdateAttachment(threshold);
  ++stepCount_;
  record_.Add(threshold, world_->AttachedCount(), world_->FreeCount());
  SetStepsCaption(QString::number(stepCount_));
  ChartFeed();
}

void TForm1::B_setupClick() {
  // Read and check the number before anything is released: a typo or a
  // number too large must leave the running setup as it is.
  const std::int32_t n = StrToInt(TextOf(editAnzAg_));
  if (n > TWorld::kMaxAgents) throw std::length_error(TWorld::TooManyAgentsMessage());
  if (setupSeed_) {
    // The next seed (after the last one, the first again), so that a run
    // seen here is `travenel --seed` with the seed in the title bar.
    setupSeed_ = *setupSeed_ + 1u;
    world_->SetFixedSeed(*setupSeed_);
    ShowTitle();
  }
  stepCount_ = 0;  // the label keeps its text until the next tick
  world_->ReleaseAgents();
  ChartNewSetup(n);
  ResetWorld();
  CreateAgents(n);
  PresentWorld();
  timer1_->SetEnabled(true);
}

void TForm1::B_stopClick() {
  timer1_->SetEnabled(!timer1_->Enabled());
}

// --- the population chart ---------------------------------------------------------

void TForm1::ChartCreated(std::int32_t agentCount) {
  TRChart& c = *rChart1_;
  c.Scale1X().SetRangeLow(0);
  c.Scale1X().SetRangeHigh(100);
  c.Scale1Y().SetRangeLow(0);
  c.Scale1Y().SetRangeHigh(agentCount);
  c.ShowItems();
}

void TForm1::ChartWorldReset() {
  rChart1_->ClearItems();
  rChart1_->MoveToPoint(0, 0);
}

void TForm1::ChartNewSetup(std::int32_t agentCount) {
  rChart1_->Scale1Y().SetRangeHigh(agentCount);
}

void TForm1::ChartFeed() {
  TRChart& c = *rChart1_;
  // Steps 1 .. 99: the horizontal range ends at 100.
  if (stepCount_ >= c.Scale1X().RangeHigh()) return;
  // Selecting layer 1 repaints the chart with every segment so far.
  c.SetActiveLayer(1);
  c.SetDataColor(kAttachedColor);
  const std::int32_t attached = world_->AttachedCount(), free = world_->FreeCount();
  c.AddLine(stepCount_ - 1, prevAttached_, stepCount_, attached);
  prevAttached_ = attached;
  // The chart has no layer 3: this selects nothing and repaints nothing.
  c.SetActiveLayer(3);
  c.SetDataColor(kFreeColor);
  c.AddLine(stepCount_ - 1, prevFree_, stepCount_, free);
  prevFree_ = free;
}

void TForm1::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (outerSizeFixed_) return;
  outerSizeFixed_ = true;
  // The outer size is 800 x 468: take the frame off the client area.
  const QSize frame = frameGeometry().size() - geometry().size();
  if (frame.width() > 0 || frame.height() > 0)
    resize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
}

}  // namespace travenel
