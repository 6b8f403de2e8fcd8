#include "ui/progress_rules.h"

#include <cstdint>

namespace pellion {

std::string GroupedNumber(uint32_t value, const std::string& separator) {
    std::string digits = std::to_string(value);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        // A separator before every digit that starts a group of three.
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

std::string ProgressStatusText(uint32_t position, uint32_t total, const std::string& separator) {
    return GroupedNumber(position, separator) + " of " + GroupedNumber(total, separator) + " bytes";
}

std::string FilesCountText(int count) {
    return "Files: " + std::to_string(count);
}

int RightAlignedLeft(int parentClientWidth, int controlWidth, int gapWidth) {
    return parentClientWidth - controlWidth - gapWidth;
}

BarValues BarValuesFor(uint32_t position, uint32_t total) {
    bool halve = total > uint32_t(INT32_MAX) || position > uint32_t(INT32_MAX);
    int shift = halve ? 1 : 0;
    return BarValues{int32_t(total >> shift), int32_t(position >> shift)};
}

bool RedrawDue(int64_t now, int64_t lastDrawnAt, int64_t interval, uint32_t position,
               uint32_t total) {
    return position == total || now - lastDrawnAt >= interval;
}

}  // namespace pellion
