// Which items the reader decodes side by side, with simulated workers.
#include "payload/read_schedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <utility>

namespace pellion {
namespace {

// Workers take items while the schedule lets them, the oldest ends first;
// answers the most items in work at once and the most bytes held.
std::pair<size_t, uint64_t> Simulate(const std::vector<ItemMemory>& items, size_t workers) {
    ReadSchedule schedule(items);
    std::deque<size_t> inWork;
    std::pair<size_t, uint64_t> most;
    for (size_t item;;) {
        while (inWork.size() < workers && schedule.Next(item) == ReadSchedule::Turn::kStart)
            inWork.push_back(item);
        most = {std::max(most.first, inWork.size()), std::max(most.second, schedule.Held())};
        EXPECT_LE(schedule.Held(), schedule.Limit());
        if (inWork.empty()) return most;
        schedule.Ended(inWork.front(), true);
        inWork.pop_front();
    }
}

TEST(ReadSchedule, HeldBytesStayWithinTheOneAtATimePeak) {
    const std::vector<ItemMemory> six(6, {16, 16});  // incompressible: body as large as content
    const struct {
        std::vector<ItemMemory> items;
        size_t workers, mostInWork;
        uint64_t mostHeld;
    } rows[] = {
        {six, 1, 1, 112},  // all content and the last body
        {six, 6, 3, 112},  // side by side at first, never beyond that
        {{{30, 60}, {25, 50}, {20, 40}, {12, 25}, {7, 15}, {5, 10}}, 2, 2, 212},  // about 2:1
        {{{16, 16}, {0, 0}, {16, 16}}, 3, 2, 48},  // a missing resource holds nothing
    };
    for (const auto& row : rows)
        EXPECT_EQ(Simulate(row.items, row.workers), std::make_pair(row.mostInWork, row.mostHeld))
            << row.items.size() << " items, " << row.workers << " workers";
}

}  // namespace
}  // namespace pellion
