// TScale: drawing one pass of the scale — the ticks of a tick list, their
// labels and dates, the date/time messages and the caption — on a surface.
// Tick values come from the tick layouts; this file only turns them into
// pixel positions and places the texts.
#include <algorithm>
#include <cstdint>
#include <string>

#include "travenel/chart/Scale.h"

namespace travenel {

namespace {

long long Offset(long long v, long long offset) { return v + offset; }

// Coordinates are worked out in 64 bits and handed to the surface clamped to
// 32 bits: the surface clips any 32-bit coordinate, and a tick pixel clamped
// to the end of the range plus an offset must not overflow.
void TextAt(TCanvas& s, long long x, long long y, const std::string& text) {
  s.TextOut(ClampToInt32(x), ClampToInt32(y), text);
}

}  // namespace

void TScale::DrawHorizontal(TCanvas& surface, int baseY) { DrawAxis(surface, false, baseY); }

void TScale::DrawVertical(TCanvas& surface, int baseX) { DrawAxis(surface, true, baseX); }

void TScale::DrawAxis(TCanvas& surface, bool vertical, int base) {
  if (surface.IsPrinter()) {
    // The scale's font is sized for the screen: take its size in points there
    // and carry it over to the printer's resolution.
    TFont& f = surface.Font();
    f.SetPixelsPerInch(TCanvas::kScreenPixelsPerInch);
    f.SetSize(Font().Size());
    f.SetPixelsPerInch(surface.PixelsPerInch());
  }
  // On an opaque scale a label's box takes the surface's brush colour, which
  // on the off-screen image is the background colour.
  surface.Brush.Style = look_.Transparent ? bsClear : bsSolid;
  const TTickList& list = PaintTicks();
  DrawTickList(surface, list, vertical, base);
  if (list.Message != dmNone) DrawMessage(surface, list.Message, vertical, base);
  if (!axis_.Caption.empty()) DrawCaption(surface, vertical, base);
}

void TScale::DrawTickList(TCanvas& s, const TTickList& list, bool vertical, int base) {
  // Ticks and labels point away from the control's edge: up for sctXB, down
  // for sctXT, right for sctYL, left for sctYR.
  const int towardsLabels = (vertical ? axis_.ScaleType == sctYR : axis_.ScaleType != sctXT) ? -1 : 1;
  const int longLength = vertical ? kLongTickLengthVertical : kLongTickLengthHorizontal;
  const long long along = vertical ? drawOffsetY_ : drawOffsetX_;
  // Date/time passes measure each label's own height, the others that of "0".
  const bool ownHeight = list.Pass == tpDateTime;

  for (const TScaleTick& t : list.Ticks) {
    const int p = ValueToPixel(t.Value);      // along the axis, in the control
    const int q = ClampToInt32(Offset(p, along));  // ... and on the surface
    const int length = t.Long ? longLength : kShortTickLength;
    const int end = ClampToInt32(Offset(base, static_cast<long long>(towardsLabels) * length));
    if (vertical) {
      s.MoveTo(base, q);
      s.LineTo(end, q);
    } else {
      s.MoveTo(q, base);
      s.LineTo(q, end);
    }

    const bool texts = t.Long && (!t.Label.empty() || !t.DateText.empty());
    auto drawTexts = [&] {
      if (vertical) {
        if (!t.Label.empty()) DrawVerticalLabel(s, base, q, t.Label, ownHeight);
        if (!t.DateText.empty()) {
          // One line above the label.
          const int hd = s.TextHeight(t.DateText);
          const int wd = s.TextWidth(t.DateText);
          const long long left = axis_.ScaleType == sctYR
                                     ? Offset(base, -static_cast<long long>(wd) - kVerticalLabelGap)
                                     : Offset(base, kVerticalLabelGap);
          TextAt(s, left, Offset(q, -3LL * (hd / 2)), t.DateText);
        }
      } else {
        if (!t.Label.empty()) PlaceHorizontalLabel(s, p, base, t.Label);
        if (!t.DateText.empty()) {
          // One text line further out than the label.
          const int hd = s.TextHeight(t.DateText);
          const long long y = axis_.ScaleType == sctXT ? Offset(base, hd) : Offset(base, -hd);
          PlaceHorizontalLabel(s, p, ClampToInt32(y), t.DateText);
        }
      }
    };
    if (texts && !list.EventBeforeLabel) drawTexts();
    if (OnScaleTickDrawn) {
      OnScaleTickDrawn(*this, s, axis_.ScaleType, t.EventValue, vertical ? base : q,
                       vertical ? q : base);
    }
    if (texts && list.EventBeforeLabel) drawTexts();
  }
}

void TScale::DrawVerticalLabel(TCanvas& s, int x, int p, const std::string& text, bool ownHeight) {
  const int h = s.TextHeight(ownHeight ? text : std::string("0"));
  const int w = s.TextWidth(text);
  const long long left = axis_.ScaleType == sctYR
                             ? Offset(x, -static_cast<long long>(w) - kVerticalLabelGap)
                             : Offset(x, kVerticalLabelGap);
  TextAt(s, left, Offset(p, -(h / 2)), text);
}

void TScale::PlaceHorizontalLabel(TCanvas& s, int p, int y, const std::string& text) {
  const long long w2 = s.TextWidth(text) / 2;
  const long long h = s.TextHeight(text);
  const long long width = Width();
  long long left;
  if (p + w2 >= width - kHorizontalLabelMargin)
    left = width - 2 * w2 - kHorizontalLabelMargin;  // kept inside the right edge
  else
    left = p - std::min(w2, static_cast<long long>(p) - kHorizontalLabelMargin);
  const long long top =
      axis_.ScaleType == sctXT ? Offset(y, kHorizontalLabelGap) : Offset(y, -kHorizontalLabelGap - h);
  TextAt(s, Offset(left, drawOffsetX_), top, text);
}

void TScale::DrawMessage(TCanvas& s, TDateTimeMessage message, bool vertical, int base) {
  // Centred on the middle of the range (summed in extended precision, so two
  // huge bounds cannot overflow).
  const long double middle = (static_cast<long double>(axis_.RangeLow) + axis_.RangeHigh) / 2;
  const long long c =
      Offset(ValueToPixel(static_cast<double>(middle)), vertical ? drawOffsetY_ : drawOffsetX_);
  if (!vertical) {
    const std::string text = DateTimeMessageText(message);
    TextAt(s, c - s.TextWidth(text) / 2, Offset(base, kHorizontalLabelGap), text);
    return;
  }
  // One word group per line, the first a line above the middle.
  const long long h = s.TextHeight("T");
  long long top = c - h;
  for (const std::string& line : DateTimeMessageLines(message)) {
    const long long left =
        axis_.ScaleType == sctYR ? Offset(base, -static_cast<long long>(s.TextWidth(line)) - kMessageGap)
                            : Offset(base, kMessageGap);
    TextAt(s, left, top, line);
    top += h;
  }
}

void TScale::DrawCaption(TCanvas& s, bool vertical, int base) {
  const long long tw = s.TextWidth(axis_.Caption);
  // The anchor along the axis: its start, its middle, or its end at the far margin.
  auto anchored = [&](long long nearMargin, long long size, long long farMargin) -> long long {
    switch (axis_.CaptionAnchor) {
      case uaSclCenter: return nearMargin + (size - nearMargin - farMargin) / 2;
      case uaSclBotRgt: return size - farMargin;
      case uaSclTopLft:
      default: return nearMargin;
    }
  };
  long long x, y;
  if (vertical) {
    y = axis_.CaptionPosY + anchored(look_.MarginTop, Height(), look_.MarginBottom) + drawOffsetY_;
    x = Offset(axis_.CaptionPosX, base);
  } else {
    x = axis_.CaptionPosX + anchored(look_.MarginLeft, Width(), look_.MarginRight) + drawOffsetX_;
    y = Offset(axis_.CaptionPosY, base);
  }
  switch (axis_.CaptionAlignment) {
    case taRightJustify: x -= tw; break;
    case taCenter: x -= tw / 2; break;
    case taLeftJustify:
    default: break;
  }
  TextAt(s, x, y, axis_.Caption);
}

}  // namespace travenel
