// InteractivePage: two charts to try the chart's mouse actions on. A selector
// sets the MouseAction of both; each chart has cross-hairs of every mode and
// text labels to drag; the second chart shows the first one's items at a
// closer zoom. Read-outs show the world position under the mouse and what the
// charts report after a zoom or pan, a moved cross-hair or label, and the
// rubber band. The wheel zooms (a switch), and Back and Home walk the zoom
// history of both charts.
#pragma once

#include <string>

#include "travenel/examples/gallery/ChartKit.h"

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;

namespace travenel {

class TInteractivePage : public gallery::TGalleryPage {
 public:
  explicit TInteractivePage(QWidget* parent = nullptr);
  ~TInteractivePage() override;

 private:
  // Each part starts at y and returns the y below it.
  int BuildControls(int y);
  int BuildCharts(int y);
  int BuildReadOuts(int y);
  // The wheel switch and the Back and Home buttons of both charts.
  QHBoxLayout* BuildZoomRow(QWidget* box);
  void ConnectCharts();

  void ApplyMouseAction(int index);
  void ApplyLayerFollows();
  void RestoreRanges();
  void AddMarksThroughUser();
  void ReportMouse(TCustomRChart& chart, bool inChart, double x, double y);
  void ReportZoomPan(TCustomRChart& chart);
  void ReportCrossHair(TCustomRChart& chart, TCrossHair& crossHair);
  void ReportTextLabel(TCustomRChart& chart, TTextLabel& label);
  void ReportRubberBand();
  std::string NameOf(const TCustomRChart& chart) const;

  gallery::TChartShelf shelf_;
  TRChart* owner_ = nullptr;  // has the items
  TRChart* user_ = nullptr;   // shows the owner's items
  QComboBox* mode_ = nullptr;
  QCheckBox* follows_[2] = {};
  QLabel* hint_ = nullptr;
  QLabel* mouse_ = nullptr;
  QLabel* zoomPan_ = nullptr;
  QLabel* moved_ = nullptr;
  QLabel* band_ = nullptr;
  int zoomPanCount_ = 0;
  int marksAdded_ = 0;
};

}  // namespace travenel
