// TCustomRChart: charts that show one item list. A data owner and up to four
// charts that use its data form a group with one list between them, so a
// change made through any of them is seen by all; a chart that leaves the
// group (or outlives it) keeps the items it showed as its own.
#include <algorithm>

#include "travenel/chart/rchart.h"
#include "travenel/chart/rchart_paintcache.h"
#include "travenel/ui/Application.h"

namespace travenel {

namespace {

constexpr const char* kShareWithMyself = "RChart: Cannot share data with myself";
constexpr const char* kUsedByOthers =
    "RChart: Cannot use foreign data. Other RCharts are using my own data.";
constexpr const char* kTooManyShares = "RChart: Max. number of data shares exceeded";

}  // namespace

void TCustomRChart::SetUseDataOf(TCustomRChart* owner) {
  if (owner == this) return ShowMessage(kShareWithMyself);
  if (!users_.empty()) return ShowMessage(kUsedByOthers);
  if (owner == useDataOf_) return;
  paintCache_->SettleAreaImage();  // drawn from the items it shows now
  if (!owner) {
    useDataOf_->RemoveUser(this);
    useDataOf_ = nullptr;
    items_ = std::make_shared<TRChartItemList>(*items_);  // the items shown, now its own
    RepaintIfAuto();
    return;
  }
  // Nesting is one level deep: a user's owner is asked instead.
  if (owner->useDataOf_) owner = owner->useDataOf_;
  if (owner == useDataOf_) return;
  if (static_cast<int>(owner->users_.size()) >= kMaxDataUsers) return ShowMessage(kTooManyShares);
  if (useDataOf_) useDataOf_->RemoveUser(this);
  useDataOf_ = owner;
  items_ = owner->items_;
  owner->users_.push_back(this);
  RepaintIfAuto();
}

void TCustomRChart::RemoveUser(TCustomRChart* user) {
  users_.erase(std::remove(users_.begin(), users_.end(), user), users_.end());
}

void TCustomRChart::LeaveSharingGroup() {
  if (useDataOf_) {
    useDataOf_->RemoveUser(this);
    useDataOf_ = nullptr;
  }
  // The users keep what they showed, each as a list of its own.
  for (TCustomRChart* user : users_) {
    user->paintCache_->SettleAreaImage();
    user->useDataOf_ = nullptr;
    user->items_ = std::make_shared<TRChartItemList>(*items_);
  }
  users_.clear();
}

void TCustomRChart::RepaintSharingGroup() {
  // A render handler may change the group, or destroy a chart of it, while
  // the walk paints: the walk goes over the group as it was when it began and
  // passes over the charts that have been destroyed since.
  std::vector<std::weak_ptr<TCustomRChart>> group;
  if (useDataOf_) {
    group.push_back(useDataOf_->self_);
    for (TCustomRChart* user : useDataOf_->users_) group.push_back(user->self_);
  }
  for (TCustomRChart* user : users_) group.push_back(user->self_);
  for (const std::weak_ptr<TCustomRChart>& member : group) {
    const std::shared_ptr<TCustomRChart> c = member.lock();
    if (c && (c->autoRedraw_ || c->Designing())) c->Paint();
  }
}

}  // namespace travenel
