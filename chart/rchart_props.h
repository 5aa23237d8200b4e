// rchart_props: the property objects that hang off the chart — the axis
// properties of its four axes, the joint layers, the background image and the
// text labels. Each stores its values and tells its chart through OnChange.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "travenel/chart/Scale.h"
#include "travenel/chart/ulxbase.h"
#include "travenel/gfx/Font.h"

namespace travenel {

class TCustomRChart;

// One axis of a chart layer. Its values (TScaleAxis) are what the chart hands
// over to the axis's scale object; MinRange, ScalePos and the loading flag act
// here only.
class TScaleProps {
 public:
  // The smallest value a logarithmic axis accepts as a bound.
  static constexpr double kMinLogBound = 1e-100;

  explicit TScaleProps(TScaleType type);
  virtual ~TScaleProps();
  TScaleProps(const TScaleProps&) = delete;
  TScaleProps& operator=(const TScaleProps&) = delete;

  // getters:
  const std::string& Caption() const { return axis_.Caption; }
  int CaptionPosX() const { return axis_.CaptionPosX; }
  int CaptionPosY() const { return axis_.CaptionPosY; }
  TAlignment CaptionAlignment() const { return axis_.CaptionAlignment; }
  TScaleUnitAnchor CaptionAnchor() const { return axis_.CaptionAnchor; }
  TColor ColorScale() const { return axis_.ColorScale; }
  TDTLabel& DateFormat() { return *dateFormat_; }
  const TDTLabel& DateFormat() const { return *dateFormat_; }
  int DecPlaces() const { return axis_.DecPlaces; }
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  bool Logarithmic() const { return axis_.Logarithmic; }
  TFigType LabelType() const { return axis_.LabelType; }
  int MinTicks() const { return axis_.MinTicks; }
  double MinRange() const { return minRange_; }
  double RangeLow() const { return axis_.RangeLow; }
  double RangeHigh() const { return axis_.RangeHigh; }
  bool ShortTicks() const { return axis_.ShortTicks; }
  const std::string& ScaleInscript() const { return axis_.ScaleInscript; }
  int ScalePos() const { return scalePos_; }
  const std::string& UserTickText() const { return axis_.UserTickText; }
  bool Visible() const { return visible_; }

  // setters (each fires OnChange unless noted):
  void SetCaption(const std::string& v);
  void SetCaptionPosX(int v);
  void SetCaptionPosY(int v);
  void SetCaptionAlignment(TAlignment v);
  void SetCaptionAnchor(TScaleUnitAnchor v);
  void SetColorScale(TColor v);
  void SetDateFormat(const TDTLabel& v);  // takes over the seven values
  void SetDecPlaces(int v);               // clamped to -3 .. 12
  void SetFont(const TFont& v);           // copies the attributes
  // ftDateTime also sets Logarithmic false, ftTime DecPlaces 4.
  void SetLabelType(TFigType v);
  // False always; true while loading, afterwards only for bounds >= 1e-100 on
  // an axis that is not a date/time axis. Fires OnChange in every case.
  void SetLogarithmic(bool v);
  void SetMinTicks(int v);
  // Ignored (no OnChange) at or below 1e-100; otherwise stored, and a range
  // narrower than it is widened about its centre (with OnChange).
  void SetMinRange(double v);
  // A bound closer than MinRange to the other one pushes that one away to
  // exactly MinRange; on a logarithmic axis bounds below 1e-100 are ignored.
  // OnChange fires in every case.
  void SetRangeLow(double v);
  void SetRangeHigh(double v);
  void SetShortTicks(bool v);
  void SetScaleInscript(const std::string& v);
  void SetScalePos(int v);
  void SetUserTickText(const std::string& v);
  void SetVisible(bool v);

  // Takes over all values of another axis (a whole-object write); no OnChange.
  void Assign(const TScaleProps& source);

  // What the chart works with.
  const TScaleAxis& Axis() const { return axis_; }
  TScaleType ScaleType() const { return axis_.ScaleType; }
  bool Horizontal() const { return axis_.ScaleType == sctXB || axis_.ScaleType == sctXT; }
  // Set from construction until the chart has finished loading from its form.
  bool LoadingFlag() const { return loading_; }
  void ClearLoadingFlag() { loading_ = false; }
  // The range as it stands, without the setters' rules and without OnChange
  // (layer ranges, joins and the mouse set it so).
  void SetRangeDirect(double low, double high);

  std::function<void(TScaleProps& sender)> OnChange;

 protected:
  void SetScaleType(TScaleType t) { axis_.ScaleType = t; }
  void Changed();

 private:
  TScaleAxis axis_;
  double minRange_ = 1e-10;
  int scalePos_ = 0;
  bool visible_ = false;
  bool loading_ = true;
  TFont font_;
  std::unique_ptr<TDTLabel> dateFormat_;
};

class TScalePropsHoriz : public TScaleProps {
 public:
  explicit TScalePropsHoriz(TScaleType type) : TScaleProps(type) {}
  TScaleLocationHoriz ScaleLocation() const { return location_; }
  // slTop draws the axis as sctXB (labels above the line), slBottom as sctXT.
  void SetScaleLocation(TScaleLocationHoriz v);
  void Assign(const TScalePropsHoriz& source);

 private:
  TScaleLocationHoriz location_ = slBottom;
};

class TScalePropsVert : public TScaleProps {
 public:
  explicit TScalePropsVert(TScaleType type) : TScaleProps(type) {}
  TScaleLocationVert ScaleLocation() const { return location_; }
  // slLeft draws the axis as sctYR (labels left of the line), slRight as sctYL.
  void SetScaleLocation(TScaleLocationVert v);
  void Assign(const TScalePropsVert& source);

 private:
  TScaleLocationVert location_ = slLeft;
};

// Which layer controls each axis of each layer. A layer that controls its own
// axis is free on it; a join is one level deep.
class TJointLayers {
 public:
  explicit TJointLayers(TCustomRChart& chart) : chart_(chart) {}
  TJointLayers(const TJointLayers&) = delete;
  TJointLayers& operator=(const TJointLayers&) = delete;

  int L01xControlledBy() const { return x_[0]; }
  int L01yControlledBy() const { return y_[0]; }
  int L02xControlledBy() const { return x_[1]; }
  int L02yControlledBy() const { return y_[1]; }
  // Raise EUlxRChartError (nothing changed) for a layer that is not 1 or 2,
  // one already joined, or when other layers are joined to this one.
  void SetL01xControlledBy(int v) { Join(1, true, v); }
  void SetL01yControlledBy(int v) { Join(1, false, v); }
  void SetL02xControlledBy(int v) { Join(2, true, v); }
  void SetL02yControlledBy(int v) { Join(2, false, v); }

  // The layer that controls layer's horizontal / vertical axis (layer 1 or 2).
  int ControlledByX(int layer) const { return x_[Index(layer)]; }
  int ControlledByY(int layer) const { return y_[Index(layer)]; }

  // Copies the four values, then fires the source's change notification.
  void Assign(const TJointLayers& source);

  std::function<void(TJointLayers& sender)> OnChange;

 private:
  static int Index(int layer) { return layer == 2 ? 1 : 0; }
  void Join(int layer, bool horizontal, int destination);

  TCustomRChart& chart_;
  int x_[2] = {1, 2};
  int y_[2] = {1, 2};
};

// The chart area's background picture.
class TBakGndImg {
 public:
  TBakGndImg() = default;
  TBakGndImg(const TBakGndImg&) = delete;
  TBakGndImg& operator=(const TBakGndImg&) = delete;

  const std::string& Name() const { return name_; }
  bool IncludePath() const { return includePath_; }
  TBkgFill FillMode() const { return fillMode_; }
  // Without IncludePath only the file-name part is kept (the text after the
  // last '/', '\' or drive ':').
  void SetName(const std::string& v);
  // Turning it off strips the directory from the stored name.
  void SetIncludePath(bool v);
  void SetFillMode(TBkgFill v);
  void Assign(const TBakGndImg& source);

  std::function<void(TBakGndImg& sender)> OnChange;

 private:
  void Changed();

  std::string name_;
  bool includePath_ = false;
  TBkgFill fillMode_ = bfStretch;
};

// The file-name part of a path: the text after the last directory or drive separator.
std::string FileNamePart(const std::string& path);

// One of the chart's twenty text labels: a caption at a point of a layer (or
// at a control pixel), drawn by Mode with a box, underline or shadow.
class TTextLabel {
 public:
  TTextLabel(int number, const TFont& font);
  TTextLabel(const TTextLabel&) = delete;
  TTextLabel& operator=(const TTextLabel&) = delete;

  int Number() const { return number_; }

  // getters:
  double PosX() const { return posX_; }
  double PosY() const { return posY_; }
  int Layer() const { return layer_; }
  bool AttachToData() const { return attachToData_; }
  TColor ColorBkg() const { return colorBkg_; }
  TColor ColorBorder() const { return colorBorder_; }
  TColor ColorShadow() const { return colorShadow_; }
  int ShadowDx() const { return shadowDx_; }
  int ShadowDy() const { return shadowDy_; }
  bool Transparent() const { return transparent_; }
  TAlignment Alignment() const { return alignment_; }
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  TTxtLblMode Mode() const { return mode_; }
  const std::string& Caption() const { return caption_; }

  // setters (each fires OnChange):
  void SetPosX(double v);
  void SetPosY(double v);
  void SetLayer(int v);  // 1 or 2; other values are ignored without OnChange
  void SetAttachToData(bool v);
  void SetColorBkg(TColor v);
  void SetColorBorder(TColor v);
  void SetColorShadow(TColor v);
  void SetShadowDx(int v);
  void SetShadowDy(int v);
  void SetTransparent(bool v);
  void SetAlignment(TAlignment v);
  void SetFont(const TFont& v);  // copies the attributes
  void SetMode(TTxtLblMode v);
  void SetCaption(const std::string& v);

  std::function<void(TTextLabel& sender)> OnChange;

 private:
  void Changed();

  int number_;
  double posX_ = 0;
  double posY_ = 0;
  int layer_ = 1;
  bool attachToData_ = true;
  TColor colorBkg_ = clWhite;
  TColor colorBorder_ = clBlack;
  TColor colorShadow_ = clGray;
  int shadowDx_ = 3;
  int shadowDy_ = 3;
  bool transparent_ = false;
  TAlignment alignment_ = taCenter;
  TFont font_;
  TTxtLblMode mode_ = tlOff;
  std::string caption_;
};

}  // namespace travenel
