// The payload reader over resources of this executable that the packer made
// (tests/payload/make_fixtures.py): the sample product, edge sizes, and
// deliberately broken items.
#include "payload/payload_reader.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "base/errors.h"
#include "base/text.h"
#include "base/win/message_pump.h"
#include "payload/payload_list.h"

namespace pellion {
namespace {

constexpr int32_t kStamp = 0x30AB6000;  // 2004-05-11 12:00:00, given to the packer

struct DecodedItem {
    std::string name = "junk";
    int32_t dateTime = -7;
    std::string content = "junk";
};

DecodedItem Read(const std::string& resource) {
    DecodedItem item;
    ReadPayloadItem(resource, item.name, item.dateTime, item.content);
    return item;
}

TEST(PayloadReader, SampleProductInListOrder) {
    for (const PayloadItemName& expected : kPayloadItems) {
        std::string resource = expected.resource;
        DecodedItem item = Read(resource);  // lower case: stored as upper case
        EXPECT_EQ(item.name, expected.file);
        EXPECT_EQ(item.dateTime, kStamp) << resource;
        EXPECT_TRUE(item.content == ReadRawResource("orig_" + resource)) << resource;
    }
}

TEST(PayloadReader, EdgeSizesAndLongestName) {
    struct Row {
        const char* resource;
        const char* name;
        size_t size;
    } rows[] = {
        {"rs_zero", "empty.dat", 0},  // empty content, no error
        {"rs_one", "one.dat", 1},
        {"rs_big", "big.dat", 1 << 20},                       // incompressible
        {"rs_name30", "nnnnnnnnnnnnnnnnnnnnnnnnnn.txt", 29},  // name length byte 30
    };
    for (const Row& row : rows) {
        DecodedItem item = Read(row.resource);
        EXPECT_EQ(item.name, row.name);
        EXPECT_EQ(item.content.size(), row.size) << row.resource;
        EXPECT_TRUE(item.content == ReadRawResource(std::string("orig_") + row.resource));
    }
}

TEST(PayloadReader, AnyCaseFindsTheResourceAndReadsAreRepeatable) {
    DecodedItem lower = Read("rs_icon"), upper = Read("RS_ICON"), mixed = Read("Rs_IcOn");
    EXPECT_EQ(lower.name, upper.name);
    EXPECT_TRUE(lower.content == upper.content);
    EXPECT_TRUE(lower.content == mixed.content);
    EXPECT_EQ(lower.content.substr(0, 4), std::string("\0\0\1\0", 4));  // an icon file
}

TEST(PayloadReader, MissingResource) {
    DecodedItem item;
    try {
        ReadPayloadItem("rs_missing", item.name, item.dateTime, item.content);
        ADD_FAILURE() << "no error";
    } catch (const EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Resource rs_missing not found");
    }
    EXPECT_EQ(item.name, "");  // emptied before anything else
    EXPECT_THROW(ReadRawResource("rs_missing"), EResNotFound);
}

enum class Outcome { kReadError, kDecompressionError, kEmptyContent };

TEST(PayloadReader, BrokenItems) {
    struct Row {
        const char* resource;
        Outcome outcome;
        const char* name;  // for kEmptyContent
    } rows[] = {
        {"rs_empty", Outcome::kReadError, ""},             // no bytes at all
        {"rs_short", Outcome::kReadError, ""},             // 46 bytes
        {"rs_name31", Outcome::kReadError, ""},            // name length 31
        {"rs_notzlib", Outcome::kDecompressionError, ""},  // body not zlib
        {"rs_huge", Outcome::kDecompressionError, ""},     // declares 2 GiB - 1
        {"rs_longer", Outcome::kDecompressionError, ""},   // declares one byte more
        {"rs_shorter", Outcome::kDecompressionError, ""},  // declares one byte less
        {"rs_flipped", Outcome::kDecompressionError, ""},  // corrupt body
        {"rs_unsafe", Outcome::kEmptyContent, "..\\evil.txt"},
        {"rs_device", Outcome::kEmptyContent, "CON"},
    };
    for (const Row& row : rows) {
        DecodedItem item;
        try {
            ReadPayloadItem(row.resource, item.name, item.dateTime, item.content);
            EXPECT_EQ(row.outcome, Outcome::kEmptyContent) << row.resource << ": no error";
            EXPECT_EQ(item.name, row.name);
            EXPECT_EQ(item.content, "") << row.resource;
        } catch (const EReadError& e) {
            EXPECT_EQ(row.outcome, Outcome::kReadError) << row.resource;
            EXPECT_STREQ(e.what(), "Stream read error");
        } catch (const EDecompressionError& e) {
            EXPECT_EQ(row.outcome, Outcome::kDecompressionError) << row.resource;
            EXPECT_STREQ(e.what(), "Error");
        }
    }
}

// Several items read at once keep their order, name their errors per item,
// and leave the calling thread answering: another thread's messages sent
// during the read (SendMessageTimeout, 1 s) are answered while it goes on.
TEST(PayloadReader, ReadingAtOnceKeepsTheCallerAnswering) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_TRUE(window);
    std::vector<PayloadRead> items(6);
    const char* names[] = {"rs_large", "rs_one", "rs_large", "rs_missing", "rs_large", "rs_large"};
    for (size_t i = 0; i < items.size(); ++i) items[i].resource = names[i];

    std::atomic<bool> reading{true}, sending{true};
    int answeredWhileReading = 0, unanswered = 0, answerCalls = 0;
    auto pump = [] {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    };
    std::thread sender([&] {
        while (reading) {
            DWORD_PTR result = 0;
            if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result))
                ++unanswered;
            else if (reading)
                ++answeredWhileReading;
        }
        sending = false;
    });
    DWORD start = ::GetTickCount();
    ReadPayloadItems(items, [&] {
        ++answerCalls;
        pump();
    });
    reading = false;
    while (sending) pump();  // the send that may be under way
    sender.join();
    ::DestroyWindow(window);
    std::printf("read 256 MiB in %lu ms, %d answers\n", ::GetTickCount() - start,
                answeredWhileReading);
    EXPECT_EQ(unanswered, 0);
    EXPECT_GT(answeredWhileReading, 0);
    EXPECT_GT(answerCalls, 0);

    for (size_t i : {0, 2, 4, 5}) {
        EXPECT_EQ(items[i].fileName, "large.dat");
        EXPECT_EQ(items[i].content.size(), size_t(64) << 20);
        EXPECT_FALSE(items[i].error);
    }
    EXPECT_EQ(items[1].content, "!");
    ASSERT_TRUE(items[3].error);
    EXPECT_THROW(std::rethrow_exception(items[3].error), EResNotFound);
}

// A quit request, posted again by the callback as the progress window's
// does, stays queued: from then on the read only waits for its workers.
TEST(PayloadReader, QueuedQuitEndsTheCallsDuringTheRead) {
    std::vector<PayloadRead> items(6);
    for (PayloadRead& item : items) item.resource = "rs_large";
    int quits = 0, callsAfterQuit = 0;
    ::PostQuitMessage(3);
    ReadPayloadItems(items, [&] {
        callsAfterQuit += quits > 0;
        quits += !win::ProcessPendingMessages();
    });
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quits, 1);
    EXPECT_LE(callsAfterQuit, 3);
    EXPECT_EQ(items[5].content.size(), size_t(64) << 20);
}

TEST(PayloadReader, RawResourceIsReturnedAsStored) {
    EXPECT_EQ(ReadRawResource("rs_conf_sample"), "[sdl]\r\nfullscreen=false\r\n");
    EXPECT_EQ(ReadRawResource("RS_EMPTY"), "");
}

}  // namespace
}  // namespace pellion
