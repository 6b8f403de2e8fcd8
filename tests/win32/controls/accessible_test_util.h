#pragma once
// A window's client object asked about itself (CHILDID_SELF) as a screen
// reader asks. Outputs are pre-filled with junk, so an answer shows whether
// the call wrote them.

#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>

#include "base/win/com.h"
#include "base/win/wide.h"

namespace pellion::testing_util {

inline VARIANT Self() {
    VARIANT v{};  // lVal 0: CHILDID_SELF
    v.vt = VT_I4;
    return v;
}

inline win::ComPtr<IAccessible> ClientObject(HWND hwnd) {
    win::ComPtr<IAccessible> acc;
    EXPECT_HRESULT_SUCCEEDED(
        ::AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, IID_IAccessible, acc.PutVoid()));
    return acc;
}

// "HRESULT text", as AskText answers.
inline std::string Said(HRESULT hr, const std::string& text) {
    char code[16];
    std::snprintf(code, sizeof code, "%08lX ", static_cast<unsigned long>(hr));
    return code + text;
}

// A text member's answer: the text "<null>" for a null BSTR, "<junk>" when
// the member left the output as it was.
inline std::string AskText(IAccessible* acc,
                           HRESULT (STDMETHODCALLTYPE IAccessible::*member)(VARIANT, BSTR*)) {
    if (!acc) return "no object";
    static wchar_t junk[] = L"junk";
    BSTR text = junk;
    HRESULT hr = (acc->*member)(Self(), &text);
    std::string shown = text == junk ? "<junk>" : text ? win::Narrow(text) : "<null>";
    if (text != junk) ::SysFreeString(text);
    return Said(hr, shown);
}

// get_accRole or get_accState as a number; -1 when it gave none.
inline long AskNumber(IAccessible* acc,
                      HRESULT (STDMETHODCALLTYPE IAccessible::*member)(VARIANT, VARIANT*)) {
    if (!acc) return -1;
    VARIANT v;
    v.vt = VT_R8;  // junk: a successful call makes it VT_I4
    return (acc->*member)(Self(), &v) == S_OK && v.vt == VT_I4 ? v.lVal : -1;
}

}  // namespace pellion::testing_util
