#pragma once
// The fixed list of payload resources: names separated by single commas, in
// the order the items are read and written. Resource names are matched
// without regard to case.

#include <cstddef>

namespace pellion {

inline constexpr char kPayloadList[] = "rs_cmd,rs_exe,rs_hlp,rs_icon,rs_readme,rs_lpf32";
inline constexpr size_t kPayloadItemCount = 6;

}  // namespace pellion
