// Scale: TScale, one axis — a numeric range laid along a line of pixels, with
// long and short ticks and their labels. It stands on a form by itself and is
// also the object behind each of the chart's four axes.
//
// The class keeps three jobs apart: the mapping of values to pixels
// (UpdateMapping, ValueToPixel), the tick layouts that produce a TTickList
// (values, long or short, label texts, in drawing order; Scale_linear.cpp,
// Scale_log.cpp, Scale_time.cpp, Scale_datetime.cpp), and the painting, which
// only places and draws what a tick list holds (Scale_paint.cpp,
// Scale_place.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "travenel/chart/Scale_labels.h"
#include "travenel/chart/ulxbase.h"
#include "travenel/gfx/Canvas.h"
#include "travenel/ui/Control.h"

namespace travenel {

class TScale;

using TScaleTickDrawnEvent =
    std::function<void(TScale& Sender, TCanvas& Canvas, TScaleType ScaleType, double CurrentTickPos,
                       int ChartX, int ChartY)>;
using TScaleRenderedEvent = std::function<void(TScale& Sender, TCanvas& Canvas)>;

// Which layout produced a tick list.
enum TTickPass : std::uint8_t { tpNone = 0, tpLinear, tpLog, tpTime, tpDateTime };

// What a date/time axis writes instead of ticks when it cannot lay them out.
enum TDateTimeMessage : std::uint8_t { dmNone = 0, dmInvalidScale, dmBelowOneSecond };
// The whole message ("invalid DateTime scale") for horizontal axes.
std::string DateTimeMessageText(TDateTimeMessage m);
// The message one word group per line ("invalid", "DateTime", "scale") for vertical axes.
std::vector<std::string> DateTimeMessageLines(TDateTimeMessage m);

// One tick as a layout produces it.
struct TScaleTick {
  double Value = 0;       // where it is drawn: ValueToPixel(Value)
  double EventValue = 0;  // the CurrentTickPos reported to OnScaleTickDrawn
  bool Long = false;      // long (major) or short (minor)
  bool Recorded = false;  // goes into TickPositions while the list has room
  std::string Label;      // text beside a long tick; empty: nothing written
  std::string DateText;   // date/time axes: the date written beside a time label
};

// The ticks of one drawing pass, in drawing order (the tick list and the tick
// event follow that order).
struct TTickList {
  TTickPass Pass = tpNone;
  // Whether OnScaleTickDrawn comes before the label of a long tick (vertical
  // linear passes and logarithmic passes) or after it (and after the date).
  bool EventBeforeLabel = false;
  // Time labels carry milliseconds (time passes with steps below a second).
  bool WithMilliseconds = false;
  TDateTimeMessage Message = dmNone;
  bool Capped = false;  // the pass stopped at kMaxTicksPerPass
  std::vector<TScaleTick> Ticks;
};

// What an axis shows: its type, range, ticks, labels and caption. The chart's
// axis property objects hold the same value, so handing an axis over to its
// scale is one assignment and a field added here cannot be left out.
struct TScaleAxis {
  TScaleType ScaleType = sctXB;
  double RangeLow = 0;
  double RangeHigh = 100;
  bool Logarithmic = false;
  TFigType LabelType = ftNum;
  int DecPlaces = -2;
  int MinTicks = 3;
  bool ShortTicks = true;
  std::string UserTickText;
  std::string ScaleInscript;
  std::string Caption;
  int CaptionPosX = 4;
  int CaptionPosY = 4;
  TAlignment CaptionAlignment = taCenter;
  TScaleUnitAnchor CaptionAnchor = uaSclTopLft;
  TColor ColorScale = clBlack;

  bool operator==(const TScaleAxis&) const = default;
};

// The rest of a scale's settings: where the axis lies in the control and how a
// stand-alone scale looks around it.
struct TScaleLook {
  int MarginTop = 20;
  int MarginBottom = 20;
  int MarginLeft = 20;
  int MarginRight = 20;
  bool ShowBaseLine = true;
  bool Transparent = false;
  TColor ColorBackGnd = clBtnFace;
  TColorScheme ColorScheme = csBWG;
  TFrameStyle FrameStyle = fsLowered;
  TColor FrameDarkColor = clBlack;
  TColor FrameShadowColor = clGray;
  TColor FrameHighlightColor = clWhite;

  bool operator==(const TScaleLook&) const = default;
};

// All that one paint of a scale reads besides the surface it draws on (its
// handlers aside): equal inputs draw equal pixels onto an equal surface and
// leave it in an equal state.
struct TScalePaintInputs {
  bool Draws = false;  // a paint draws at all (shown, not loading)
  TScaleAxis Axis;
  TScaleLook Look;
  TDTLabelValues DateFormat;
  TFontValues Font;
  int Width = 0, Height = 0;
  long double Factor = 0, Offset = 0, LogRefValue = 0, LogRefPixel = 0;
  const TCanvas* Target = nullptr;
  int TargetX = 0, TargetY = 0;
  bool operator==(const TScalePaintInputs&) const = default;
};

class TScale : public TControl {
 public:
  static constexpr int kTickListCapacity = 50;
  // No range, however odd, makes one pass produce more ticks than this.
  static constexpr int kMaxTicksPerPass = 10000;
  // Room a pass reserves at its start; few axes have more ticks.
  static constexpr int kTypicalTickCount = 64;
  // The smallest bound a logarithmic scale accepts.
  static constexpr double kMinLogBound = 1e-100;

  // An embedded scale (one of the chart's axes) is paint-suppressed and
  // embedded from the start and keeps no window image: it only ever draws on
  // the chart's surface.
  explicit TScale(bool embedded = false);
  ~TScale() override;

  // getters:
  const std::string& Caption() const { return axis_.Caption; }
  int CaptionPosX() const { return axis_.CaptionPosX; }
  int CaptionPosY() const { return axis_.CaptionPosY; }
  TAlignment CaptionAlignment() const { return axis_.CaptionAlignment; }
  TScaleUnitAnchor CaptionAnchor() const { return axis_.CaptionAnchor; }
  TColor ColorBackGnd() const { return look_.ColorBackGnd; }
  TColor ColorScale() const { return axis_.ColorScale; }
  TColorScheme ColorScheme() const { return look_.ColorScheme; }
  TDTLabel& DateFormat() { return *dateFormat_; }
  const TDTLabel& DateFormat() const { return *dateFormat_; }
  int DecPlaces() const { return axis_.DecPlaces; }
  TFrameStyle FrameStyle() const { return look_.FrameStyle; }
  TFigType LabelType() const { return axis_.LabelType; }
  bool Logarithmic() const { return axis_.Logarithmic; }
  int MarginTop() const { return look_.MarginTop; }
  int MarginBottom() const { return look_.MarginBottom; }
  int MarginLeft() const { return look_.MarginLeft; }
  int MarginRight() const { return look_.MarginRight; }
  int MinTicks() const { return axis_.MinTicks; }
  int NumTicks() const { return numTicks_; }
  double RangeLow() const { return axis_.RangeLow; }
  double RangeHigh() const { return axis_.RangeHigh; }
  bool ShortTicks() const { return axis_.ShortTicks; }
  bool ShowBaseLine() const { return look_.ShowBaseLine; }
  const std::string& ScaleInscript() const { return axis_.ScaleInscript; }
  TScaleType ScaleType() const { return axis_.ScaleType; }
  bool Transparent() const { return look_.Transparent; }
  const std::string& UserTickText() const { return axis_.UserTickText; }

  // setters (each repaints; those marked * recompute the mapping first):
  void SetCaption(const std::string& v);
  void SetCaptionPosX(int v);
  void SetCaptionPosY(int v);
  void SetCaptionAlignment(TAlignment v);
  void SetCaptionAnchor(TScaleUnitAnchor v);
  void SetColorBackGnd(TColor v);         // ignored if unchanged
  void SetColorScale(TColor v);           // ignored if unchanged
  void SetColorScheme(TColorScheme v);    // ignored if unchanged; sets the frame colours
  void SetDateFormat(const TDTLabel& v);  // copies the values
  void SetDecPlaces(int v);               // * clamped to -3 .. 12
  void SetFrameStyle(TFrameStyle v);      // ignored if unchanged
  // ftDateTime also turns Logarithmic off; ftTime also sets DecPlaces to 4.
  void SetLabelType(TFigType v);
  // * false always; true at once while Initialising, afterwards only for bounds
  // >= kMinLogBound on a scale that is not a date/time scale.
  void SetLogarithmic(bool v);
  void SetMarginTop(int v);     // * negative values become 0
  void SetMarginBottom(int v);  // *
  void SetMarginLeft(int v);    // *
  void SetMarginRight(int v);   // *
  void SetMinTicks(int v);      // clamped to 2 .. 10
  // * A bound set to the other bound's value pushes the other one away by 1
  // (RangeLow = RangeHigh gives RangeHigh = RangeLow + 1, RangeHigh = RangeLow
  // gives RangeLow = RangeHigh + 1). NaN and infinities are ignored.
  void SetRangeLow(double v);
  void SetRangeHigh(double v);
  void SetShortTicks(bool v);  // ignored if unchanged
  void SetShowBaseLine(bool v);
  void SetScaleInscript(const std::string& v);
  void SetScaleType(TScaleType v);  // * ignored if unchanged
  void SetTransparent(bool v);
  void SetUserTickText(const std::string& v);

  // The axis values as one.
  const TScaleAxis& Axis() const { return axis_; }
  // Takes over an axis value as it stands, without the setters' rules, except
  // that MinTicks and DecPlaces are kept in their ranges and non-finite bounds
  // keep the old ones; remaps and repaints.
  void SetAxis(const TScaleAxis& v);

  // Mapping of range values to pixels along the axis (x on horizontal types,
  // y on vertical ones; RangeHigh at the top).
  void UpdateMapping();
  int ValueToPixel(double v) const;
  // The value a pixel along the axis stands for (ValueToPixel's inverse,
  // before its rounding); RangeLow on an axis without length.
  double PixelToValue(int p) const;
  bool Vertical() const { return axis_.ScaleType == sctYL || axis_.ScaleType == sctYR; }

  // Entry i (1-based) of the tick list of the last pass; 0 outside 1 .. NumTicks.
  double TickPosition(int i) const;

  // The drawing pass's tick computation: empties the tick list, lays out the
  // ticks for LabelType (date/time; time, falling back to logarithmic or
  // linear; logarithmic; linear) and records them as a drawing pass does.
  TTickList ComputeTicks();
  // The same layout without touching the tick list.
  TTickList TickLayout() const;
  // The single layouts.
  TTickList LinearTickLayout() const;
  TTickList LogTickLayout() const;
  std::optional<TTickList> TimeTickLayout() const;  // none: the time layout declines
  TTickList DateTimeTickLayout() const;

  // The label of the n-th (1-based) long tick v of a linear pass, and of a
  // labelled logarithmic tick (mantissaOne: a decade tick; n: the label counter).
  std::string LinearLabel(long double v, int n) const;
  std::string LogLabel(long double v, bool mantissaOne, int n) const;

  // --- painting ---
  // Tick geometry in pixels from the base line towards the labels.
  static constexpr int kShortTickLength = 4;
  static constexpr int kLongTickLengthVertical = 6;
  static constexpr int kLongTickLengthHorizontal = 7;
  static constexpr int kVerticalLabelGap = 8;    // to the near edge of the text
  static constexpr int kHorizontalLabelGap = 7;  // to the near edge of the text
  // Horizontal labels keep this far from the control's left and right edges.
  static constexpr int kHorizontalLabelMargin = 2;
  // The lines of a date/time message on a vertical axis start this far from the base line.
  static constexpr int kMessageGap = 2;

  // What every setter calls: a transparent stand-alone scale asks its host to
  // repaint (the parent's background first, then Paint); any other paints at once.
  void Redraw();
  // While set, Paint draws nothing; clearing it repaints.
  void SetPaintSuppressed(bool v);
  // Paints even while suppressed, then restores the flag (the chart's axis pass).
  void PaintNow();
  // A scale of the chart: drawn only when the chart asks, never while hidden.
  void SetEmbedded(bool v);
  // Draws onto `surface` (none: the control's own image) with the control's
  // top-left at (offsetX, offsetY) on it. No repaint.
  void SetTarget(TCanvas* surface, int offsetX, int offsetY);
  // The paint handler: transparent straight onto the target, opaque composed
  // off-screen with background and frame and copied onto the target.
  void Paint() override;
  // The scale anew on a device canvas of its size (a scaled screen, a vector file).
  bool RenderOn(TCanvas& surface, bool screen) override;
  // Ticks, labels and caption of the scale on `surface`, the base line at
  // y = baseY (horizontal types) or x = baseX (vertical types).
  void DrawHorizontal(TCanvas& surface, int baseY);
  void DrawVertical(TCanvas& surface, int baseX);
  // Writes the label of the tick at pixel p of a horizontal scale whose base
  // line is at y: centred on the tick, kept inside the control's right edge
  // and never left of x = 2; above the line for sctXB, below it for sctXT.
  void PlaceHorizontalLabel(TCanvas& surface, int p, int y, const std::string& text);

  // What a paint of the scale would read now (see TScalePaintInputs).
  TScalePaintInputs PaintInputs() const;
  // The tick list (TickPositions, NumTicks) as a drawing pass leaves it, for a
  // pass whose pixels are already on the surface.
  void RecordPaintTicks() { PaintTicks(); }

  // Copies the settings of another scale as they are (no setter runs), then
  // repaints. Font, Embedded, Initialising and the two rendering events stay.
  void CopyFrom(const TScale& source);
  // Any other source cannot be copied: throws EUlxError.
  void CopyFrom(const TControl& source);
  void CopyTo(TControl& destination) const;

  // Internal state the painter and the chart work with.
  long double ScaleFactor() const { return scaleFactor_; }
  long double ScaleOffset() const { return scaleOffset_; }
  const std::array<double, kTickListCapacity>& TickPositions() const { return tickPositions_; }
  TColor FrameDarkColor() const { return look_.FrameDarkColor; }
  TColor FrameShadowColor() const { return look_.FrameShadowColor; }
  TColor FrameHighlightColor() const { return look_.FrameHighlightColor; }
  bool Initialising() const { return initialising_; }
  bool PaintSuppressed() const { return paintSuppressed_; }
  bool Embedded() const { return embedded_; }
  TCanvas* TargetCanvas() const { return targetCanvas_; }
  int TargetOffsetX() const { return targetOffsetX_; }
  int TargetOffsetY() const { return targetOffsetY_; }

  TScaleTickDrawnEvent OnScaleTickDrawn;
  TScaleRenderedEvent OnAfterScaleRendered;
  TScaleRenderedEvent OnBeforeScaleRendered;

  // reimplemented virtual methods:
  // A change of size or position remaps and repaints.
  void SetBounds(int left, int top, int width, int height) override;
  // End of loading from a form: remap, leave Initialising, repaint.
  void Loaded() override;
  // Showing or hiding repaints.
  void SetVisible(bool visible) override;

 protected:
  // SetBounds remaps and repaints itself; nothing more to do on a resize.
  void Resized() override {}

 private:
  // Direction of the range: +1 when RangeHigh > RangeLow, else -1.
  long double Direction() const { return axis_.RangeHigh > axis_.RangeLow ? 1 : -1; }
  // Appends the tick to the list unless it cannot be drawn (a value beyond
  // the 64-bit range) or the list is full; false when the pass must stop.
  static bool AddTick(TTickList& list, TScaleTick tick);
  // Appends a recorded value while the tick list has room.
  void RecordTick(double v);
  // The tick list of a drawing pass: the same as ComputeTicks, but laid out
  // again only when a value the layout depends on has changed since the last
  // pass, so repainting an unchanged axis formats no label.
  const TTickList& PaintTicks();

  // Paint's work; false when nothing was drawn (hidden, loading, suppressed,
  // or already painting).
  bool PaintScale();
  // The scale by ScaleType and its base line on `surface`, the control's
  // top-left at (ox, oy).
  void DrawScale(TCanvas& surface, int ox, int oy);
  // DrawHorizontal and DrawVertical.
  void DrawAxis(TCanvas& surface, bool vertical, int base);
  void DrawTickList(TCanvas& surface, const TTickList& list, bool vertical, int base);
  void DrawVerticalLabel(TCanvas& surface, int x, int p, const std::string& text, bool ownHeight);
  void DrawMessage(TCanvas& surface, TDateTimeMessage message, bool vertical, int base);
  void DrawCaption(TCanvas& surface, bool vertical, int base);

  TScaleAxis axis_;
  TScaleLook look_;
  std::unique_ptr<TDTLabel> dateFormat_;

  // Pixels per range unit (per unit of ln v when logarithmic) and the pixel of
  // value 0 (of ln v = 0), in extended precision so that even a range from
  // -1e308 to 1e308 has a finite span.
  long double scaleFactor_ = 1;
  long double scaleOffset_ = 0;
  // Logarithmic scales map v to logRefPixel_ + ln(v / logRefValue_) * factor
  // (the same line, without losing digits to ln hi - ln lo).
  long double logRefValue_ = 1;
  long double logRefPixel_ = 0;
  std::array<double, kTickListCapacity> tickPositions_{};
  int numTicks_ = 0;
  bool initialising_ = true;
  bool paintSuppressed_ = true;
  bool embedded_ = false;
  TCanvas* targetCanvas_ = nullptr;
  int targetOffsetX_ = 0;
  int targetOffsetY_ = 0;

  // Where the control's top-left lies on the surface being drawn on, during a
  // paint: the base line's coordinate carries the offset across the axis, and
  // positions along the axis get this one added.
  int drawOffsetX_ = 0;
  int drawOffsetY_ = 0;
  // A paint is running: a handler's change does not start another one inside it.
  bool painting_ = false;

  // What the last painted tick list was laid out from.
  struct TTickCacheKey {
    TScaleAxis Axis;
    TDTLabelValues DateFormat;
    long double Factor = 0;
    long double Offset = 0;
    bool operator==(const TTickCacheKey&) const = default;
  };
  std::optional<TTickCacheKey> tickKey_;
  TTickList tickCache_;
};

}  // namespace travenel
