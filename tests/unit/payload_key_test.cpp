// The process-wide generator, the payload key and the scrambling that uses
// it. Expected bytes were computed outside this code base from the
// generator's definition.
#include "payload/payload_key.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "payload/payload_random.h"

namespace pellion {
namespace {

std::vector<int> Bytes(const std::string& s, size_t n) {
    std::vector<int> v;
    for (size_t i = 0; i < n && i < s.size(); ++i) v.push_back(static_cast<unsigned char>(s[i]));
    return v;
}

TEST(PayloadKey, KnownBytesForSeeds) {
    struct Row {
        uint32_t seed;
        std::vector<int> first;  // key bytes 0..9
        int last;                // key byte 49
        uint32_t after;          // generator state after the key
    } rows[] = {
        {0x2F6B1D93, {0xAC, 0xCD, 0xA5, 0x73, 0x06, 0x35, 0x1A, 0x60, 0x5E, 0x1D}, 136, 0x88CB9671},
        {0, {0x00, 0x08, 0xDC, 0x33, 0x45, 0xAB, 0x51, 0x29, 0x5F, 0x6C}, 181, 0xB5467F56},
        {1, {0x08, 0xDC, 0x33, 0x45, 0xAB, 0x51, 0x29, 0x5F, 0x6C, 0x14}, 142, 0x8EB8D4AF},
    };
    for (const Row& row : rows) {
        SetRandSeed(12345);  // whatever came before must not matter
        std::string key = PayloadKeyFromSeed(row.seed);
        ASSERT_EQ(key.size(), kPayloadKeyLength);
        EXPECT_EQ(Bytes(key, 10), row.first) << row.seed;
        EXPECT_EQ(static_cast<unsigned char>(key[49]), row.last) << row.seed;
        EXPECT_EQ(RandSeed(), row.after) << "generator stands 50 draws past the seed";
    }
}

TEST(PayloadKey, BuildUsesTheBuildSeedAndIsTheSameEveryCall) {
    std::string first = "junk", second;
    BuildPayloadKey(first);
    Random(256);  // someone else draws in between
    BuildPayloadKey(second);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, PayloadKeyFromSeed(uint32_t(PAYLOAD_SEED)));
}

TEST(PayloadKey, RandomOfOtherRangesTakesTheHighWord) {
    SetRandSeed(0x2F6B1D93);
    std::vector<uint32_t> draws;
    for (int i = 0; i < 5; ++i) draws.push_back(Random(10));
    EXPECT_EQ(draws, (std::vector<uint32_t>{6, 8, 6, 4, 0}));
    EXPECT_EQ(Random(0), 0u);
}

TEST(Unscramble, A120ByteBufferUsesKeyBytes0To49Twice0To19) {
    std::string key;
    for (int i = 0; i < 50; ++i) key += char(i + 1);  // key byte i is i+1
    std::vector<uint8_t> buffer(120, 0);
    UnscrambleBytes(key, buffer.data(), buffer.size());
    for (size_t p = 0; p < buffer.size(); ++p)
        EXPECT_EQ(buffer[p], uint8_t(256 - (p % 50 + 1))) << "position " << p;
}

TEST(Unscramble, EmptyKeyOrZeroCountChangesNothing) {
    std::vector<uint8_t> buffer = {1, 2, 3};
    UnscrambleBytes("", buffer.data(), buffer.size());
    UnscrambleBytes("\x05", buffer.data(), 0);
    EXPECT_EQ(buffer, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(Unscramble, CopyWithAnEmptyKeyCopies) {
    const uint8_t src[3] = {7, 8, 9};
    uint8_t dst[3] = {0, 0, 0};
    UnscrambleCopy("", 5, src, dst, 3);
    EXPECT_EQ(std::vector<uint8_t>(dst, dst + 3), (std::vector<uint8_t>{7, 8, 9}));
}

TEST(Unscramble, WrapsModulo256AndUndoesScramble) {
    std::string key = "\xFF\x01";
    std::vector<uint8_t> buffer = {0x00, 0xFF, 0x80, 0x00};
    UnscrambleBytes(key, buffer.data(), buffer.size());
    EXPECT_EQ(buffer, (std::vector<uint8_t>{0x01, 0xFE, 0x81, 0xFF}));
    ScrambleBytes(key, buffer.data(), buffer.size());
    EXPECT_EQ(buffer, (std::vector<uint8_t>{0x00, 0xFF, 0x80, 0x00}));
}

// The vector path must give the scalar path's bytes for every length, start
// position (key phase) and key length, in place and copying.
TEST(Unscramble, VectorPathMatchesScalarPath) {
    if (!detail::HasVectorUnit()) GTEST_SKIP() << "no SSE2 on this machine";
    struct Row {
        size_t keyLength;
        bool vectorTakesIt;  // false: pattern longer than 4096 bytes
    } rows[] = {{50, true}, {1, true}, {16, true}, {7, true}, {256, true}, {257, false}};
    const size_t lengths[] = {0, 1, 15, 16, 17, 399, 400, 401, 1000, 70001};
    const size_t positions[] = {0, 1, 47, 49, 50, 123457};
    for (const Row& row : rows) {
        std::string key;
        for (size_t i = 0; i < row.keyLength; ++i) key += char(i * 37 + 11);
        for (size_t length : lengths) {
            std::vector<uint8_t> src(length);
            for (size_t i = 0; i < length; ++i) src[i] = uint8_t(i * 131 + 7);
            for (size_t position : positions) {
                std::vector<uint8_t> scalar(length), vector(length), inPlace = src;
                detail::SubtractKeyScalar(key, position, src.data(), scalar.data(), length);
                ASSERT_EQ(
                    detail::SubtractKeyVector(key, position, src.data(), vector.data(), length),
                    row.vectorTakesIt);
                if (!row.vectorTakesIt) continue;
                detail::SubtractKeyVector(key, position, inPlace.data(), inPlace.data(), length);
                EXPECT_EQ(vector, scalar) << row.keyLength << "/" << length << "/" << position;
                EXPECT_EQ(inPlace, scalar) << row.keyLength << "/" << length << "/" << position;
            }
        }
    }
}

}  // namespace
}  // namespace pellion
