// TScale: properties, range rules, the mapping to pixels and the tick list.
#include "travenel/chart/Scale.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

#include "travenel/chart/math1.h"

namespace travenel {

namespace {

constexpr int kCreatedSize = 400;
constexpr int kMinDecPlaces = -3;
constexpr int kMaxDecPlaces = 12;
constexpr int kMinMinTicks = 2;
constexpr int kMaxMinTicks = 10;
constexpr long double kPixelLimit = 2147483647.0L;

// The value that a bound set equal to the other one pushes that one to: one
// unit further. Where one unit is below the resolution of the value (beyond
// 2^53) the next representable value is taken, so the bounds really differ.
double PulledApart(double v) {
  const double w = v + 1;
  if (w != v) return w;
  const double up = std::nextafter(v, std::numeric_limits<double>::infinity());
  if (std::isfinite(up)) return up;
  return std::nextafter(v, -std::numeric_limits<double>::infinity());
}

// ln(v) - ln(ref), for positive values, without the cancellation of two nearly
// equal logarithms: bounds a few units in the last place apart are as many
// pixels apart as their ratio says. The ratio of two doubles fits extended
// precision, and near 1 their difference is exact.
long double LogRatio(long double v, long double ref) {
  const long double r = v / ref;
  if (r > 0.5L && r < 2) return std::log1p((v - ref) / ref);
  return std::log(r);
}

}  // namespace

std::string DateTimeMessageText(TDateTimeMessage m) {
  switch (m) {
    case dmInvalidScale: return "invalid DateTime scale";
    case dmBelowOneSecond: return "DateTime range is below 1 second";
    default: return {};
  }
}

std::vector<std::string> DateTimeMessageLines(TDateTimeMessage m) {
  switch (m) {
    case dmInvalidScale: return {"invalid", "DateTime", "scale"};
    case dmBelowOneSecond: return {"DateTime", "range is", "below 1", "second"};
    default: return {};
  }
}

TScale::TScale(bool embedded) : TControl(Kind::Graphic), dateFormat_(std::make_unique<TDTLabel>()) {
  if (embedded) {
    embedded_ = true;
    SetWindowImageRetained(false);
  }
  dateFormat_->OnChange = [this](TDTLabel&) { Redraw(); };
  Font().OnChange = [this] { Redraw(); };
  SetBounds(Left(), Top(), kCreatedSize, kCreatedSize);
  UpdateMapping();
  paintSuppressed_ = embedded;
}

TScale::~TScale() = default;

// --- setters ----------------------------------------------------------------

void TScale::SetCaption(const std::string& v) {
  axis_.Caption = v;
  Redraw();
}

void TScale::SetCaptionPosX(int v) {
  axis_.CaptionPosX = v;
  Redraw();
}

void TScale::SetCaptionPosY(int v) {
  axis_.CaptionPosY = v;
  Redraw();
}

void TScale::SetCaptionAlignment(TAlignment v) {
  axis_.CaptionAlignment = v;
  Redraw();
}

void TScale::SetCaptionAnchor(TScaleUnitAnchor v) {
  axis_.CaptionAnchor = v;
  Redraw();
}

void TScale::SetColorBackGnd(TColor v) {
  if (v == look_.ColorBackGnd) return;
  look_.ColorBackGnd = v;
  Redraw();
}

void TScale::SetColorScale(TColor v) {
  if (v == axis_.ColorScale) return;
  axis_.ColorScale = v;
  Redraw();
}

void TScale::SetColorScheme(TColorScheme v) {
  if (v == look_.ColorScheme) return;
  look_.ColorScheme = v;
  if (v == csSystem) {
    look_.FrameShadowColor = clBtnShadow;
    look_.FrameHighlightColor = clBtnHighlight;
  } else {
    look_.FrameShadowColor = clGray;
    look_.FrameHighlightColor = clWhite;
  }
  Redraw();
}

void TScale::SetDateFormat(const TDTLabel& v) {
  // Assign fires the label's OnChange, which is wired to Redraw.
  dateFormat_->Assign(v);
}

void TScale::SetDecPlaces(int v) {
  axis_.DecPlaces = std::clamp(v, kMinDecPlaces, kMaxDecPlaces);
  UpdateMapping();
  Redraw();
}

void TScale::SetFrameStyle(TFrameStyle v) {
  if (v == look_.FrameStyle) return;
  look_.FrameStyle = v;
  Redraw();
}

void TScale::SetLabelType(TFigType v) {
  axis_.LabelType = v;
  if (v == ftDateTime) {
    // Date/time axes are linear; the mapping follows the flag.
    if (axis_.Logarithmic) {
      axis_.Logarithmic = false;
      UpdateMapping();
    }
  } else if (v == ftTime) {
    axis_.DecPlaces = 4;  // as it stands: no clamping, no remapping
  }
  Redraw();
}

void TScale::SetLogarithmic(bool v) {
  if (!v || initialising_ ||
      (axis_.RangeLow >= kMinLogBound && axis_.RangeHigh >= kMinLogBound &&
       axis_.LabelType != ftDateTime))
    axis_.Logarithmic = v;
  UpdateMapping();
  Redraw();
}

void TScale::SetMarginTop(int v) {
  look_.MarginTop = std::max(v, 0);
  UpdateMapping();
  Redraw();
}

void TScale::SetMarginBottom(int v) {
  look_.MarginBottom = std::max(v, 0);
  UpdateMapping();
  Redraw();
}

void TScale::SetMarginLeft(int v) {
  look_.MarginLeft = std::max(v, 0);
  UpdateMapping();
  Redraw();
}

void TScale::SetMarginRight(int v) {
  look_.MarginRight = std::max(v, 0);
  UpdateMapping();
  Redraw();
}

void TScale::SetMinTicks(int v) {
  axis_.MinTicks = std::clamp(v, kMinMinTicks, kMaxMinTicks);
  Redraw();
}

void TScale::SetRangeLow(double v) {
  if (!std::isfinite(v)) return;  // no mapping or pixel may ever see NaN or infinity
  axis_.RangeLow = v;
  if (axis_.RangeHigh == v) axis_.RangeHigh = PulledApart(v);
  UpdateMapping();
  Redraw();
}

void TScale::SetRangeHigh(double v) {
  if (!std::isfinite(v)) return;
  axis_.RangeHigh = v;
  // RangeHigh + 1, not - 1: the scale runs backwards from then on.
  if (axis_.RangeLow == v) axis_.RangeLow = PulledApart(v);
  UpdateMapping();
  Redraw();
}

void TScale::SetShortTicks(bool v) {
  if (v == axis_.ShortTicks) return;
  axis_.ShortTicks = v;
  Redraw();
}

void TScale::SetShowBaseLine(bool v) {
  look_.ShowBaseLine = v;
  Redraw();
}

void TScale::SetScaleInscript(const std::string& v) {
  axis_.ScaleInscript = v;
  Redraw();
}

void TScale::SetScaleType(TScaleType v) {
  if (v == axis_.ScaleType) return;
  axis_.ScaleType = v;
  UpdateMapping();
  Redraw();
}

void TScale::SetTransparent(bool v) {
  look_.Transparent = v;
  Redraw();
}

void TScale::SetUserTickText(const std::string& v) {
  axis_.UserTickText = v;
  Redraw();
}

void TScale::SetAxis(const TScaleAxis& v) {
  const double lo = axis_.RangeLow, hi = axis_.RangeHigh;
  axis_ = v;
  if (!std::isfinite(axis_.RangeLow) || !std::isfinite(axis_.RangeHigh)) {
    axis_.RangeLow = lo;
    axis_.RangeHigh = hi;
  }
  axis_.MinTicks = std::clamp(axis_.MinTicks, kMinMinTicks, kMaxMinTicks);
  axis_.DecPlaces = std::clamp(axis_.DecPlaces, kMinDecPlaces, kMaxDecPlaces);
  UpdateMapping();
  Redraw();
}

// --- control ----------------------------------------------------------------

void TScale::SetBounds(int left, int top, int width, int height) {
  const TRect before = BoundsRect();
  TControl::SetBounds(left, top, width, height);
  if (BoundsRect() == before) return;
  UpdateMapping();
  Redraw();
}

void TScale::SetVisible(bool visible) {
  if (visible == Visible()) return;
  TControl::SetVisible(visible);
  Redraw();
}

void TScale::Loaded() {
  TControl::Loaded();
  UpdateMapping();
  initialising_ = false;
  Redraw();
}

// --- mapping ----------------------------------------------------------------

void TScale::UpdateMapping() {
  if (Loading() || axis_.RangeHigh == axis_.RangeLow) return;
  // The logarithmic mapping is anchored at the bound on the first pixel; any
  // other leaves ValueToPixel's logarithmic branch at ln v * factor + offset.
  const auto linear = [this] {
    logRefValue_ = 1;
    logRefPixel_ = scaleOffset_;
  };
  const long double lo = axis_.RangeLow;
  const long double hi = axis_.RangeHigh;
  const bool logPossible = lo > 0 && hi > 0;
  if (!Vertical()) {
    const long double length =
        static_cast<long double>(Width()) - look_.MarginLeft - look_.MarginRight - 1;
    if (length <= 0) {
      scaleFactor_ = 0;
      scaleOffset_ = Width() / 2.0L;
      linear();
    } else if (!axis_.Logarithmic) {
      scaleFactor_ = length / (hi - lo);
      scaleOffset_ = look_.MarginLeft - lo * scaleFactor_;
      linear();
    } else if (logPossible) {
      scaleFactor_ = length / LogRatio(hi, lo);
      scaleOffset_ = look_.MarginLeft - std::log(lo) * scaleFactor_;
      logRefValue_ = lo;
      logRefPixel_ = look_.MarginLeft;
    }
  } else {
    const long double length =
        static_cast<long double>(Height()) - look_.MarginTop - look_.MarginBottom - 1;
    if (length <= 0) {
      scaleFactor_ = 0;
      scaleOffset_ = Height() / 2.0L;
      linear();
    } else if (!axis_.Logarithmic) {
      scaleFactor_ = length / (lo - hi);
      scaleOffset_ = look_.MarginTop - hi * scaleFactor_;
      linear();
    } else if (logPossible) {
      scaleFactor_ = length / LogRatio(lo, hi);
      scaleOffset_ = look_.MarginTop - std::log(hi) * scaleFactor_;
      logRefValue_ = hi;
      logRefPixel_ = look_.MarginTop;
    }
  }
}

int TScale::ValueToPixel(double v) const {
  long double p;
  if (!axis_.Logarithmic) {
    p = scaleFactor_ * v + scaleOffset_;
  } else if (v > kMinLogBound) {
    p = LogRatio(v, logRefValue_) * scaleFactor_ + logRefPixel_;
  } else {
    p = axis_.RangeHigh >= axis_.RangeLow ? 0 : Width();
  }
  if (std::isnan(p)) return 0;  // only from a NaN value; it has no place on the axis
  p = std::clamp(p, -kPixelLimit, kPixelLimit);
  return static_cast<int>(Nint(p));  // halves to even
}

double TScale::PixelToValue(int p) const {
  if (scaleFactor_ == 0) return axis_.RangeLow;
  if (!axis_.Logarithmic) return static_cast<double>((p - scaleOffset_) / scaleFactor_);
  return static_cast<double>(logRefValue_ * std::exp((p - logRefPixel_) / scaleFactor_));
}

// --- tick list --------------------------------------------------------------

double TScale::TickPosition(int i) const {
  if (i < 1 || i > numTicks_) return 0;
  return tickPositions_[static_cast<std::size_t>(i - 1)];
}

void TScale::RecordTick(double v) {
  if (numTicks_ < kTickListCapacity) tickPositions_[static_cast<std::size_t>(numTicks_++)] = v;
}

bool TScale::AddTick(TTickList& list, TScaleTick tick) {
  if (list.Ticks.size() >= static_cast<std::size_t>(kMaxTicksPerPass)) {
    list.Capped = true;
    return false;
  }
  if (std::isfinite(tick.Value)) list.Ticks.push_back(std::move(tick));
  return true;
}

TTickList TScale::TickLayout() const {
  if (axis_.LabelType == ftDateTime) return DateTimeTickLayout();
  if (axis_.LabelType == ftTime) {
    if (std::optional<TTickList> time = TimeTickLayout()) return std::move(*time);
  }
  return axis_.Logarithmic ? LogTickLayout() : LinearTickLayout();
}

const TTickList& TScale::PaintTicks() {
  // Compared where they are: building a key copies the axis's texts.
  const bool same = tickKey_ && tickKey_->Axis == axis_ &&
                    tickKey_->DateFormat == dateFormat_->Values() &&
                    tickKey_->Factor == scaleFactor_ && tickKey_->Offset == scaleOffset_;
  if (!same) {
    tickCache_ = TickLayout();
    tickKey_ = TTickCacheKey{axis_, dateFormat_->Values(), scaleFactor_, scaleOffset_};
  }
  numTicks_ = 0;
  tickPositions_.fill(0);
  for (const TScaleTick& t : tickCache_.Ticks)
    if (t.Recorded) RecordTick(t.Value);
  return tickCache_;
}

TTickList TScale::ComputeTicks() {
  numTicks_ = 0;
  tickPositions_.fill(0);
  TTickList list = TickLayout();
  for (const TScaleTick& t : list.Ticks)
    if (t.Recorded) RecordTick(t.Value);
  return list;
}

}  // namespace travenel
