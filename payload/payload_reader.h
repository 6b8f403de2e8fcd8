#pragma once
// Reading the program's own raw-data (RCDATA) resources: payload items and
// plain templates. Resource names are matched without regard to case.

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace pellion {

// Reads one payload item: empties `fileName`, makes the payload key (which
// sets the process-wide generator to the build's seed and draws 50 times),
// finds the resource and decodes it as DecodePayloadItem (payload_item.h)
// describes, raising its errors and, for a resource that does not exist,
// EResNotFound "Resource <name> not found". The resource is read where the
// loader mapped it and unscrambled piece by piece on its way into zlib.
void ReadPayloadItem(const std::string& resourceName, std::string& fileName, int32_t& dateTime,
                     std::string& content);

// One item of ReadPayloadItems: the resource to read, and what it gave or
// the error it raised.
struct PayloadRead {
    std::string resource;
    std::string fileName;
    int32_t dateTime = 0;
    std::string content;
    std::exception_ptr error;
};

// Reads every item as ReadPayloadItem does, on `workers` threads (0: one per
// processor; at most one per item), which touch no window. Items are decoded
// side by side only while the memory they take fits next to what is already
// held (read_schedule.h), so the read holds about what reading them one at a
// time would. An item that meets a lack of memory goes again alone once the
// others have ended, and the rest of the read goes one at a time; only when
// it fails alone too is its error EOutOfMemory "Not enough memory to unpack
// <file name>.".
//
// Meanwhile the calling thread calls `answerMessages` whenever a message
// arrives for it, so its windows keep answering; once a WM_QUIT is queued
// after a call (posted again for the application's loop) it only waits for
// the workers. Returns when every item has been tried.
void ReadPayloadItems(std::vector<PayloadRead>& items, const std::function<void()>& answerMessages,
                      size_t workers = 0);

// The whole of a raw resource, as stored (neither scrambled nor compressed):
// the DOSBox configuration template. EResNotFound when it does not exist.
std::string ReadRawResource(const std::string& name);

}  // namespace pellion
