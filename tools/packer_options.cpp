#include "tools/packer_options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "payload/payload_format.h"
#include "payload/payload_key.h"
#include "payload/payload_list.h"

namespace pellion::packer {

namespace {

constexpr char kUsageHead[] =
    "Usage: payload_packer [options] SOURCE_DIR OUTPUT_DIR\n"
    "\n"
    "Packs product files from SOURCE_DIR into the installer's payload resources:\n"
    "for each item, OUTPUT_DIR/<resource>.bin holds a 47-byte header (body length,\n"
    "content size, content CRC-32, DOS date-time, name) and the file deflated at the\n"
    "best compression, all scrambled with the key of the seed; OUTPUT_DIR/payload.rc\n"
    "embeds them as RCDATA. Either every output is written or none.\n"
    "\n"
    "Without --item the six files of the installer's payload list are packed:\n";

constexpr char kUsageTail[] =
    "\n"
    "Options:\n"
    "  --item RESOURCE=FILE  pack SOURCE_DIR/FILE as RESOURCE (repeatable); FILE is\n"
    "                        also the name installed, so it must be a bare file\n"
    "                        name of at most 30 ASCII characters\n"
    "  --date 'YYYY-MM-DD hh:mm:ss'\n"
    "                        stamp every item with this local date-time instead of\n"
    "                        each file's last-write time (in the packing machine's\n"
    "                        time zone); makes the output independent of checkouts\n"
    "  --seed N              key seed, decimal or 0x hex (default: this build's,\n"
    "                        which the installer must share)\n"
    "  --rc NAME             name of the .rc file (default payload.rc)\n"
    "  --plain               leave the items unscrambled (inspection, fuzzing seeds;\n"
    "                        the installer cannot read them)\n"
    "  --help                this text\n"
    "\n"
    "Refused, with nothing written: a missing file, a name that is not a bare file\n"
    "name (folder part, drive, \"..\", <>:\"/\\|?*, control characters, a trailing dot or\n"
    "blank, device names such as CON or NUL.txt), a name over 30 characters, a file\n"
    "of 2 GiB or more, a date-time outside 1980-2107.\n";

bool ParseSeed(const char* text, uint32_t& seed) {
    char* end = nullptr;
    errno = 0;
    unsigned long long value = std::strtoull(text, &end, 0);
    if (errno || end == text || *end || value > 0xFFFFFFFFull || text[0] == '-') return false;
    seed = uint32_t(value);
    return true;
}

bool ParseDate(const char* text, int32_t& packed) {
    LocalDateTime t;
    int used = 0;
    if (std::sscanf(text, "%4d-%2d-%2d %2d:%2d:%2d%n", &t.year, &t.month, &t.day, &t.hour,
                    &t.minute, &t.second, &used) != 6 ||
        text[used])
        return false;
    return PackDosDateTime(t, packed);
}

bool ParseItem(const std::string& text, ItemSpec& item) {
    size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) return false;
    item.resource = text.substr(0, eq);
    item.file = text.substr(eq + 1);
    return true;
}

// Handles one option that takes a value; false with `error` set on a mistake.
bool TakeValue(const std::string& arg, const char* value, Options& o, std::string& error) {
    if (!value) return error = arg + " needs a value", false;
    if (arg == "--item") {
        ItemSpec item;
        if (!ParseItem(value, item)) return error = "--item wants RESOURCE=FILE", false;
        o.items.push_back(item);
    } else if (arg == "--date") {
        int32_t packed = 0;
        if (!ParseDate(value, packed))
            return error = std::string("--date: '") + value +
                           "' is not a date-time 'YYYY-MM-DD hh:mm:ss' within 1980-2107",
                   false;
        o.dateTime = packed;
    } else if (arg == "--seed") {
        if (!ParseSeed(value, o.seed))
            return error = std::string("--seed: '") + value + "' is not a 32-bit number", false;
    } else {
        o.rcName = value;
    }
    return true;
}

}  // namespace

std::vector<ItemSpec> DefaultItems() {
    std::vector<ItemSpec> items;
    for (const PayloadItemName& item : kPayloadItems) items.push_back({item.resource, item.file});
    return items;
}

std::string Usage() {
    // The default items as RESOURCE=FILE, wrapped to lines of 78 columns.
    std::string text = kUsageHead, line = " ";
    for (const ItemSpec& item : DefaultItems()) {
        std::string pair = " " + item.resource + "=" + item.file;
        if (line.size() + pair.size() > 78) text += line + "\n", line = " ";
        line += pair;
    }
    return text + line + "\n" + kUsageTail;
}

bool ParseOptions(int argc, char** argv, Options& o, std::string& error) {
    o.seed = BuiltInPayloadSeed();
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--plain") {
            o.plain = true;
        } else if (arg == "--item" || arg == "--date" || arg == "--seed" || arg == "--rc") {
            if (!TakeValue(arg, i + 1 < argc ? argv[++i] : nullptr, o, error)) return false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return error = "unknown option " + arg, false;
        } else {
            positional.push_back(arg);
        }
    }
    if (o.help) return true;
    if (positional.size() != 2) return error = "expected SOURCE_DIR and OUTPUT_DIR", false;
    o.sourceDir = positional[0];
    o.outputDir = positional[1];
    if (o.items.empty()) o.items = DefaultItems();
    return true;
}

}  // namespace pellion::packer
