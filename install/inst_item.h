#pragma once
// One decoded payload entry of the helper module: what the payload reader
// fills and the install run writes to disk.

#include <cstdint>
#include <string>

namespace pellion {

struct tInstItem {
    std::string content;   // the file's bytes, any values
    std::string fileName;  // bare file name, no folder part
    // Packed DOS date and time in local time: date in the upper 16 bits,
    // time in the lower 16, passed on unchanged.
    int32_t dateTime = 0;
};

}  // namespace pellion
