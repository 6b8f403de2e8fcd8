// The plain way to unpack the installer's payload, as the yardstick of the
// install benchmark: find, unscramble and inflate each item, write it and
// date it, one after the other, with no window.
//   extract_bench FOLDER     (FOLDER ends in a backslash and exists)
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "base/win/wide.h"
#include "install/ucargo_text.h"
#include "payload/payload_list.h"
#include "payload/payload_reader.h"

namespace {

double Seconds() {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

bool WriteDated(const std::string& path, const std::string& content, int32_t dateTime) {
    HANDLE file = ::CreateFileW(pellion::win::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    FILETIME local, utc;
    bool ok = ::WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr) &&
              ::DosDateTimeToFileTime(WORD(uint32_t(dateTime) >> 16), WORD(dateTime), &local) &&
              ::LocalFileTimeToFileTime(&local, &utc) &&
              ::SetFileTime(file, nullptr, nullptr, &utc);
    ::CloseHandle(file);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const double start = Seconds();
    std::string list = pellion::kPayloadList, resource, name, content;
    int32_t dateTime = 0;
    while (!list.empty()) {
        pellion::SplitFirstToken(list, ",", resource);
        pellion::ReadPayloadItem(resource, name, dateTime, content);
        if (!WriteDated(std::string(argv[1]) + name, content, dateTime)) return 1;
    }
    std::printf("start to last file dated: %.3f s\n", Seconds() - start);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    std::printf("peak working set: %lu bytes\n",
                static_cast<unsigned long>(counters.PeakWorkingSetSize));
    return 0;
}
