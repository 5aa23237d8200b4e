// TCustomRChart: charts that show one item list.
#include "chart/rchart.h"

void TCustomRChart::SetUseDataOf(TCustomRChart*) {}

void TCustomRChart::RemoveUser(TCustomRChart*) {}

void TCustomRChart::RepaintSharingGroup() {
  const auto ask = [](TCustomRChart& c) {
    if (c.autoRedraw_ || c.Designing()) c.Paint();
  };
  if (useDataOf_) {
    ask(*useDataOf_);
    for (TCustomRChart* user : useDataOf_->users_) ask(*user);
  }
  for (TCustomRChart* user : users_) ask(*user);
}
