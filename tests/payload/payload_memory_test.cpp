// The payload reader's heap, metered: this program's operator new and delete
// (the other forms forward to them) count the bytes live, and may refuse.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "base/errors.h"
#include "payload/payload_reader.h"

namespace {
std::atomic<size_t> live{0}, peak{0}, cap{size_t(-1)}, refuseAtLeast{0}, refused{0};
}  // namespace

void* operator new(size_t size) {
    size_t refuse = refuseAtLeast;
    const size_t now = live += size;
    size_t* block = nullptr;
    if (!(refuse && size >= refuse && refuseAtLeast.compare_exchange_strong(refuse, 0)) &&
        now <= cap && (block = static_cast<size_t*>(std::malloc(size + 16)))) {
        for (size_t seen = peak; now > seen && !peak.compare_exchange_weak(seen, now);) {
        }
        *block = size;
        return block + 16 / sizeof(size_t);
    }
    live -= size;
    ++refused;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    if (!p) return;
    size_t* block = static_cast<size_t*>(p) - 16 / sizeof(size_t);
    live -= *block;
    std::free(block);
}
void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}

namespace pellion {
namespace {

constexpr size_t kMiB = size_t(1) << 20, kItem = 16 * kMiB;  // rs_random16: incompressible

void AnswerNothing() {}

// Reads `count` rs_random16 with `workers` threads and at most `limit` bytes
// more live than at the start; answers the peak beyond the start.
size_t MeteredRead(std::vector<PayloadRead>& reads, size_t count, size_t workers, size_t limit) {
    reads.clear();  // an assigned string would keep its block
    reads.resize(count);
    for (PayloadRead& read : reads) read.resource = "rs_random16";
    const size_t start = live;
    peak = start;
    cap = start + std::min(limit, size_t(-1) - start);
    refused = 0;
    ReadPayloadItems(reads, AnswerNothing, workers);
    cap = size_t(-1);
    return peak - start;
}

// Six items, the heap capped at 1.25 times their content: every worker count
// reads them without a refusal, within the one-at-a-time peak plus one item.
TEST(PayloadReaderMemory, ParallelReadStaysNearTheOneAtATimePeak) {
    std::vector<PayloadRead> reads;
    size_t onePeak = 0;
    for (size_t workers : {1, 2, 6, 0}) {  // 0: one per processor
        const size_t peak = MeteredRead(reads, 6, workers, 6 * kItem * 5 / 4);
        onePeak = onePeak ? onePeak : peak;
        std::printf("content 96 MiB, %zu workers: peak %.1f MiB\n", workers, double(peak) / kMiB);
        EXPECT_EQ(refused, 0u) << workers;
        EXPECT_LE(peak, onePeak + 2 * kItem) << workers;
        for (const PayloadRead& read : reads) EXPECT_EQ(read.content.size(), kItem) << workers;
    }
}

// One refusal: the item goes again alone. No room even alone: the error
// names the item, and the item before it still reads.
TEST(PayloadReaderMemory, LackOfMemory) {
    std::vector<PayloadRead> reads;
    refuseAtLeast = kItem;
    MeteredRead(reads, 6, 2, size_t(-1));
    EXPECT_EQ(refused, 1u);
    for (const PayloadRead& read : reads) EXPECT_EQ(read.content.size(), kItem);

    MeteredRead(reads, 2, 2, 5 * kItem / 2);
    EXPECT_EQ(reads[0].content.size(), kItem);
    ASSERT_TRUE(reads[1].error);
    try {
        std::rethrow_exception(reads[1].error);
    } catch (const EOutOfMemory& e) {
        EXPECT_STREQ(e.what(), "Not enough memory to unpack random.dat.");
    }
}

}  // namespace
}  // namespace pellion
