#pragma once
// How a text in a Windows ANSI code page splits into characters. In the
// double-byte code pages of East Asian systems (932, 936, 949, 950) a lead
// byte starts a two-byte character whose second byte may be any of the
// ASCII punctuation bytes, the backslash 0x5C among them ("表" is 95 5C in
// code page 932): a backslash byte there is no separator. Single-byte code
// pages and UTF-8 have no such characters (no byte of a multi-byte UTF-8
// character is below 0x80), so the default object serves them.

#include <bitset>
#include <cstddef>
#include <initializer_list>
#include <string_view>

namespace pellion {

class AnsiCodePage {
  public:
    // An inclusive range of lead bytes, as Windows lists them (CPINFO).
    struct ByteRange {
        unsigned char first;
        unsigned char last;
    };

    // A code page without lead bytes.
    AnsiCodePage() = default;
    explicit AnsiCodePage(std::initializer_list<ByteRange> leadBytes);

    // The lead bytes of Windows' double-byte code pages 932, 936, 949 and
    // 950; any other number gives a code page without lead bytes.
    static AnsiCodePage ForNumber(unsigned number);

    void AddLeadBytes(ByteRange range);
    bool IsLeadByte(unsigned char byte) const { return lead_[byte]; }
    bool HasLeadBytes() const { return lead_.any(); }

    // Bytes of the character that starts at `pos` (< text.size()): 2 for a
    // lead byte with a byte after it, else 1. A lead byte at the very end
    // stands alone.
    size_t CharLength(std::string_view text, size_t pos) const {
        return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
    }

    bool operator==(const AnsiCodePage& other) const { return lead_ == other.lead_; }

  private:
    std::bitset<256> lead_;
};

}  // namespace pellion
