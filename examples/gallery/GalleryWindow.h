// GalleryWindow: the gallery's window — a tab for each page (scales and
// marks, charts, the interactive charts, large data). The window takes the size of the
// page shown, as far as the screen allows; a page larger than that scrolls.
// Ctrl+Q closes it.
#pragma once

#include <QTabWidget>

namespace travenel {

class TGalleryWindow : public QTabWidget {
 public:
  static constexpr int kPageCount = 4;

  // Opens on page `page` (0 .. kPageCount - 1).
  explicit TGalleryWindow(int page = 0);

 private:
  // Sizes the window for page `index`: the other pages do not count.
  void FitPage(int index);
};

}  // namespace travenel
