#pragma once
// Command line of the payload packer.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pellion::packer {

struct ItemSpec {
    std::string resource;  // RCDATA name, e.g. rs_cmd
    std::string file;      // bare file name inside the source folder, also the stored name
};

struct Options {
    std::vector<ItemSpec> items;
    std::optional<int32_t> dateTime;  // --date, packed; else each file's last-write time
    uint32_t seed = 0;
    bool plain = false;
    std::string rcName = "payload.rc";
    std::string sourceDir;
    std::string outputDir;
    bool help = false;
};

// The items the installer reads, in the order of its payload list.
std::vector<ItemSpec> DefaultItems();

// Fills `options` from argv; on a mistake answers false with `error` set.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error);

// The --help text.
std::string Usage();

}  // namespace pellion::packer
