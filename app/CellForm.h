// TForm1: the main window of Travenel — the world's panel, the run controls,
// the step count, the population chart, and the timer whose every tick runs
// one step of the world and feeds the chart.
#pragma once

#include <QFrame>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>

#include "travenel/app/Image.h"
#include "travenel/app/RunRecord.h"
#include "travenel/app/StartOptions.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace travenel {
class QtHost;
class TRChart;
class TTimer;
class TWorld;

class TForm1 : public QWidget {
 public:
  // Builds the controls as the stored form has them, then runs FormCreate.
  explicit TForm1(QWidget* parent = nullptr);
  // Started from a command line: its numbers prefill the boxes, and with a
  // seed the first setup uses it and each new setup the next one.
  explicit TForm1(const TStartOptions& start, QWidget* parent = nullptr);
  // Runs FormDestroy.
  ~TForm1() override;

  // Event handlers. The controls and the timer call them through RunHandler,
  // which reports an exception in a message box; tests may call them directly.
  void B_setupClick();
  void B_stopClick();
  void Timer1Timer();

  // getters:
  TWorld& World() { return *world_; }
  std::int32_t Columns() const { return columns_; }
  std::int32_t Rows() const { return rows_; }
  std::int32_t StepCount() const { return stepCount_; }
  double PrevAttached() const { return prevAttached_; }
  double PrevFree() const { return prevFree_; }
  // The counts of the running setup so far, as "Daten speichern…" saves them.
  const TRunRecord& Record() const { return record_; }
  // The seed of the running setup, when the window was started with one.
  std::optional<std::uint32_t> SetupSeed() const { return setupSeed_; }

  // The controls, named as in the form.
  QFrame* ZeichenPanel() const { return zeichenPanel_.get(); }
  TImage* DrawingImage() const { return drawingImage_.get(); }
  QPushButton* B_setup() const { return bSetup_; }
  QPushButton* B_stop() const { return bStop_; }
  QLineEdit* Edit_thresh() const { return editThresh_; }
  QLineEdit* Edit_anzAg() const { return editAnzAg_; }
  QLabel* Lbl_TextSwelle() const { return lblTextSwelle_; }
  QLabel* Lbl_TextAnzahl() const { return lblTextAnzahl_; }
  QLabel* lbl_Steps() const { return lblSteps_; }
  QLabel* lbl_timesteps() const { return lblTimesteps_; }
  TRChart& RChart1() const { return *rChart1_; }
  QtHost* RChart1Host() const { return rChart1Host_; }
  TTimer* Timer1() const { return timer1_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void CreateControls();
  void FormCreate();
  void FormDestroy();
  void CreateDrawingImage();
  // The grid part lives in the world; the window adds the chart's part.
  void ResetWorld();
  void CreateAgents(std::int32_t n);
  // Shows what was drawn on DrawingImage since the last tick.
  void PresentWorld();
  void SetStepsCaption(const QString& text);
  // The caption, and the setup's seed after it when there is one.
  void ShowTitle();
  // The timer's tick: holds while a report is open, so reports never stack.
  void OnTimer();

  // The population chart's feed.
  // Window creation: horizontal range 0 .. 100, vertical 0 .. agentCount, show.
  void ChartCreated(std::int32_t agentCount);
  // World reset, after the cells are repainted: clear the items, move to (0, 0).
  void ChartWorldReset();
  // New setup, before the world reset: vertical range high := agentCount.
  void ChartNewSetup(std::int32_t agentCount);
  // Each tick, after the step count is shown: the red and the green segment of
  // this step (from PrevAttached / PrevFree), until the horizontal range ends.
  void ChartFeed();

  // Owned here (and shown as children) so that FormDestroy can release them
  // in its order; the other controls belong to the window as Qt children.
  std::unique_ptr<QFrame> zeichenPanel_;
  std::unique_ptr<TImage> drawingImage_;
  QPushButton* bSetup_ = nullptr;
  QPushButton* bStop_ = nullptr;
  QLineEdit* editThresh_ = nullptr;
  QLineEdit* editAnzAg_ = nullptr;
  QLabel* lblTextSwelle_ = nullptr;
  QLabel* lblTextAnzahl_ = nullptr;
  QLabel* lblSteps_ = nullptr;
  QLabel* lblTimesteps_ = nullptr;
  // The chart goes after its host (the host must not outlive what it shows).
  std::unique_ptr<TRChart> rChart1_;
  QtHost* rChart1Host_ = nullptr;
  TTimer* timer1_ = nullptr;

  std::unique_ptr<TWorld> world_;
  TStartOptions start_;
  std::optional<std::uint32_t> setupSeed_;
  TRunRecord record_;
  std::int32_t columns_ = 0;
  std::int32_t rows_ = 0;
  std::int32_t stepCount_ = 0;
  double prevAttached_ = 0;
  double prevFree_ = 0;
  bool outerSizeFixed_ = false;
};

}  // namespace travenel
