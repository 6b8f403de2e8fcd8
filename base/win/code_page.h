#pragma once
// The system's view of an ANSI code page: which bytes start a double-byte
// character, for the portable text rules that walk ANSI texts.

#include "base/ansi_code_page.h"

namespace pellion::win {

// The lead bytes of `codePage` as Windows lists them; 0 (CP_ACP) names the
// system's ANSI code page. A code page the system does not know gets the
// portable table's answer (AnsiCodePage::ForNumber).
AnsiCodePage LeadBytesOf(unsigned codePage);

}  // namespace pellion::win
