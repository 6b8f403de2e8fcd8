#pragma once
// Turning one item into its stored resource (the packer) and back (the
// reader). Portable: the Win32 reader (payload_reader.h) only finds the
// resource's bytes and hands them here.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pellion {

// The stored resource for one item: header, content deflated at the best
// compression, all scrambled with `key` (left plain when `key` is empty, for
// inspection and fuzzing seeds). The name must pass CheckBareFileName and the
// content must be shorter than 2 GiB; the packer checks both first.
std::string EncodePayloadItem(std::string_view name, int32_t dateTime, std::string_view content,
                              std::string_view key);

// Decodes one stored resource of `length` bytes, unscrambling with `key` as
// it goes; the resource itself is only read.
//
// `fileName` is emptied first. Then, raising:
//   EReadError "Stream read error"  shorter than the 47-byte header, or a
//                                   name length above 30;
//   EDecompressionError "Error"     a body that is not one valid zlib stream,
//                                   a declared size no body of this length
//                                   can inflate to, or, for a positive
//                                   declared size, a body that inflates to
//                                   any other length;
//   EOutOfMemory                    memory for the body, the content or the
//                                   decoder could not be had (the text of
//                                   NotEnoughMemoryText for the item's name).
// Name and date-time are set before inflation; after an error no output is
// to be used. A stored name that is not a bare, safe file name is delivered
// (unsafe bytes shown as '?') with empty content and no error, so the install
// run reports an unreadable item and writes nothing. A declared size of 0 or
// less gives empty content and no error, whatever the valid stream holds.
void DecodePayloadItem(const uint8_t* stored, size_t length, std::string_view key,
                       std::string& fileName, int32_t& dateTime, std::string& content);

// "Not enough memory to unpack <fileName>."
std::string NotEnoughMemoryText(std::string_view fileName);

// The heap that decoding one item takes, read from its header: `passing`
// is held while it is decoded and freed at its end (the unscrambled body;
// for an item without a declared size, the piece and the most its stream
// may inflate to), `kept` stays as the item's content. Both are 0 for an
// item that fails or is refused before anything is allocated.
struct ItemMemory {
    uint64_t passing = 0;
    uint64_t kept = 0;
};
ItemMemory DecodeMemoryOf(const uint8_t* stored, size_t length, std::string_view key);

}  // namespace pellion
