#pragma once
// A form's child windows found by class and text, with their rectangles in
// their parent's client coordinates, as the layout places them.

#include <windows.h>

#include <string>

#include "base/win/wide.h"

namespace pellion::testing_util {

struct Child {
    HWND hwnd = nullptr;
    RECT rect{};  // in the parent's client coordinates
};

// `hwnd` with its rectangle in its parent's client coordinates.
inline Child Placed(HWND hwnd) {
    Child child{hwnd};
    ::GetWindowRect(hwnd, &child.rect);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&child.rect), 2);
    return child;
}

struct Query {
    std::wstring cls, text;
    HWND found;
};

inline BOOL CALLBACK FindProc(HWND h, LPARAM lp) {
    auto* q = reinterpret_cast<Query*>(lp);
    wchar_t c[64], t[256];
    ::GetClassNameW(h, c, 64);
    ::GetWindowTextW(h, t, 256);
    if (q->cls != c || q->text != t) return TRUE;
    q->found = h;
    return FALSE;
}

// The first descendant of `top` with this class and text.
inline Child Find(HWND top, const wchar_t* cls, const std::string& text) {
    Query q{cls, win::Widen(text), nullptr};
    ::EnumChildWindows(top, FindProc, reinterpret_cast<LPARAM>(&q));
    return q.found ? Placed(q.found) : Child{};
}

}  // namespace pellion::testing_util
