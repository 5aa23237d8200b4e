#include "travenel/chart/ulxbase.h"

namespace travenel {

namespace {

// Kept encoded (each character of the texts plus one), so they do not turn up
// as plain strings in the program.
constexpr char kLeadEncoded[] = "Usbwfofm!dibsu;!";  // "Travenel chart: "
constexpr char kTrailEncoded[] =
    "!)sfqpsufe!cz!uif!dibsu!mjcsbsz*";  // " (reported by the chart library)"

std::string Decoded(const char* encoded) {
  std::string s;
  for (const char* c = encoded; *c; ++c) s += static_cast<char>(*c - 1);
  return s;
}

}  // namespace

std::string DecorateMessage(const std::string& message) {
  return Decoded(kLeadEncoded) + message + Decoded(kTrailEncoded);
}

// --- TDTLabel -----------------------------------------------------------------

void TDTLabel::Changed() {
  if (OnChange) OnChange(*this);
}

void TDTLabel::SetTimeFormat(TTimeFormat v) {
  v_.TimeFormat = v;
  Changed();
}

void TDTLabel::SetDateSeparator(char v) {
  if (v == v_.DateSeparator) return;
  v_.DateSeparator = v;
  Changed();
}

void TDTLabel::SetTimeSeparator(char v) {
  if (v == v_.TimeSeparator) return;
  v_.TimeSeparator = v;
  Changed();
}

void TDTLabel::SetYearLength(TYearLength v) {
  if (v == v_.YearLength) return;
  v_.YearLength = v;
  Changed();
}

void TDTLabel::SetMonthName(bool v) {
  if (v == v_.MonthName) return;
  v_.MonthName = v;
  Changed();
}

void TDTLabel::SetDateOrder(TDateOrder v) {
  v_.DateOrder = v;
  Changed();
}

void TDTLabel::SetDateForTime(TDateForTime v) {
  if (v == v_.DateForTime) return;
  v_.DateForTime = v;
  Changed();
}

void TDTLabel::Assign(const TDTLabel& source) {
  v_ = source.v_;
  Changed();
}

// --- TCrossHair -----------------------------------------------------------------

void TCrossHair::Changed() {
  if (OnChange) OnChange(*this);
}

void TCrossHair::SetPosX(double v) {
  v_.PosX = v;
  Changed();
}

void TCrossHair::SetPosY(double v) {
  v_.PosY = v;
  Changed();
}

void TCrossHair::SetColor(TColor v) {
  v_.Color = v;
  Changed();
}

void TCrossHair::SetLayer(int v) {
  v_.Layer = v;
  Changed();
}

void TCrossHair::SetMode(TCrossHMode v) {
  v_.Mode = v;
  Changed();
}

void TCrossHair::SetLineType(TPenStyle v) {
  v_.LineType = v;
  Changed();
}

void TCrossHair::SetLineWid(int v) {
  v_.LineWid = v;
  Changed();
}

void TCrossHair::Assign(const TCrossHair& source) {
  v_ = source.v_;
  Changed();
}

}  // namespace travenel
