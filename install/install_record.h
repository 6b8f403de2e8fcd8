#pragma once
// What an install run did, as the run itself saw it: how it ended, and the
// files and shortcuts it made. The silent run turns the ending into its exit
// code; an installer built with its uninstaller records the rest in the
// Apps & features entry.

#include <cstdint>
#include <string>
#include <vector>

namespace pellion {

enum class RunOutcome {
    kNotRun,       // the run has not got as far as its folder
    kInstalled,    // every file written and dated, closing step done
    kReadFailed,   // the payload could not be read: nothing written
    kWriteFailed,  // a file (or the folder) could not be written
    kCancelled,    // the user cancelled
};

struct InstallRecord {
    RunOutcome outcome = RunOutcome::kNotRun;
    std::string folder;                  // normal form, ends in a backslash
    std::vector<std::string> files;      // names in `folder`, in writing order
    std::vector<std::string> shortcuts;  // full paths
    uint64_t bytes = 0;                  // of `files`

    void AddFile(const std::string& name, uint64_t size) {
        files.push_back(name);
        bytes += size;
    }
};

}  // namespace pellion
