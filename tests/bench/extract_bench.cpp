// The plain ways to unpack the installer's payload, the yardsticks of the
// install benchmark: find and unscramble each item, decode it with one
// library on this one thread, write it and date it, one after the other,
// with no window.
//   extract_bench zlib|libdeflate FOLDER     (FOLDER ends in a backslash)
#include <windows.h>
#include <libdeflate.h>
#include <psapi.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/win/wide.h"
#include "install/ucargo_text.h"
#include "payload/payload_format.h"
#include "payload/payload_key.h"
#include "payload/payload_list.h"

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

// One zlib stream of the body into `out`, sized as declared.
bool Decode(bool zlib, const uint8_t* body, size_t length, std::string& out) {
    if (zlib) {
        z_stream z{};
        if (inflateInit(&z) != Z_OK) return false;
        z.next_in = const_cast<Bytef*>(body);
        z.avail_in = uInt(length);
        z.next_out = reinterpret_cast<Bytef*>(&out[0]);
        z.avail_out = uInt(out.size());
        int ret = inflate(&z, Z_FINISH);
        inflateEnd(&z);
        return ret == Z_STREAM_END && z.total_out == out.size();
    }
    static libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    size_t produced = 0;
    return libdeflate_zlib_decompress(d, body, length, &out[0], out.size(),
                                      &produced) == LIBDEFLATE_SUCCESS &&
           produced == out.size();
}

// Finds, unscrambles and decodes one item; false on any failure.
bool Extract(bool zlib, const std::string& key, const std::string& resource, std::string& name,
             int32_t& dateTime, std::string& content) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceW(module, pellion::win::Widen(resource).c_str(), RT_RCDATA);
    if (!info) return false;
    const DWORD size = ::SizeofResource(module, info);
    const auto* stored = static_cast<const uint8_t*>(::LockResource(::LoadResource(module, info)));
    if (!stored || size < pellion::kPayloadHeaderSize) return false;
    std::vector<uint8_t> plain(size);
    pellion::UnscrambleCopy(key, 0, stored, plain.data(), size);
    uint8_t raw[pellion::kPayloadHeaderSize];
    std::memcpy(raw, plain.data(), sizeof raw);
    pellion::PayloadHeader header;
    if (!pellion::DecodePayloadHeader(raw, header) || header.declaredSize < 0) return false;
    content.assign(size_t(header.declaredSize), '\0');
    name = header.name;
    dateTime = header.dateTime;
    return Decode(zlib, plain.data() + pellion::kPayloadHeaderSize,
                  size - pellion::kPayloadHeaderSize, content);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const bool zlib = std::strcmp(argv[1], "zlib") == 0;
    const double start = Seconds();
    std::string key;
    pellion::BuildPayloadKey(key);
    std::string list = pellion::kPayloadList, resource, name, content;
    int32_t dateTime = 0;
    while (!list.empty()) {
        pellion::SplitFirstToken(list, ",", resource);
        if (!Extract(zlib, key, resource, name, dateTime, content) ||
            !WriteDated(std::string(argv[2]) + name, content, dateTime))
            return 1;
    }
    std::printf("start to last file dated: %.3f s\n", Seconds() - start);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    std::printf("peak working set: %lu bytes\n",
                static_cast<unsigned long>(counters.PeakWorkingSetSize));
    return 0;
}
