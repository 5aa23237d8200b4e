// ulxbase: what the chart and the scales share — the library's enumerations
// (their ordinals are stored with forms, so they never change), the date/time
// label settings TDTLabel, and the library's exception classes.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "travenel/gfx/Canvas.h"
#include "travenel/gfx/Color.h"

namespace travenel {

// Text alignment of captions.
enum TAlignment : std::uint8_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

enum TCaptionAnchorHoriz : std::uint8_t {
  cahControlLeft = 0,
  cahChartLeft = 1,
  cahChartCenter = 2,
  cahChartRight = 3,
  cahControlRight = 4
};
enum TCaptionAnchorVert : std::uint8_t {
  cavControlTop = 0,
  cavChartTop = 1,
  cavChartCenter = 2,
  cavChartBottom = 3,
  cavControlBottom = 4
};
enum TScaleLocationHoriz : std::uint8_t { slTop = 0, slBottom = 1 };
enum TScaleLocationVert : std::uint8_t { slLeft = 0, slRight = 1 };
enum GridStyleType : std::uint8_t {
  gsNone = 0,
  gsPoints = 1,
  gsVertLines = 2,
  gsHorizLines = 3,
  gsLines = 4,
  gsHorizDotLines = 5,
  gsVertDotLines = 6,
  gsDotLines = 7
};
enum TrcLayout : std::uint8_t {
  rcl_X1Bottom_Y1Left = 0,
  rcl_X1Bottom_Y2Left = 1,
  rcl_X1Bottom_Y2Both = 2,
  rcl_X2Bottom_Y2Left = 3,
  rcl_X2Both_Y2Both = 4
};
enum TTextBkg : std::uint8_t { tbClear = 0, tbSolid = 1 };
enum TScaleUnitAnchor : std::uint8_t { uaSclTopLft = 0, uaSclCenter = 1, uaSclBotRgt = 2 };
enum TBkgFill : std::uint8_t { bfSimple = 0, bfStretch = 1, bfTile = 2 };
enum TTxtLblMode : std::uint8_t {
  tlOff = 0,
  tlsimple = 1,
  tlBox = 2,
  tlUnderline = 3,
  tlShadow = 4
};
enum TColorScheme : std::uint8_t { csBWG = 0, csSystem = 1 };
enum TFigType : std::uint8_t {
  ftNoFigs = 0,
  ftNum = 1,
  ftTime = 2,
  ftDateTime = 3,
  ftUserText = 4
};
enum TScaleType : std::uint8_t { sctXB = 0, sctXT = 1, sctYL = 2, sctYR = 3 };
enum TYearLength : std::uint8_t { ylNone = 0, ylYY = 1, ylYYYY = 2 };
enum TDateOrder : std::uint8_t { doMMDDYY = 0, doDDMMYY = 1, doYYMMDD = 2 };
enum TDateForTime : std::uint8_t { dtNone = 0, dtOnePerChart = 1, dtOnePerDay = 2, dtAllTicks = 3 };
enum TShadowStyle : std::uint8_t { ssFlying = 0, ssBox = 1 };
enum TFrameStyle : std::uint8_t {
  fsNone = 0,
  fsSimple = 1,
  fsLowered = 2,
  fsRaised = 3,
  fsEmbossed = 4,
  fsEngraved = 5
};
enum TTimeFormat : std::uint8_t { tfHHMMSS = 0, tfHHhMM = 1, tfAMPM = 2 };
enum TMouseActMode : std::uint8_t {
  maNone = 0,
  maPan = 1,
  maPanHoriz = 2,
  maPanVert = 3,
  maRubberBand = 4,
  maZoom = 5,
  maZoomWind = 6,
  maZoomWindPos = 7,
  maZoomDrag = 8,
  maDragCrossH = 9,
  maDragLabel = 10,
  maRotate = 11,
  maRotAndZoom = 12,
  maRotXOnly = 13,
  maRotZOnly = 14
};
enum TCrossHMode : std::uint8_t { chOff = 0, chHoriz = 1, chVert = 2, chBoth = 3 };

// The library's exception: one message text.
class EUlxError : public std::runtime_error {
 public:
  explicit EUlxError(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// The chart's own exception class.
class EUlxRChartError : public EUlxError {
 public:
  explicit EUlxRChartError(const std::string& message) : EUlxError(message) {}
};

// The seven values of the date/time label settings, as one value.
struct TDTLabelValues {
  TTimeFormat TimeFormat = tfHHMMSS;
  char DateSeparator = '-';
  char TimeSeparator = ':';
  TYearLength YearLength = ylYYYY;
  bool MonthName = true;
  TDateOrder DateOrder = doDDMMYY;
  TDateForTime DateForTime = dtOnePerDay;

  bool operator==(const TDTLabelValues&) const = default;
};

// How date/time axis labels are written. Every setter stores its value and
// fires OnChange; TimeFormat and DateOrder fire on every assignment (a form
// writing the same value still asks for a repaint), the others only on a change.
class TDTLabel {
 public:
  TDTLabel() = default;
  TDTLabel(const TDTLabel&) = delete;
  TDTLabel& operator=(const TDTLabel&) = delete;

  // getters:
  TTimeFormat TimeFormat() const { return v_.TimeFormat; }
  char DateSeparator() const { return v_.DateSeparator; }
  char TimeSeparator() const { return v_.TimeSeparator; }
  TYearLength YearLength() const { return v_.YearLength; }
  bool MonthName() const { return v_.MonthName; }
  TDateOrder DateOrder() const { return v_.DateOrder; }
  TDateForTime DateForTime() const { return v_.DateForTime; }
  const TDTLabelValues& Values() const { return v_; }

  // setters:
  void SetTimeFormat(TTimeFormat v);
  void SetDateSeparator(char v);
  void SetTimeSeparator(char v);
  void SetYearLength(TYearLength v);
  void SetMonthName(bool v);
  void SetDateOrder(TDateOrder v);
  void SetDateForTime(TDateForTime v);

  // Takes over the seven values of `source`, then fires OnChange once.
  void Assign(const TDTLabel& source);
  // Takes over the values without firing OnChange (an owner copying a whole
  // settings value notifies once itself).
  void SetValuesQuietly(const TDTLabelValues& v) { v_ = v; }
  bool SameValues(const TDTLabel& other) const { return v_ == other.v_; }

  std::function<void(TDTLabel& sender)> OnChange;

 private:
  void Changed();

  TDTLabelValues v_;
};

// The values of a cross-hair, as one value.
struct TCrossHairValues {
  double PosX = 0;
  double PosY = 0;
  TColor Color = clBlack;
  int Layer = 1;
  TCrossHMode Mode = chOff;
  TPenStyle LineType = psSolid;
  int LineWid = 1;
};

// A cross-hair of the chart: a horizontal and/or vertical line through a point
// of a layer. Every setter stores its value unchecked and fires OnChange; the
// chart reads Layer through EffectiveLayer.
class TCrossHair {
 public:
  explicit TCrossHair(int number) { v_.Layer = number; }
  TCrossHair(const TCrossHair&) = delete;
  TCrossHair& operator=(const TCrossHair&) = delete;

  // getters:
  double PosX() const { return v_.PosX; }
  double PosY() const { return v_.PosY; }
  TColor Color() const { return v_.Color; }
  int Layer() const { return v_.Layer; }
  TCrossHMode Mode() const { return v_.Mode; }
  TPenStyle LineType() const { return v_.LineType; }
  int LineWid() const { return v_.LineWid; }
  // Layer as drawn: a value outside 1 .. 2 acts as the nearer of the two.
  int EffectiveLayer() const { return v_.Layer <= 1 ? 1 : 2; }

  // setters:
  void SetPosX(double v);
  void SetPosY(double v);
  void SetColor(TColor v);
  void SetLayer(int v);
  void SetMode(TCrossHMode v);
  void SetLineType(TPenStyle v);
  void SetLineWid(int v);
  // Takes over the values of another cross-hair, then fires OnChange once.
  void Assign(const TCrossHair& source);

  std::function<void(TCrossHair& sender)> OnChange;

 private:
  void Changed();

  TCrossHairValues v_;
};

// Sets a flag for the length of a scope (a paint in progress), and clears it
// when the scope ends, also when an event handler throws.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~TFlagScope() { flag_ = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& flag_;
};

// The library's message decoration: every message it raises is wrapped in a
// fixed leading and trailing text, so a report shows where it came from.
std::string DecorateMessage(const std::string& message);

}  // namespace travenel

// The frame and mark drawing routines of this unit live in their own file pair.
#include "travenel/chart/ulxbase_draw.h"
