// Decode benchmark over a large generated product embedded as this program's
// resources (tests/payload/make_bench_product.py). Prints figures and ratios;
// asserts nothing.
//   payload_bench speed      the reader's decode path, one item at a time and
//                            all at once on worker threads, against zlib's
//                            inflate and libdeflate called directly on one
//                            thread; unscrambling against memcpy
//   payload_bench peak NAME  memory while reading the one item NAME
#include <windows.h>
#include <libdeflate.h>
#include <psapi.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "payload/payload_key.h"
#include "payload/payload_list.h"
#include "payload/payload_reader.h"
#include "tests/bench/bench_timer.h"

namespace {

using pellion::ReadPayloadItem;

std::vector<std::string> PayloadNames() {
    std::vector<std::string> names;
    for (const pellion::PayloadItemName& item : pellion::kPayloadItems)
        names.push_back(item.resource);
    return names;
}

// Plain zlib, for comparison: one inflate call into an uninitialised block
// of the known size.
double PlainInflate(const std::string& body, size_t size) {
    double start = pellion::bench::NowSeconds();
    std::unique_ptr<Bytef[]> out(new Bytef[size]);
    z_stream z{};
    inflateInit(&z);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
    z.avail_in = uInt(body.size());
    z.next_out = out.get();
    z.avail_out = uInt(size);
    int ret = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    double seconds = pellion::bench::NowSeconds() - start;
    if (ret != Z_STREAM_END || z.total_out != size) std::printf("plain inflate failed\n");
    return seconds;
}

// libdeflate's whole-buffer decoder, called directly, for comparison.
double PlainLibdeflate(const std::string& body, size_t size) {
    static libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    double start = pellion::bench::NowSeconds();
    std::unique_ptr<char[]> out(new char[size]);
    size_t produced = 0;
    libdeflate_result r =
        libdeflate_zlib_decompress(d, body.data(), body.size(), out.get(), size, &produced);
    double seconds = pellion::bench::NowSeconds() - start;
    if (r != LIBDEFLATE_SUCCESS || produced != size) std::printf("libdeflate failed\n");
    return seconds;
}

// Every item at once through ReadPayloadItems, as the install run reads.
double ReadAll(const std::vector<std::string>& names) {
    std::vector<pellion::PayloadRead> reads(names.size());
    for (size_t i = 0; i < names.size(); ++i) reads[i].resource = names[i];
    double start = pellion::bench::NowSeconds();
    pellion::ReadPayloadItems(reads, [] {});
    double seconds = pellion::bench::NowSeconds() - start;
    for (const pellion::PayloadRead& read : reads)
        if (read.error) std::printf("%s: read failed\n", read.resource.c_str());
    return seconds;
}

double ReadItem(const std::string& name, size_t& size) {
    std::string fileName, content;
    int32_t dateTime = 0;
    double start = pellion::bench::NowSeconds();
    ReadPayloadItem(name, fileName, dateTime, content);
    double seconds = pellion::bench::NowSeconds() - start;
    size = content.size();
    return seconds;
}

void DecodeSpeed() {
    std::string key;
    pellion::BuildPayloadKey(key);
    double bestRead = 0, bestPlain = 0, bestDeflate = 0, total = 0;
    for (const std::string& name : PayloadNames()) {
        std::string stored = pellion::ReadRawResource(name);
        pellion::UnscrambleBytes(key, reinterpret_cast<uint8_t*>(&stored[0]), stored.size());
        std::string body = stored.substr(47);
        size_t size = 0;
        ReadItem(name, size);  // pages the resource in once, as at an install
        double read = 1e9, plain = 1e9, deflate = 1e9;
        for (int round = 0; round < 3; ++round) {  // alternated
            read = std::min(read, ReadItem(name, size));
            plain = std::min(plain, PlainInflate(body, size));
            deflate = std::min(deflate, PlainLibdeflate(body, size));
        }
        std::printf("  %-10s %6.1f MB  read %6.1f MB/s  zlib %6.1f MB/s  libdeflate %6.1f MB/s\n",
                    name.c_str(), size / 1e6, size / 1e6 / read, size / 1e6 / plain,
                    size / 1e6 / deflate);
        bestRead += read;
        bestPlain += plain;
        bestDeflate += deflate;
        total += size;
    }
    const std::vector<std::string> names = PayloadNames();
    double all = 1e9;
    for (int round = 0; round < 3; ++round) all = std::min(all, ReadAll(names));
    SYSTEM_INFO system{};
    ::GetSystemInfo(&system);
    std::printf("one thread (%.0f MB): reader %.1f MB/s; zlib inflate %.1f MB/s; "
                "libdeflate %.1f MB/s\n",
                total / 1e6, total / 1e6 / bestRead, total / 1e6 / bestPlain,
                total / 1e6 / bestDeflate);
    std::printf("ratio reader / libdeflate, one thread: %.2f (target at least 0.95); "
                "reader / zlib: %.2f\n",
                bestDeflate / bestRead, bestPlain / bestRead);
    std::printf("all items at once on %lu processors: %.1f MB/s (%.2f x the reader on one "
                "thread)\n",
                static_cast<unsigned long>(system.dwNumberOfProcessors), total / 1e6 / all,
                bestRead / all);
}

template <typename F>
double Best(F f) {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        double start = pellion::bench::NowSeconds();
        f();
        best = std::min(best, pellion::bench::NowSeconds() - start);
    }
    return best;
}

void UnscrambleSpeed() {
    std::string key;
    pellion::BuildPayloadKey(key);
    std::string a = pellion::ReadRawResource("rs_cmd"), b(a.size(), '\0');
    uint8_t* pa = reinterpret_cast<uint8_t*>(&a[0]);
    uint8_t* pb = reinterpret_cast<uint8_t*>(&b[0]);
    const size_t n = a.size();
    double copy = Best([&] { std::memcpy(pb, pa, n); });
    double vector = Best([&] { pellion::UnscrambleBytes(key, pa, n); });
    double scalar = Best([&] { pellion::detail::SubtractKeyScalar(key, 0, pa, pa, n); });
    std::printf(
        "buffer %.1f MB: memcpy %.0f MB/s, unscramble %.0f MB/s (%s), byte loop %.0f MB/s\n",
        n / 1e6, n / 1e6 / copy, n / 1e6 / vector,
        pellion::detail::HasVectorUnit() ? "SSE2" : "no SSE2: byte loop", n / 1e6 / scalar);
    std::printf("ratio unscramble / memcpy: %.2f (target at least 0.5)\n", copy / vector);
}

void PeakMemory(const std::string& name) {
    PROCESS_MEMORY_COUNTERS before{}, after{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &before, sizeof(before));
    std::string fileName, content;
    int32_t dateTime = 0;
    ReadPayloadItem(name, fileName, dateTime, content);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &after, sizeof(after));
    double resource = pellion::ReadRawResource(name).size() / 1e6;  // after the measurement
    double allowed = content.size() / 1e6 + resource + 1.048576;
    double workingSet = (after.PeakWorkingSetSize - before.WorkingSetSize) / 1e6;
    double privateBytes = (after.PeakPagefileUsage - before.PagefileUsage) / 1e6;
    std::printf("%s: content %.1f MB, resource %.1f MB; allowed %.1f MB\n", name.c_str(),
                content.size() / 1e6, resource, allowed);
    std::printf("peak growth while reading: working set %.1f MB, private %.1f MB\n", workingSet,
                privateBytes);
    std::printf("ratio peak working set / allowed: %.2f (target at most 1.0)\n",
                workingSet / allowed);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        std::string mode = argc > 1 ? argv[1] : "speed";
        if (mode == "peak" && argc > 2) {
            PeakMemory(argv[2]);
        } else {
            DecodeSpeed();
            UnscrambleSpeed();
        }
    } catch (const std::exception& e) {
        std::printf("error: %s\n", e.what());
        return 1;
    }
    return 0;
}
