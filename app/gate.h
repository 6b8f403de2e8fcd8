#pragma once
// The prerequisite gate that runs before any window exists: on 64-bit
// Windows the DOS product needs DOSBox under Program Files; without it (or
// with "/t" on the command line) the DOSBox notice is shown and the program
// ends.

#include <string>

namespace pellion {

// True when the installer may go on; false after the notice was shown.
bool StartupGate();

// Looks for DOSBox under the 32-bit Program Files folder. Sets `path` to the
// candidate executable of the first entry that names DOSBox (or empty) and
// answers whether a file exists there.
bool FindDosBox(std::string& path);

}  // namespace pellion
