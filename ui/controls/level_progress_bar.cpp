#include "ui/controls/level_progress_bar.h"

#include "ui/controls/styled_gdi.h"

namespace pellion {

namespace {
constexpr wchar_t kClassName[] = L"TLevelProgressBar";

// Verdana at 10 points on a 96 dots-per-inch screen.
FontSpec DefaultFont() {
    FontSpec f;
    f.face = "Verdana";
    f.height = -13;
    f.color = clWindowText;
    return f;
}
}  // namespace

TLevelProgressBar::TLevelProgressBar(HWND parent, int x, int y, int width, int height) {
    font_ = DefaultFont();
    CreateChild(kClassName, parent, x, y, width, height);
    fontHandle_ = win::CreateFontFrom(font_, Scale());
}

void TLevelProgressBar::SetLevelColors(int level, TColor color, TColor colorTo) {
    if (level < 0 || level > 3) return;
    props_.levels[level] = LevelColors{color, colorTo};
    Changed();
}

void TLevelProgressBar::SetAndNotify(int& field, int value) {
    int before = ProgressPercent(props_.min, props_.max, props_.position);
    Set(field, value);
    // Only a new percentage is news: the position may move by single bytes.
    if (ProgressPercent(props_.min, props_.max, props_.position) != before)
        win::NotifyAccessibleEvent(Handle(), EVENT_OBJECT_VALUECHANGE);
}

long TLevelProgressBar::AccessibleRole() const {
    return ROLE_SYSTEM_PROGRESSBAR;
}

// The percentage even where the bar shows the position or nothing.
std::string TLevelProgressBar::AccessibleValue() const {
    return PercentText(props_);
}

long TLevelProgressBar::AccessibleState() const {
    return STATE_SYSTEM_READONLY;
}

void TLevelProgressBar::SetFont(const FontSpec& font) {
    fontHandle_ = win::CreateFontFrom(font, Scale());
    font_ = font;
    Changed();
}

void TLevelProgressBar::ScaleChanged() {
    SetFont(font_);
}

void TLevelProgressBar::PaintTo(HDC dc) {
    int width = Width(), height = Height();
    if (width <= 0 || height <= 0) return;
    win::MemoryDC mem(dc);
    win::UniqueBitmap bitmap = win::CreateBitmap32(width, height);
    win::SelectScope keep(mem.Get(), bitmap.Get());
    TextSize text = win::MeasureText(mem.Get(), fontHandle_.Get(), ProgressText(props_));
    win::ExecuteDrawList(
        mem.Get(), ProgressBarLook(props_, width, height, text, font_.color, &win::SystemColor, Scale()),
        fontHandle_.Get());
    if (props_.rounded)
        ::GdiTransparentBlt(dc, 0, 0, width, height, mem.Get(), 0, 0, width, height,
                            kTransparentKey);
    else
        ::BitBlt(dc, 0, 0, width, height, mem.Get(), 0, 0, SRCCOPY);
}

LRESULT TLevelProgressBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // Rounded corners show what lies behind the bar.
    LRESULT result = 0;
    PaintMode mode = props_.rounded ? PaintMode::kBufferedOverParent : PaintMode::kBuffered;
    if (HandlePaint(msg, wp, mode, result)) return result;
    if (accessible_.HandleMessage(Handle(), msg, wp, lp, result)) return result;
    switch (msg) {
        case WM_SIZE:
            Changed();
            return 0;
    }
    return Default(msg, wp, lp);
}

}  // namespace pellion
