// The chart's property objects: axis properties with their range rules, the
// background image and the text labels. (The joint layers are with the axes,
// in rchart_axes.cpp: a join moves ranges of the chart.)
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "travenel/chart/rchart_props.h"

namespace travenel {

namespace {

constexpr int kMinDecPlaces = -3;
constexpr int kMaxDecPlaces = 12;
// DecPlaces a clock-time axis starts with.
constexpr int kTimeDecPlaces = 4;

// A bound pushed MinRange away from a huge value stays finite.
double Finite(double v) { return std::clamp(v, -DBL_MAX, DBL_MAX); }

}  // namespace

// --- TScaleProps ----------------------------------------------------------------

TScaleProps::TScaleProps(TScaleType type) : dateFormat_(std::make_unique<TDTLabel>()) {
  axis_.ScaleType = type;
  axis_.RangeLow = 0;
  axis_.RangeHigh = 1;
  axis_.CaptionPosX = 0;
  axis_.CaptionPosY = 0;
  axis_.CaptionAlignment = taCenter;
  axis_.CaptionAnchor = uaSclTopLft;
  axis_.ColorScale = clBlack;
  // A change of the font is a change of the axis.
  font_.OnChange = [this] { Changed(); };
}

TScaleProps::~TScaleProps() = default;

void TScaleProps::Changed() {
  if (OnChange) OnChange(*this);
}

void TScaleProps::SetCaption(const std::string& v) {
  axis_.Caption = v;
  Changed();
}

void TScaleProps::SetCaptionPosX(int v) {
  axis_.CaptionPosX = v;
  Changed();
}

void TScaleProps::SetCaptionPosY(int v) {
  axis_.CaptionPosY = v;
  Changed();
}

void TScaleProps::SetCaptionAlignment(TAlignment v) {
  axis_.CaptionAlignment = v;
  Changed();
}

void TScaleProps::SetCaptionAnchor(TScaleUnitAnchor v) {
  axis_.CaptionAnchor = v;
  Changed();
}

void TScaleProps::SetColorScale(TColor v) {
  axis_.ColorScale = v;
  Changed();
}

void TScaleProps::SetDateFormat(const TDTLabel& v) {
  dateFormat_->SetValuesQuietly(v.Values());
  Changed();
}

void TScaleProps::SetDecPlaces(int v) {
  axis_.DecPlaces = std::clamp(v, kMinDecPlaces, kMaxDecPlaces);
  Changed();
}

void TScaleProps::SetFont(const TFont& v) {
  font_ = v;  // fires the font's notification, and with it OnChange
}

void TScaleProps::SetLabelType(TFigType v) {
  axis_.LabelType = v;
  if (v == ftDateTime) axis_.Logarithmic = false;
  if (v == ftTime) axis_.DecPlaces = kTimeDecPlaces;
  Changed();
}

void TScaleProps::SetLogarithmic(bool v) {
  if (!v || loading_ ||
      (axis_.RangeLow >= kMinLogBound && axis_.RangeHigh >= kMinLogBound &&
       axis_.LabelType != ftDateTime))
    axis_.Logarithmic = v;
  Changed();
}

void TScaleProps::SetMinTicks(int v) {
  axis_.MinTicks = v;
  Changed();
}

void TScaleProps::SetMinRange(double v) {
  if (!(v > kMinLogBound) || !std::isfinite(v)) return;
  minRange_ = v;
  if (std::fabs(axis_.RangeHigh - axis_.RangeLow) >= v) return;
  // Widened about the centre (summed in extended precision: no overflow).
  const long double c = (static_cast<long double>(axis_.RangeHigh) + axis_.RangeLow) / 2;
  axis_.RangeLow = Finite(static_cast<double>(c - v / 2.0L));
  axis_.RangeHigh = Finite(static_cast<double>(c + v / 2.0L));
  Changed();
}

void TScaleProps::SetRangeLow(double v) {
  // Not a number or infinite: no axis can show it; the range stays.
  if (std::isfinite(v)) {
    if (std::fabs(axis_.RangeHigh - v) < minRange_) {
      axis_.RangeLow = v;
      axis_.RangeHigh = Finite(v + minRange_);
    } else if (!(axis_.Logarithmic && v < kMinLogBound)) {
      axis_.RangeLow = v;
    }
  }
  Changed();
}

void TScaleProps::SetRangeHigh(double v) {
  if (std::isfinite(v)) {
    if (std::fabs(axis_.RangeLow - v) < minRange_) {
      axis_.RangeHigh = v;
      axis_.RangeLow = Finite(v - minRange_);
    } else if (!(axis_.Logarithmic && v < kMinLogBound)) {
      axis_.RangeHigh = v;
    }
  }
  Changed();
}

void TScaleProps::SetShortTicks(bool v) {
  axis_.ShortTicks = v;
  Changed();
}

void TScaleProps::SetScaleInscript(const std::string& v) {
  axis_.ScaleInscript = v;
  Changed();
}

void TScaleProps::SetScalePos(int v) {
  scalePos_ = v;
  Changed();
}

void TScaleProps::SetUserTickText(const std::string& v) {
  axis_.UserTickText = v;
  Changed();
}

void TScaleProps::SetVisible(bool v) {
  visible_ = v;
  Changed();
}

void TScaleProps::SetRangeDirect(double low, double high) {
  axis_.RangeLow = low;
  axis_.RangeHigh = high;
}

void TScaleProps::Assign(const TScaleProps& source) {
  if (&source == this) return;
  const TScaleType type = axis_.ScaleType;  // the location's forms copy it
  axis_ = source.axis_;
  axis_.ScaleType = type;
  minRange_ = source.minRange_;
  scalePos_ = source.scalePos_;
  visible_ = source.visible_;
  auto notify = std::move(font_.OnChange);
  font_ = source.font_;
  font_.OnChange = std::move(notify);
  dateFormat_->SetValuesQuietly(source.dateFormat_->Values());
}

void TScalePropsHoriz::SetScaleLocation(TScaleLocationHoriz v) {
  location_ = v;
  SetScaleType(v == slTop ? sctXB : sctXT);
  Changed();
}

void TScalePropsHoriz::Assign(const TScalePropsHoriz& source) {
  TScaleProps::Assign(source);
  location_ = source.location_;
  SetScaleType(source.ScaleType());
}

void TScalePropsVert::SetScaleLocation(TScaleLocationVert v) {
  location_ = v;
  SetScaleType(v == slLeft ? sctYR : sctYL);
  Changed();
}

void TScalePropsVert::Assign(const TScalePropsVert& source) {
  TScaleProps::Assign(source);
  location_ = source.location_;
  SetScaleType(source.ScaleType());
}

// --- TBakGndImg -------------------------------------------------------------------

std::string FileNamePart(const std::string& path) {
  const std::size_t cut = path.find_last_of("/\\:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

void TBakGndImg::Changed() {
  if (OnChange) OnChange(*this);
}

void TBakGndImg::SetName(const std::string& v) {
  name_ = includePath_ ? v : FileNamePart(v);
  Changed();
}

void TBakGndImg::SetIncludePath(bool v) {
  includePath_ = v;
  if (!v) name_ = FileNamePart(name_);
  Changed();
}

void TBakGndImg::SetFillMode(TBkgFill v) {
  fillMode_ = v;
  Changed();
}

void TBakGndImg::Assign(const TBakGndImg& source) {
  if (&source == this) return;
  includePath_ = source.includePath_;
  fillMode_ = source.fillMode_;
  name_ = source.name_;
}

// --- TTextLabel -------------------------------------------------------------------

TTextLabel::TTextLabel(int number, const TFont& font) : number_(number), font_(font) {
  font_.OnChange = [this] { Changed(); };
}

void TTextLabel::Changed() {
  if (OnChange) OnChange(*this);
}

void TTextLabel::SetPosX(double v) {
  posX_ = v;
  Changed();
}

void TTextLabel::SetPosY(double v) {
  posY_ = v;
  Changed();
}

void TTextLabel::SetLayer(int v) {
  if (v != 1 && v != 2) return;
  layer_ = v;
  Changed();
}

void TTextLabel::SetAttachToData(bool v) {
  attachToData_ = v;
  Changed();
}

void TTextLabel::SetColorBkg(TColor v) {
  colorBkg_ = v;
  Changed();
}

void TTextLabel::SetColorBorder(TColor v) {
  colorBorder_ = v;
  Changed();
}

void TTextLabel::SetColorShadow(TColor v) {
  colorShadow_ = v;
  Changed();
}

void TTextLabel::SetShadowDx(int v) {
  shadowDx_ = v;
  Changed();
}

void TTextLabel::SetShadowDy(int v) {
  shadowDy_ = v;
  Changed();
}

void TTextLabel::SetTransparent(bool v) {
  transparent_ = v;
  Changed();
}

void TTextLabel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Changed();
}

void TTextLabel::SetFont(const TFont& v) {
  font_ = v;  // the font's notification fires OnChange
}

void TTextLabel::SetMode(TTxtLblMode v) {
  mode_ = v;
  Changed();
}

void TTextLabel::SetCaption(const std::string& v) {
  caption_ = v;
  Changed();
}

}  // namespace travenel
