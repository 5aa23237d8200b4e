// The window as it opens: controls, places, texts, order, timer and picture.
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>

#include "travenel/app/Image.h"
#include "travenel/ui/QtHost.h"
#include "window_fixture.h"

namespace travenel {

namespace {

using LayoutTest = WindowTest;

struct TControlCase {
  const char* Name;
  int Left, Top, Width, Height;
  const char* Text;
};

class ControlPlace : public WindowTest, public ::testing::WithParamInterface<TControlCase> {};

QString TextOf(QWidget* w) {
  if (auto* b = qobject_cast<QPushButton*>(w)) return b->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  return QString();
}

TEST_P(ControlPlace, SitsWhereTheFormPutsIt) {
  const TControlCase p = GetParam();
  auto* w = form->findChild<QWidget*>(QString::fromLatin1(p.Name));
  ASSERT_NE(w, nullptr) << p.Name;
  EXPECT_EQ(w->geometry(), QRect(p.Left, p.Top, p.Width, p.Height)) << p.Name;
  EXPECT_EQ(TextOf(w), QString::fromUtf8(p.Text)) << p.Name;
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlPlace,
                         ::testing::Values(TControlCase{"ZeichenPanel", 8, 9, 404, 404, ""},
                                           TControlCase{"B_setup", 428, 8, 75, 25, "new Setup"},
                                           TControlCase{"B_stop", 508, 8, 75, 25, "start / stop"},
                                           TControlCase{"Edit_thresh", 588, 48, 41, 20, "74"},
                                           TControlCase{"Edit_anzAg", 588, 72, 41, 20, "1000"},
                                           TControlCase{"RChart1", 416, 112, 369, 320, ""}));

struct TLabelCase {
  const char* Name;
  int Left, Top;
  const char* Text;
};

class LabelPlace : public WindowTest, public ::testing::WithParamInterface<TLabelCase> {};

TEST_P(LabelPlace, SizesItselfToItsText) {
  const TLabelCase p = GetParam();
  auto* label = form->findChild<QLabel*>(QString::fromLatin1(p.Name));
  ASSERT_NE(label, nullptr) << p.Name;
  const QString text = QString::fromUtf8(p.Text);
  EXPECT_EQ(label->text(), text);
  const QFontMetrics fm(label->font());
  EXPECT_EQ(label->geometry(), QRect(p.Left, p.Top, fm.horizontalAdvance(text), fm.height()))
      << p.Name;
}

INSTANTIATE_TEST_SUITE_P(Labels, LabelPlace,
                         ::testing::Values(TLabelCase{"Lbl_TextSwelle", 632, 56, ": Schwellenwert"},
                                           TLabelCase{"Lbl_TextAnzahl", 632, 80,
                                                      ": Anzahl Agenten für Setup"},
                                           TLabelCase{"lbl_timesteps", 504, 80, ": timesteps"}));

TEST_F(LayoutTest, WindowCaptionSizeFontAndColour) {
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Travenel by Move "));
  EXPECT_EQ(form->size(), QSize(800, 468));  // not shown: no frame to take off
  EXPECT_EQ(form->font().pixelSize(), 10);
  EXPECT_EQ(form->palette().color(QPalette::Window), QColor(0xF0, 0xF0, 0xF0));
  // Nothing but the chart is placed where the chart goes.
  for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w != form->RChart1Host()) {
      EXPECT_FALSE(w->geometry().intersects(QRect(416, 112, 369, 320)))
          << w->objectName().toStdString();
    }
}

TEST_F(LayoutTest, StepLabelKeepsItsRightEdge) {
  Pause();
  EXPECT_EQ(Steps(), "lbl_Steps");
  EXPECT_EQ(form->lbl_Steps()->geometry().right() + 1, 501);
  EXPECT_EQ(form->lbl_Steps()->geometry().top(), 80);
  form->Timer1Timer();
  EXPECT_EQ(Steps(), "1");
  EXPECT_EQ(form->lbl_Steps()->geometry().right() + 1, 501);
  const QFontMetrics fm(form->lbl_Steps()->font());
  EXPECT_EQ(form->lbl_Steps()->width(), fm.horizontalAdvance(QStringLiteral("1")));
  EXPECT_TRUE(form->lbl_Steps()->alignment() & Qt::AlignRight);
}

TEST_F(LayoutTest, TabOrder) {
  const std::vector<QWidget*> order{form->ZeichenPanel(), form->B_setup(),     form->Edit_thresh(),
                                    form->B_stop(),       form->RChart1Host(), form->Edit_anzAg()};
  std::vector<QWidget*> seen;
  QWidget* w = order.front();
  for (int i = 0; i < 100 && seen.size() < order.size(); ++i, w = w->nextInFocusChain())
    if (std::find(order.begin(), order.end(), w) != order.end()) seen.push_back(w);
  EXPECT_EQ(seen, order);
  EXPECT_EQ(form->ZeichenPanel()->focusPolicy(), Qt::NoFocus);
}

TEST_F(LayoutTest, TimerAsksForOneMillisecondTicksAtItsFloorAndRunsFromTheStart) {
  TTimer* t = form->Timer1();
  EXPECT_EQ(form->findChild<QObject*>(QStringLiteral("Timer1")), t);
  EXPECT_EQ(t->Interval(), 1);
  EXPECT_EQ(t->TickInterval(), 10);
  EXPECT_TRUE(t->Enabled());
  EXPECT_EQ(form->StepCount(), 0);
}

TEST_F(LayoutTest, WorldFillsThePanelAndIsDrawnOnTheImage) {
  EXPECT_EQ(form->Columns(), 40);
  EXPECT_EQ(form->Rows(), 40);
  TImage* image = form->DrawingImage();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->objectName(), QStringLiteral("DrawingImage"));
  EXPECT_EQ(image->parentWidget(), form->ZeichenPanel());
  // At the top-left of the panel's client area, as large as the panel.
  EXPECT_EQ(image->geometry(),
            QRect(form->ZeichenPanel()->contentsRect().topLeft(), QSize(404, 404)));
  ASSERT_TRUE(image->HasPicture());
  TCanvas& c = image->Canvas();
  EXPECT_EQ(c.Width(), 404);
  EXPECT_EQ(c.Height(), 404);
  EXPECT_EQ(c.Pixels(0, 0), 0x808080u);
  EXPECT_EQ(form->World().AgentCount(), 1000);
  // Placing draws every agent and repaints no cell, so every centre shows a disc.
  for (const TAgent& a : form->World().Agents()) {
    const TColor centre = c.Pixels(a.PositionX, a.PositionY);
    ASSERT_TRUE(centre == clBlack || centre == clWhite);
  }
}

TEST_F(LayoutTest, WindowShowsThePictureInsideThePanelBorder) {
  Pause();
  const QImage shot = form->grab().toImage();
  const QPoint origin = form->ZeichenPanel()->pos() + form->DrawingImage()->pos();
  TCanvas& c = form->DrawingImage()->Canvas();
  auto rgb = [](TColor t) { return QColor::fromRgb(RgbToPixel(t)).rgb(); };
  for (const TAgent& a : form->World().Agents())
    ASSERT_EQ(shot.pixel(origin + QPoint(a.PositionX, a.PositionY)),
              rgb(c.Pixels(a.PositionX, a.PositionY)));
  // Past the world the picture is white; its last two columns and rows lie
  // under the panel's border, which stays visible.
  EXPECT_EQ(shot.pixel(origin + QPoint(401, 200)), rgb(clWhite));
  EXPECT_EQ(shot.pixel(QPoint(8 + 403, 200)), rgb(clBlack));
  EXPECT_EQ(shot.pixel(QPoint(200, 9 + 403)), rgb(clBlack));
  EXPECT_EQ(shot.pixel(QPoint(8, 200)), rgb(clBlack));
}

}  // namespace

}  // namespace travenel
