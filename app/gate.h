#pragma once
// The prerequisite gate that runs before any window exists: on 64-bit
// Windows the DOS product needs DOSBox under Program Files; without it (or
// with "/t" on the command line) the DOSBox notice is shown and the program
// ends.

#include <string>

namespace pellion {

// The gate's decision, taken without showing anything.
enum class GateVerdict {
    kGo,               // the installer may go on
    kDosBoxMissing,    // 64-bit Windows without DOSBox
    kNoticeRequested,  // "/t" on the command line
};
GateVerdict CheckGate();

// Shows the DOSBox notice; OK opens the DOSBox page. Always answers false.
bool ShowDosBoxNotice();

// True when the installer may go on; false after the notice was shown.
bool StartupGate();

// Looks for DOSBox under the 32-bit Program Files folder. Sets `path` to the
// candidate executable of the first entry that names DOSBox (or empty) and
// answers whether a file exists there.
bool FindDosBox(std::string& path);

}  // namespace pellion
