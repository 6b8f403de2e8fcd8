#include "base/win/code_page.h"

#include <windows.h>

namespace pellion::win {

AnsiCodePage LeadBytesOf(unsigned codePage) {
    CPINFO info = {};
    if (!::GetCPInfo(codePage, &info)) return AnsiCodePage::ForNumber(codePage);
    AnsiCodePage leadBytes;
    // Pairs of inclusive ranges, ended by a pair of zeros.
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2)
        leadBytes.AddLeadBytes({info.LeadByte[i], info.LeadByte[i + 1]});
    return leadBytes;
}

}  // namespace pellion::win
