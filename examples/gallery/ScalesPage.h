// ScalesPage: the gallery's first page, the chart library's stand-alone scales
// side by side — every scale type, linear, logarithmic, clock-time and date/time
// axes, user texts and inscripts, every frame style and both colour schemes —
// and a panel of all data marks.
#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "travenel/chart/Scale.h"
#include "travenel/examples/gallery/MarkPanel.h"

namespace travenel {

class TScalesPage : public QWidget {
 public:
  explicit TScalesPage(QWidget* parent = nullptr);
  ~TScalesPage() override;

  // The page shows everything at this size.
  QSize sizeHint() const override { return size_; }
  QSize minimumSizeHint() const override { return size_; }

 private:
  // A stand-alone scale at (x, y) of size w x h with a caption, shown in the window.
  TScale& AddScale(int x, int y, int w, int h, const std::string& caption);
  void AddHeading(int x, int y, const QString& text);

  // Captions of horizontal scales sit under the base line (sctXB) or above it
  // (sctXT), those of vertical scales above the axis.
  static void PlaceCaption(TScale& s);
  // Finishes a scale's set-up: its caption placed, then one paint with every
  // setting in.
  static void Done(TScale& s);

  void BuildScaleTypes();
  void BuildLinearAndLog();
  void BuildTimeAndDate();
  void BuildLabels();
  void BuildFrames();
  void BuildMarks();

  std::string fontName_;
  std::vector<std::unique_ptr<TScale>> scales_;
  std::unique_ptr<TMarkPanel> marks_;
  QSize size_;
};

}  // namespace travenel
