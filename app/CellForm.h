// TForm1: the main window of Travenel.
#pragma once

#include <QWidget>

class TForm1 : public QWidget {
 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  bool outerSizeFixed_ = false;
};
