#pragma once
// The fixed list of payload resources: names separated by single commas, in
// the order the items are read and written. Resource names are matched
// without regard to case.
//
// kPayloadItems is the one place where each resource is paired with the file
// it installs. The packer's defaults, the build's resource script and the
// tests read it from here (the build and the Python tests parse this file:
// keep one {"resource", "file"} pair per line).

#include <cstddef>
#include <iterator>
#include <string_view>

namespace pellion {

struct PayloadItemName {
    const char* resource;  // RCDATA name
    const char* file;      // stored and installed file name
};

// clang-format off
inline constexpr PayloadItemName kPayloadItems[] = {
    {"rs_cmd", "pnx.exe"},
    {"rs_exe", "veskpnx.exe"},
    {"rs_hlp", "pnx.hlp"},
    {"rs_icon", "v.ico"},
    {"rs_readme", "readme.txt"},
    {"rs_lpf32", "lpf32.exe"},
};
// clang-format on

inline constexpr char kPayloadList[] = "rs_cmd,rs_exe,rs_hlp,rs_icon,rs_readme,rs_lpf32";
inline constexpr size_t kPayloadItemCount = std::size(kPayloadItems);

namespace payload_list_detail {

// Whether kPayloadList names the resources of kPayloadItems in their order.
constexpr bool ListMatchesItems() {
    std::string_view rest = kPayloadList;
    for (size_t i = 0; i < std::size(kPayloadItems); ++i) {
        std::string_view name = kPayloadItems[i].resource;
        if (i > 0) {
            if (rest.empty() || rest.front() != ',') return false;
            rest.remove_prefix(1);
        }
        if (rest.substr(0, name.size()) != name) return false;
        rest.remove_prefix(name.size());
    }
    return rest.empty();
}

}  // namespace payload_list_detail

static_assert(payload_list_detail::ListMatchesItems(),
              "kPayloadList and kPayloadItems must name the same resources in the same order");

}  // namespace pellion
