// payload_packer: turns product files into the installer's payload
// resources. Everything is read, checked and encoded in memory first; only
// then are the outputs written (each to a temporary name, renamed at the
// end), so bad input never leaves partial output behind.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "payload/payload_format.h"
#include "payload/payload_item.h"
#include "payload/payload_key.h"
#include "tools/packer_options.h"

namespace fs = std::filesystem;

namespace pellion::packer {
namespace {

constexpr long long kMaxContent = 0x7FFFFFFF;  // the declared size is a signed 32-bit value

struct PackedOutput {
    std::string fileName;  // inside the output folder
    std::string bytes;
};

class Problems {
  public:
    void Add(const std::string& subject, const std::string& problem) {
        list_.push_back(subject + ": " + problem);
    }
    bool Any() const { return !list_.empty(); }
    void Print() const {
        for (const std::string& p : list_) std::cerr << "payload_packer: " << p << "\n";
    }

  private:
    std::vector<std::string> list_;
};

bool IsResourceName(const std::string& name) {
    if (name.empty() || name.size() > 64 || (name[0] >= '0' && name[0] <= '9')) return false;
    for (char c : name)
        if (!(c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
              (c >= 'A' && c <= 'Z')))
            return false;
    return true;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

// The last-write time as a local DOS date-time; false (with `text` set to the
// local time found) when DOS cannot hold it.
bool LocalDosTime(time_t when, int32_t& packed, std::string& text) {
    struct tm local {};
    if (!localtime_r(&when, &local)) return text = "an unreadable time", false;
    LocalDateTime t{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour,        local.tm_min,     local.tm_sec};
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    text = buffer;
    return PackDosDateTime(t, packed);
}

bool ReadWhole(const std::string& path, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    content = bytes.str();
    return !in.bad();
}

// Reads and checks one item's file; adds what is wrong to `problems`.
bool LoadItem(const ItemSpec& item, const Options& o, int32_t& dateTime, std::string& content,
              Problems& problems) {
    std::string path = (fs::path(o.sourceDir) / item.file).string();
    NameProblem nameProblem = CheckBareFileName(item.file);
    if (nameProblem != NameProblem::kNone) {
        problems.Add("'" + item.file + "' (" + item.resource + ")", NameProblemText(nameProblem));
        return false;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        problems.Add(path, errno == ENOENT ? "no such file" : std::strerror(errno));
        return false;
    }
    if (!S_ISREG(st.st_mode)) return problems.Add(path, "not a regular file"), false;
    if (st.st_size > kMaxContent)
        return problems.Add(path, "file of 2 GiB or more (sizes are stored as signed 32-bit)"),
               false;
    std::string when;
    if (o.dateTime) {
        dateTime = *o.dateTime;
    } else if (!LocalDosTime(st.st_mtime, dateTime, when)) {
        return problems.Add(path, "last-write time " + when +
                                      " is outside the DOS date range (1980 to 2107)"),
               false;
    }
    if (!ReadWhole(path, content)) return problems.Add(path, "cannot be read"), false;
    return true;
}

std::vector<PackedOutput> BuildOutputs(const Options& o, Problems& problems) {
    std::string key = o.plain ? std::string() : PayloadKeyFromSeed(o.seed);
    std::vector<PackedOutput> outputs;
    std::set<std::string> seen;
    std::string rc = "// Payload resources, written by payload_packer.\n";
    for (const ItemSpec& item : o.items) {
        if (!IsResourceName(item.resource)) {
            problems.Add(item.resource, "not a resource name (letters, digits, underscore)");
            continue;
        }
        if (!seen.insert(Lower(item.resource)).second) {
            problems.Add(item.resource, "resource given twice");
            continue;
        }
        int32_t dateTime = 0;
        std::string content;
        if (!LoadItem(item, o, dateTime, content, problems)) continue;
        std::string bin = Lower(item.resource) + ".bin";
        outputs.push_back({bin, EncodePayloadItem(item.file, dateTime, content, key)});
        std::string upper = item.resource;
        for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
        rc += upper + " RCDATA \"" + bin + "\"\n";
    }
    if (CheckBareFileName(o.rcName) != NameProblem::kNone)
        problems.Add("--rc " + o.rcName, "not a bare file name");
    outputs.push_back({o.rcName, rc});
    return outputs;
}

bool WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    return bool(out);
}

// Writes every output under a temporary name, then renames them all; on a
// failure removes what it wrote.
bool WriteOutputs(const fs::path& dir, const std::vector<PackedOutput>& outputs) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    std::vector<fs::path> temps;
    bool ok = !ec;
    for (const PackedOutput& out : outputs) {
        if (!ok) break;
        fs::path temp = dir / (out.fileName + ".tmp");
        temps.push_back(temp);
        ok = WriteFile(temp, out.bytes);
        if (!ok) std::cerr << "payload_packer: " << temp.string() << ": cannot be written\n";
    }
    for (size_t i = 0; ok && i < outputs.size(); ++i) {
        fs::rename(temps[i], dir / outputs[i].fileName, ec);
        ok = !ec;
    }
    if (!ok) {
        if (ec) std::cerr << "payload_packer: " << dir.string() << ": " << ec.message() << "\n";
        for (const fs::path& temp : temps) fs::remove(temp, ec);
    }
    return ok;
}

int Run(int argc, char** argv) {
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::cerr << "payload_packer: " << error << "\nTry payload_packer --help\n";
        return 2;
    }
    if (options.help) return std::cout << Usage(), 0;
    Problems problems;
    std::vector<PackedOutput> outputs = BuildOutputs(options, problems);
    if (problems.Any()) {
        problems.Print();
        std::cerr << "payload_packer: nothing written\n";
        return 1;
    }
    return WriteOutputs(options.outputDir, outputs) ? 0 : 1;
}

}  // namespace
}  // namespace pellion::packer

int main(int argc, char** argv) {
    try {
        return pellion::packer::Run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "payload_packer: " << e.what() << "\n";
        return 1;
    }
}
