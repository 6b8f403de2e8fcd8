// One item through the packer's encoder and back through the reader's
// decoder, and the reader's answers to broken resources.
#include "payload/payload_item.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/errors.h"
#include "payload/payload_format.h"
#include "payload/payload_inflate.h"
#include "payload/payload_key.h"

namespace pellion {
namespace {

const std::string& Key() {
    static const std::string key = PayloadKeyFromSeed(0x2F6B1D93);
    return key;
}

std::string Incompressible(size_t n) {
    std::string s(n, '\0');
    uint32_t x = 2463534242u;
    for (char& c : s) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        c = char(x >> 24);
    }
    return s;
}

struct Decoded {
    std::string name = "junk";
    int32_t dateTime = -7;
    std::string content = "junk";
};

// Decodes from an exactly sized heap copy, so the sanitizer sees any read
// past the resource.
Decoded Decode(const std::string& stored) {
    std::vector<uint8_t> exact(stored.begin(), stored.end());
    Decoded d;
    DecodePayloadItem(exact.data(), exact.size(), Key(), d.name, d.dateTime, d.content);
    return d;
}

// A stored resource from explicit header fields and body, for lying ones.
std::string Stored(const PayloadHeader& header, const std::string& body, size_t nameLength) {
    uint8_t raw[kPayloadHeaderSize];
    EncodePayloadHeader(header, raw);
    raw[16] = uint8_t(nameLength);
    std::string stored(reinterpret_cast<char*>(raw), kPayloadHeaderSize);
    stored += body;
    ScrambleBytes(Key(), reinterpret_cast<uint8_t*>(&stored[0]), stored.size());
    return stored;
}

PayloadHeader Header(int32_t declared, const std::string& name = "pnx.exe") {
    PayloadHeader h;
    h.declaredSize = declared;
    h.dateTime = 0x30AB1234;
    h.name = name;
    return h;
}

TEST(PayloadItem, RoundTripsEdgeSizes) {
    struct Row {
        const char* what;
        std::string content;
    } rows[] = {
        {"empty", ""},
        {"one byte", "x"},
        {"256 bytes", Incompressible(256)},
        {"257 bytes", Incompressible(257)},
        {"1 MB incompressible", Incompressible(1 << 20)},
        {"10 MB of zeros: near deflate's largest ratio", std::string(10 << 20, '\0')},
        {"every byte value",
         [] {
             std::string s;
             for (int i = 0; i < 256; ++i) s += char(i);
             return s;
         }()},
    };
    for (const Row& row : rows) {
        std::string stored = EncodePayloadItem("readme.txt", 0x30AB6000, row.content, Key());
        Decoded d = Decode(stored);
        EXPECT_EQ(d.name, "readme.txt") << row.what;
        EXPECT_EQ(d.dateTime, 0x30AB6000) << row.what;
        EXPECT_TRUE(d.content == row.content) << row.what;
        EXPECT_EQ(Decode(stored).content, d.content) << row.what << ": second read differs";
    }
}

TEST(PayloadItem, StoredLayoutBeforeScrambling) {
    std::string plain = EncodePayloadItem("v.ico", int32_t(0xFF9FBF7D), "hello", "");
    ASSERT_GE(plain.size(), 47u + 8);
    auto le32 = [&](size_t at) {
        uint32_t v;
        std::memcpy(&v, plain.data() + at, 4);
        return v;
    };
    EXPECT_EQ(le32(0), plain.size() - 47);  // body length
    EXPECT_EQ(le32(4), 5u);                 // declared size
    EXPECT_EQ(le32(8), Crc32("hello"));     // content CRC-32
    EXPECT_EQ(le32(12), 0xFF9FBF7Du);       // date-time, unchanged
    EXPECT_EQ(plain[16], 5);                // name length
    EXPECT_EQ(plain.substr(17, 5), "v.ico");
    EXPECT_EQ(plain.substr(22, 25), std::string(25, '\0'));  // unused positions
    EXPECT_EQ(uint8_t(plain[47]), 0x78);                     // zlib header, best compression
    EXPECT_EQ(uint8_t(plain[48]), 0xDA);
    std::string scrambled = EncodePayloadItem("v.ico", int32_t(0xFF9FBF7D), "hello", Key());
    UnscrambleBytes(Key(), reinterpret_cast<uint8_t*>(&scrambled[0]), scrambled.size());
    EXPECT_EQ(scrambled, plain);
}

TEST(PayloadItem, NameLengths) {
    std::string thirty(30, 'n');
    EXPECT_EQ(Decode(EncodePayloadItem(thirty, 0, "x", Key())).name, thirty);
    // Length byte 0: empty name, so nothing can be written: empty content.
    Decoded d = Decode(Stored(Header(1, "x"), DeflateBest("x"), 0));
    EXPECT_EQ(d.name, "");
    EXPECT_EQ(d.content, "");
}

void ExpectReadError(const std::string& stored, const char* what) {
    Decoded d;
    try {
        d = Decode(stored);
        ADD_FAILURE() << what << ": no error";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error") << what;
    }
}

TEST(PayloadItem, ShortResourceOrLongNameIsReadError) {
    std::string good = EncodePayloadItem("pnx.exe", 0, "abc", Key());
    ExpectReadError("", "empty resource");
    ExpectReadError(good.substr(0, 46), "one byte short of the header");
    ExpectReadError(Stored(Header(3), DeflateBest("abc"), 31), "name length 31");
    ExpectReadError(Stored(Header(3), DeflateBest("abc"), 255), "name length 255");
    // Exactly a header and no body: the body is not a zlib stream.
    EXPECT_THROW(Decode(good.substr(0, 47)), EDecompressionError);
}

TEST(PayloadItem, LyingOrBrokenBodyIsDecompressionError) {
    std::string body = DeflateBest("abcdef");
    std::string zeros = DeflateBest(std::string(100000, '\0'));
    std::string corrupt = body;
    corrupt[3] ^= 0x40;
    std::string badCheck = body;
    badCheck.back() ^= 0x01;
    struct Row {
        const char* what;
        std::string stored;
    } rows[] = {
        {"declared larger than inflated", Stored(Header(7), body, 7)},
        {"declared smaller than inflated", Stored(Header(5), body, 7)},
        {"declared beyond 1032:1 of the body",
         Stored(Header(int32_t(body.size() * 1032 + 1)), body, 7)},
        {"declared 2 GiB - 1 on a tiny body", Stored(Header(0x7FFFFFFF), body, 7)},
        {"declared 0 and a broken stream", Stored(Header(0), corrupt, 7)},
        {"zeros: declared one short", Stored(Header(99999), zeros, 7)},
        {"not a zlib stream", Stored(Header(6), "abcdef", 7)},
        {"corrupt stream", Stored(Header(6), corrupt, 7)},
        {"stream cut short", Stored(Header(6), body.substr(0, body.size() - 2), 7)},
        // Whole-buffer decoding answers these its own way.
        {"only the zlib header", Stored(Header(6), body.substr(0, 2), 7)},
        {"bad Adler-32", Stored(Header(6), badCheck, 7)},
        {"bytes after the stream", Stored(Header(6), body + "xy", 7)},
    };
    for (const Row& row : rows) {
        Decoded d;
        try {
            d = Decode(row.stored);
            ADD_FAILURE() << row.what << ": no error";
        } catch (const EDecompressionError& e) {
            EXPECT_STREQ(e.what(), "Error") << row.what;
        }
    }
}

// A lying size that passes the 1032:1 check but cannot be allocated by a
// 32-bit process (this test runs cross-built under Wine too): memory ran
// out, which is not taken for damage.
TEST(PayloadItem, UnallocatableDeclaredSizeIsOutOfMemory) {
    if (sizeof(void*) != 4) GTEST_SKIP() << "only a 32-bit address space runs out here";
    std::string body = Incompressible(2000000);
    std::string stored = Stored(Header(2000000000), body, 7);
    EXPECT_THROW(Decode(stored), EOutOfMemory);
}

// The install run names such an item in its read-error report, so it must
// come back with its name and no error, whatever the stream holds.
TEST(PayloadItem, DeclaredZeroOrLessGivesEmptyContentWithoutError) {
    for (const std::string& inside : {std::string(), std::string("abcdef")}) {
        for (int32_t declared : {0, -1, int32_t(0x80000000)}) {
            Decoded d = Decode(Stored(Header(declared), DeflateBest(inside), 7));
            EXPECT_EQ(d.name, "pnx.exe") << declared << " " << inside;
            EXPECT_EQ(d.content, "") << declared << " " << inside;
        }
    }
}

TEST(PayloadItem, UnsafeStoredNameGivesEmptyContentAndNoError) {
    struct Row {
        std::string stored;  // what the header holds
        std::string shown;   // what the reader delivers as the name
    } rows[] = {
        {"..", ".."},
        {"..\\..\\windows\\evil.exe", "..\\..\\windows\\evil.exe"},
        {"C:evil.exe", "C:evil.exe"},
        {"sub/x.exe", "sub/x.exe"},
        {"NUL.txt", "NUL.txt"},
        {"trailing.", "trailing."},
        {std::string("a\x01z", 3), "a?z"},              // control character
        {std::string("caf\xC3\xA9.txt"), "caf??.txt"},  // non-ASCII
        {std::string("a\0b", 3), "a?b"},
    };
    for (const Row& row : rows) {
        Decoded d = Decode(Stored(Header(3, row.stored), DeflateBest("abc"), row.stored.size()));
        EXPECT_EQ(d.name, row.shown);
        EXPECT_EQ(d.content, "") << row.shown;
        EXPECT_EQ(d.dateTime, 0x30AB1234) << row.shown;
    }
}

TEST(PayloadItem, NameIsEmptiedBeforeAnError) {
    std::string name = "junk";
    int32_t dateTime = 0;
    std::string content;
    uint8_t tiny[3] = {1, 2, 3};
    EXPECT_THROW(DecodePayloadItem(tiny, 3, Key(), name, dateTime, content), EReadError);
    EXPECT_EQ(name, "");
}

}  // namespace
}  // namespace pellion
