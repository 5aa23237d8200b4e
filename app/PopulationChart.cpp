#include "travenel/app/PopulationChart.h"

#include "travenel/chart/rchart.h"

namespace travenel {

const char* const kPopulationChartCaption = "rot : Angelagerte Agenten  ||  grün : Freie Agenten";

namespace {

constexpr int kAxisFontPixels = 11;

struct TStoredAxis {
  bool Visible;
  int CaptionPosX, CaptionPosY;
  TAlignment CaptionAlignment;
  TScaleUnitAnchor CaptionAnchor;
  TColor ColorScale;
};

// The values every axis of the form shares, then its own, in declared order.
void LoadAxis(TScaleProps& p, const TStoredAxis& a) {
  p.SetCaptionPosX(a.CaptionPosX);
  p.SetCaptionPosY(a.CaptionPosY);
  p.SetCaptionAlignment(a.CaptionAlignment);
  p.SetCaptionAnchor(a.CaptionAnchor);
  p.SetColorScale(a.ColorScale);
  TDTLabel& d = p.DateFormat();
  d.SetTimeFormat(tfHHMMSS);
  d.SetDateSeparator('-');
  d.SetTimeSeparator(':');
  d.SetYearLength(ylYYYY);
  d.SetMonthName(true);
  d.SetDateOrder(doDDMMYY);
  d.SetDateForTime(dtOnePerDay);
  p.SetDecPlaces(-2);
  TFont font;
  font.SetName("Tahoma");
  font.SetHeight(kAxisFontPixels);
  font.SetColor(clWindowText);
  p.SetFont(font);
  p.SetLogarithmic(false);
  p.SetLabelType(ftNum);
  p.SetMinTicks(3);
  p.SetMinRange(1e-10);
  p.SetRangeHigh(1.0);
  p.SetShortTicks(true);
  p.SetScalePos(0);
  p.SetVisible(a.Visible);
}

}  // namespace

void LoadRChart1(TRChart& c) {
  LoadControl(c, [&c] {
    c.SetBounds(416, 112, 369, 320);
    c.SetAllocSize(1000);
    c.SetAutoRedraw(true);
    c.SetRRim(20);
    c.SetTRim(20);
    c.SetBRim(40);
    c.BackGroundImg().SetIncludePath(false);
    c.BackGroundImg().SetFillMode(bfStretch);
    c.SetClassDefault(0);
    c.SetGridStyle(gsNone);
    c.SetIsometric(false);
    TJointLayers& j = c.JointLayers();
    j.SetL01xControlledBy(1);
    j.SetL01yControlledBy(1);
    j.SetL02xControlledBy(2);
    j.SetL02yControlledBy(2);
    c.SetCaption(kPopulationChartCaption);
    c.SetCaptionPosX(0);
    c.SetCaptionPosY(-16);
    c.SetCaptionAlignment(taRightJustify);
    c.SetCaptionAnchorHoriz(cahChartRight);
    c.SetCaptionAnchorVert(cavChartTop);
    for (int n = 1; n <= 4; ++n) {
      TCrossHair& h = c.CrossHair(n);
      h.SetColor(clBlack);
      h.SetLayer(n);
      h.SetMode(chOff);
      h.SetLineType(psSolid);
      h.SetLineWid(1);
    }
    c.SetMouseAction(maNone);
    c.SetMouseCursorFixed(true);
    LoadAxis(c.Scale1X(), {true, 0, 22, taCenter, uaSclCenter, clBlack});
    c.Scale1X().SetScaleLocation(slBottom);
    LoadAxis(c.Scale1Y(), {true, 0, -16, taLeftJustify, uaSclTopLft, clBlack});
    c.Scale1Y().SetScaleLocation(slLeft);
    LoadAxis(c.Scale2X(), {false, 10, 100, taCenter, uaSclCenter, clMaroon});
    c.Scale2X().SetScaleLocation(slBottom);
    LoadAxis(c.Scale2Y(), {false, 10, 100, taRightJustify, uaSclTopLft, clMaroon});
    c.Scale2Y().SetScaleLocation(slLeft);
    c.SetShadowStyle(ssFlying);
    c.SetShadowColor(clGrayText);
    c.SetShadowBakColor(clBtnFace);
    c.SetTextFontStyle({});
    c.SetTextBkStyle(tbClear);
    c.SetTextBkColor(clWhite);
    c.SetTextAlignment(taCenter);
  });
}

}  // namespace travenel
