#include "chart/ulxbase.h"

void TDTLabel::Changed() {
  if (OnChange) OnChange(*this);
}

void TDTLabel::SetTimeFormat(TTimeFormat v) {
  timeFormat_ = v;
  Changed();
}

void TDTLabel::SetDateSeparator(char v) {
  if (v == dateSeparator_) return;
  dateSeparator_ = v;
  Changed();
}

void TDTLabel::SetTimeSeparator(char v) {
  if (v == timeSeparator_) return;
  timeSeparator_ = v;
  Changed();
}

void TDTLabel::SetYearLength(TYearLength v) {
  if (v == yearLength_) return;
  yearLength_ = v;
  Changed();
}

void TDTLabel::SetMonthName(bool v) {
  if (v == monthName_) return;
  monthName_ = v;
  Changed();
}

void TDTLabel::SetDateOrder(TDateOrder v) {
  dateOrder_ = v;
  Changed();
}

void TDTLabel::SetDateForTime(TDateForTime v) {
  if (v == dateForTime_) return;
  dateForTime_ = v;
  Changed();
}

void TDTLabel::Assign(const TDTLabel& source) {
  if (&source != this) {
    timeFormat_ = source.timeFormat_;
    dateSeparator_ = source.dateSeparator_;
    timeSeparator_ = source.timeSeparator_;
    yearLength_ = source.yearLength_;
    monthName_ = source.monthName_;
    dateOrder_ = source.dateOrder_;
    dateForTime_ = source.dateForTime_;
  }
  Changed();
}

bool TDTLabel::SameValues(const TDTLabel& o) const {
  return timeFormat_ == o.timeFormat_ && dateSeparator_ == o.dateSeparator_ &&
         timeSeparator_ == o.timeSeparator_ && yearLength_ == o.yearLength_ &&
         monthName_ == o.monthName_ && dateOrder_ == o.dateOrder_ &&
         dateForTime_ == o.dateForTime_;
}
