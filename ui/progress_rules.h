#pragma once
// Portable rules of the progress window: the texts it shows and where its
// right-aligned and centred controls go. Nothing here touches a window, so
// every number and text is unit-tested natively.

#include <cstdint>
#include <string>

namespace pellion {

// `value` written in decimal with no decimals, its digits grouped by three
// from the right with `separator` between groups (the user's locale
// thousands separator, which may be empty or longer than one character).
std::string GroupedNumber(uint32_t value, const std::string& separator);

// The status line under the bar, "%.0n of %.0n bytes": both numbers taken
// as unsigned 32-bit values and grouped with `separator`.
// Example: 1234567 and 2000000 with "," give "1,234,567 of 2,000,000 bytes".
std::string ProgressStatusText(uint32_t position, uint32_t total, const std::string& separator);

// "Files: %d".
std::string FilesCountText(int count);

// Left edge of a label whose right edge keeps a gap of `gapWidth` pixels
// (the width of "##" in the label's font) from its parent's client edge.
int RightAlignedLeft(int parentClientWidth, int controlWidth, int gapWidth);

// The bar counts in signed 32-bit values while the run's byte counts are
// unsigned. When either is 2^31 or more both are halved before they reach
// the bar, so the bar's share stays right; smaller values pass unchanged.
struct BarValues {
    int32_t max = 0;
    int32_t position = 0;
};
BarValues BarValuesFor(uint32_t position, uint32_t total);

// How often a run's window redraws: about 60 times a second, so a product
// of thousands of small files is not slowed by its own window.
constexpr int64_t kRedrawIntervalMicroseconds = 16667;

// Whether a changed position is drawn now (and pending messages processed):
// when `interval` has passed since the last drawing at `lastDrawnAt`, and
// always for the run's last position (the total). Times in microseconds of
// a clock that only goes forward.
bool RedrawDue(int64_t now, int64_t lastDrawnAt, int64_t interval, uint32_t position,
               uint32_t total);

}  // namespace pellion
