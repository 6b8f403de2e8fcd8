#include "payload/read_schedule.h"

#include <algorithm>
#include <utility>

namespace pellion {

ReadSchedule::ReadSchedule(std::vector<ItemMemory> items)
    : items_(std::move(items)), ranAlone_(items_.size(), false) {
    again_.reserve(items_.size());
    uint64_t largestPassing = 0;
    for (const ItemMemory& item : items_) {
        limit_ += item.kept;
        largestPassing = std::max(largestPassing, item.passing);
    }
    limit_ += largestPassing;
}

bool ReadSchedule::Fits(size_t item) const {
    if (inWork_ == 0) return true;
    if (oneAtATime_) return false;
    const ItemMemory& m = items_[item];
    return held_ + m.passing + m.kept <= limit_;
}

void ReadSchedule::Start(size_t item) {
    ranAlone_[item] = oneAtATime_;
    held_ += items_[item].passing + items_[item].kept;
    ++inWork_;
}

ReadSchedule::Turn ReadSchedule::Next(size_t& item) {
    if (againNext_ < again_.size()) {
        if (!Fits(again_[againNext_])) return Turn::kWait;
        item = again_[againNext_++];
    } else if (next_ < items_.size()) {
        // In order: a later, smaller item does not overtake one that waits
        // for room, so the big ones are not put off to the end.
        if (!Fits(next_)) return Turn::kWait;
        item = next_++;
    } else {
        return Turn::kDone;
    }
    Start(item);
    return Turn::kStart;
}

void ReadSchedule::Ended(size_t item, bool decoded) {
    const ItemMemory& m = items_[item];
    held_ -= m.passing + (decoded ? 0 : m.kept);
    --inWork_;
}

bool ReadSchedule::TryAgainAlone(size_t item) {
    Ended(item, false);
    if (ranAlone_[item]) return false;
    oneAtATime_ = true;
    again_.push_back(item);
    return true;
}

}  // namespace pellion
