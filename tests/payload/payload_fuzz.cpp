// libFuzzer target on the portable decoder. The input is an item as it reads
// after unscrambling (so the seeds, plain items from the packer, mutate into
// meaningful headers and streams); it is scrambled with the build's key and
// decoded from an exactly sized copy, so any read past the resource shows.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/errors.h"
#include "payload/payload_item.h"
#include "payload/payload_key.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string key = pellion::PayloadKeyFromSeed(pellion::BuiltInPayloadSeed());
    std::vector<uint8_t> stored(data, data + size);
    pellion::ScrambleBytes(key, stored.data(), stored.size());
    std::string name, content;
    int32_t dateTime = 0;
    try {
        pellion::DecodePayloadItem(stored.data(), stored.size(), key, name, dateTime, content);
    } catch (const pellion::EReadError&) {
        return 0;
    } catch (const pellion::EDecompressionError&) {
        return 0;
    } catch (const pellion::EOutOfMemory&) {
        return 0;  // a declared size the fuzzer's heap refuses
    }
    // What comes back is either a safe name with content of the declared
    // size, or empty content.
    if (name.size() > 30) __builtin_trap();
    return 0;
}
