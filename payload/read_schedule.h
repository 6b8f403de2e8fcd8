#pragma once
// Which payload items the reader's workers may decode at the same time.
// Portable and not thread-safe: the Win32 reader asks it under its lock.
//
// The memory rule: the read holds the content of every item decoded so far
// plus, for each item being decoded, its passing and kept bytes
// (ItemMemory, payload_item.h). That total may not pass the limit
//
//     kept bytes of all items + the largest passing bytes of one item,
//
// which is about what reading the items one at a time holds at its end. An
// item starts only when its bytes fit next to those already held; it always
// may start when nothing else is being decoded, so one huge item still
// reads.
//
// A lack of memory is answered by reading one at a time: the item that met
// it goes again alone once the others have ended, and so do all that start
// after it. Only an item that ran alone and still found no memory fails.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "payload/payload_item.h"

namespace pellion {

class ReadSchedule {
  public:
    explicit ReadSchedule(std::vector<ItemMemory> items);

    enum class Turn { kStart, kWait, kDone };
    // What a free worker does now: kStart with `item` set (the item counts
    // as being decoded from here on), kWait until an item ends, or kDone
    // when no item is left to start.
    Turn Next(size_t& item);
    // The item has ended: decoded (its kept bytes stay held) or failed
    // (nothing stays).
    void Ended(size_t item, bool decoded);
    // The item ended for lack of memory. True: it has been put back to go
    // again alone, and the read goes on one at a time. False: it ran alone
    // already, so its failure stands (and it has ended as failed).
    bool TryAgainAlone(size_t item);

    uint64_t Limit() const { return limit_; }
    // Kept bytes of the decoded items plus both counts of those in work.
    uint64_t Held() const { return held_; }

  private:
    bool Fits(size_t item) const;
    void Start(size_t item);

    std::vector<ItemMemory> items_;
    std::vector<bool> ranAlone_;
    // Items put back, taken from `againNext_` on, before any not yet
    // started. Room for every item is made at the start (each goes back at
    // most once), so putting one back never allocates.
    std::vector<size_t> again_;
    size_t againNext_ = 0;
    size_t next_ = 0;  // the first item not yet started
    size_t inWork_ = 0;
    uint64_t held_ = 0;
    uint64_t limit_ = 0;
    bool oneAtATime_ = false;
};

}  // namespace pellion
