// The zlib wrapper: the output block's growth rule, the limit that guards
// against lying lengths, and every zlib failure mapped to one error.
#include "payload/payload_inflate.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/errors.h"

namespace pellion {
namespace {

// Deterministic text over a four-letter alphabet: about 4:1 compressible.
std::string Letters(size_t n, uint32_t seed = 1) {
    std::string s(n, 'a');
    for (char& c : s) {
        seed = seed * 1103515245 + 12345;
        c = "acgt"[(seed >> 16) & 3];
    }
    return s;
}

// A zlib stream of exactly `length` bytes, with what it inflates to.
std::string StreamOfLength(size_t length, std::string& plain) {
    for (size_t n = length; n < length * 20; ++n) {
        plain = Letters(n);
        std::string z = DeflateBest(plain);
        if (z.size() == length) return z;
    }
    ADD_FAILURE() << "no stream of " << length << " bytes found";
    return {};
}

const uint8_t* U8(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

TEST(InflateBuffer, EstimateZeroStartsAtStepAndGrowsByStep) {
    std::string plain;
    std::string z = StreamOfLength(300, plain);
    ASSERT_GT(plain.size(), 512u);  // so that it has to grow
    InflateTrace trace;
    EXPECT_EQ(InflateBuffer(U8(z), z.size(), 0, kNoInflateLimit, &trace), plain);
    std::vector<size_t> expected = {512};
    while (expected.back() < plain.size()) expected.push_back(expected.back() + 512);
    EXPECT_EQ(trace.blockSizes, expected);
}

TEST(InflateBuffer, BlockSizes) {
    std::string plain = Letters(5000);
    std::string z = DeflateBest(plain);
    size_t step = (z.size() + 255) / 256 * 256;
    struct Row {
        size_t estimate;
        std::vector<size_t> blocks;
    } rows[] = {
        {5000, {5000}},               // exact: one pass, no growth
        {9000, {9000}},               // too large: one block, cut afterwards
        {4000, {4000, 4000 + step}},  // too small: grows by step, not by estimate
        {1, {1, 1 + step, 1 + 2 * step}},
    };
    for (const Row& row : rows) {
        InflateTrace trace;
        std::string out = InflateBuffer(U8(z), z.size(), row.estimate, kNoInflateLimit, &trace);
        EXPECT_EQ(out, plain) << row.estimate;
        std::vector<size_t> expected = row.blocks;
        while (expected.back() < plain.size()) expected.push_back(expected.back() + step);
        EXPECT_EQ(trace.blockSizes, expected) << row.estimate;
    }
}

TEST(InflateBuffer, LimitIsExactAndNeverExceeded) {
    std::string plain = Letters(1000);
    std::string z = DeflateBest(plain);
    InflateTrace trace;
    EXPECT_EQ(InflateBuffer(U8(z), z.size(), 1000, 1000, &trace), plain);  // ends right at it
    EXPECT_EQ(trace.blockSizes, (std::vector<size_t>{1000}));
    trace.blockSizes.clear();
    EXPECT_THROW(InflateBuffer(U8(z), z.size(), 0, 999, &trace), EDecompressionError);
    for (size_t size : trace.blockSizes) EXPECT_LE(size, 999u);
    EXPECT_THROW(InflateBuffer(U8(z), z.size(), 0, 0), EDecompressionError);
    std::string empty = DeflateBest("");
    EXPECT_EQ(InflateBuffer(U8(empty), empty.size(), 0, 0), "");
}

std::string WithDictionary(const std::string& plain) {
    z_stream s{};
    deflateInit(&s, 9);
    deflateSetDictionary(&s, reinterpret_cast<const Bytef*>("acgt"), 4);
    std::string out(1024, '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    s.avail_in = uInt(plain.size());
    s.next_out = reinterpret_cast<Bytef*>(&out[0]);
    s.avail_out = uInt(out.size());
    deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

TEST(InflateBuffer, EveryZlibFailureIsDecompressionErrorWithTextError) {
    std::string good = DeflateBest(Letters(2000));
    std::string flippedMiddle = good, flippedCheck = good, badHeader = good;
    flippedMiddle[good.size() / 2] ^= 0x55;
    flippedCheck.back() ^= 0x01;
    badHeader[1] ^= 0x01;  // header check bits no longer add up
    std::string gzip =
        "\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\x03\x00\x00\x00\x00\x00\x00\x00\x00\x00";
    struct Row {
        const char* what;
        std::string input;
    } rows[] = {
        {"empty input", ""},
        {"bad header", badHeader},
        {"gzip instead of zlib", gzip},
        {"raw deflate without header", good.substr(2)},
        {"corrupt data", flippedMiddle},
        {"check mismatch", flippedCheck},
        {"ends before the stream", good.substr(0, good.size() - 1)},
        {"only the header", good.substr(0, 2)},
        {"needs a preset dictionary", WithDictionary(Letters(100))},
        {"not zlib at all", "plain text, not compressed"},
    };
    for (const Row& row : rows) {
        try {
            InflateBuffer(U8(row.input), row.input.size(), 0);
            ADD_FAILURE() << row.what << ": no error";
        } catch (const EDecompressionError& e) {
            EXPECT_STREQ(e.what(), "Error") << row.what;
        }
    }
}

// Input arriving one byte at a time must give the same result.
class Dribble : public InflateSource {
  public:
    explicit Dribble(const std::string& s) : s_(s) {}
    size_t Next(const uint8_t*& data) override {
        if (at_ == s_.size()) return 0;
        data = U8(s_) + at_++;
        return 1;
    }

  private:
    const std::string& s_;
    size_t at_ = 0;
};

TEST(InflateFrom, InputInPiecesGivesTheSameBytes) {
    std::string plain = Letters(3000);
    std::string z = DeflateBest(plain);
    Dribble source(z);
    EXPECT_EQ(InflateFrom(source, z.size(), 3000, 3000), plain);
    std::string cut = z.substr(0, z.size() - 3);
    Dribble cutSource(cut);
    EXPECT_THROW(InflateFrom(cutSource, cut.size(), 3000, 3000), EDecompressionError);
}

}  // namespace
}  // namespace pellion
