#include "base/ansi_code_page.h"

namespace pellion {

AnsiCodePage::AnsiCodePage(std::initializer_list<ByteRange> leadBytes) {
    for (const ByteRange& range : leadBytes) AddLeadBytes(range);
}

void AnsiCodePage::AddLeadBytes(ByteRange range) {
    for (unsigned b = range.first; b <= range.last; ++b) lead_.set(b);
}

AnsiCodePage AnsiCodePage::ForNumber(unsigned number) {
    switch (number) {
        case 932:  // Japanese (Shift JIS)
            return AnsiCodePage({{0x81, 0x9F}, {0xE0, 0xFC}});
        case 936:  // Simplified Chinese (GBK)
        case 949:  // Korean (Unified Hangul Code)
        case 950:  // Traditional Chinese (Big5)
            return AnsiCodePage({{0x81, 0xFE}});
        default:
            return AnsiCodePage();
    }
}

}  // namespace pellion
