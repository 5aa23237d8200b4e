// A main window for each test, with message boxes recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "travenel/app/CellForm.h"
#include "travenel/sim/World.h"
#include "travenel/ui/Application.h"
#include "travenel/ui/Timer.h"

namespace travenel {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousSink_ = SetMessageSink([this](TMessageKind, const std::string& text) {
      messages.push_back(text);
      if (onMessage) onMessage();
    });
    form = std::make_unique<TForm1>();
  }
  void TearDown() override {
    form.reset();
    SetMessageSink(previousSink_);
  }

  // Ticks only when the test says so.
  void Pause() { form->Timer1()->SetEnabled(false); }
  bool Running() const { return form->Timer1()->Enabled(); }
  void Click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
  void SetText(QLineEdit* e, const char* text) { e->setText(QString::fromUtf8(text)); }
  std::string Steps() const { return form->lbl_Steps()->text().toStdString(); }
  // A new setup from a fixed seed, then paused.
  void SeededSetup(std::uint32_t seed) {
    form->World().SetFixedSeed(seed);
    Click(form->B_setup());
    Pause();
  }

  struct TSnapshot {
    std::vector<std::int32_t> Xs, Ys;
    std::vector<bool> Marks;
    std::int32_t Steps;
    bool Running;
    bool operator==(const TSnapshot&) const = default;
  };
  TSnapshot Snapshot() const {
    TSnapshot s;
    TWorld& w = form->World();
    for (const TAgent& a : w.Agents()) {
      s.Xs.push_back(a.PositionX);
      s.Ys.push_back(a.PositionY);
    }
    for (std::int32_t r = 0; r < w.Rows(); ++r)
      for (std::int32_t c = 0; c < w.Columns(); ++c) s.Marks.push_back(w.Cells(c, r).Occupied);
    s.Steps = form->StepCount();
    s.Running = Running();
    return s;
  }

  std::unique_ptr<TForm1> form;
  std::vector<std::string> messages;
  std::function<void()> onMessage;

 private:
  TMessageSink previousSink_;
};

}  // namespace travenel
