#pragma once
// The full, lower-cased path of the DOSBox executable, found at start-up on
// 64-bit Windows and read when the DOSBox shortcut is made. Empty at start
// and on 32-bit Windows, where no search is made.

#include <string>

namespace pellion {

extern std::string DosBoxPath;

}  // namespace pellion
