#include "payload/payload_random.h"

namespace pellion {
namespace {

uint32_t randSeed = 0;

}  // namespace

void SetRandSeed(uint32_t seed) {
    randSeed = seed;
}

uint32_t RandSeed() {
    return randSeed;
}

uint32_t Random(uint32_t range) {
    randSeed = randSeed * kRandMultiplier + 1;
    return uint32_t((uint64_t(randSeed) * range) >> 32);
}

}  // namespace pellion
