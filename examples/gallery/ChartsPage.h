// ChartsPage: the gallery's page of charts — every item kind and mark, also
// drawn in black and white, text labels, logarithmic and date/time axes, the
// eight grid styles, the five standard layouts, both shadow styles and a tiled
// and a stretched background picture.
#pragma once

#include <memory>

#include "travenel/examples/gallery/BlackWhiteChart.h"
#include "travenel/examples/gallery/ChartKit.h"

namespace travenel {

class TChartsPage : public gallery::TGalleryPage {
 public:
  explicit TChartsPage(QWidget* parent = nullptr);
  ~TChartsPage() override;

 private:
  // Each section starts at y (its heading) and returns the y below it.
  int BuildItems(int y);
  int BuildLabelsAndAxes(int y);
  int BuildGridsShadowsAndPictures(int y);
  int BuildLayouts(int y);

  gallery::TChartShelf shelf_;
  std::unique_ptr<TBlackWhiteChart> blackWhite_;
};

}  // namespace travenel
