#include "ui/dialogs/task_message_layout.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace pellion {

namespace {

bool HasNumber(const std::vector<OwnButton>& buttons, int number) {
    return std::any_of(buttons.begin(), buttons.end(),
                       [number](const OwnButton& b) { return b.number == number; });
}

int FirstPresent(const std::vector<OwnButton>& buttons, std::initializer_list<int> candidates) {
    for (int n : candidates)
        if (HasNumber(buttons, n)) return n;
    return 0;
}

}  // namespace

LayoutUnits ComputeLayoutUnits(int sampleWidth, int sampleHeight) {
    int w = sampleWidth / 52;
    int h = sampleHeight;
    return {MulDivRound(8, w, 4),  MulDivRound(8, h, 8), MulDivRound(10, w, 4),
            MulDivRound(10, h, 8), MulDivRound(4, w, 4), MulDivRound(14, h, 8)};
}

std::vector<OwnButton> OwnWindowButtons(const TaskDialogDescription& d) {
    std::vector<OwnButton> buttons;
    for (size_t i = 0; i < d.CustomButtons.size(); ++i)
        buttons.push_back({d.CustomButtons[i], kFirstCustomButton + int(i)});
    static const struct {
        TaskDialogCommonButton bit;
        const char* caption;
        int number;
    } kCommons[] = {
        {cbOK, "OK", kButtonOK},           {cbYes, "&Yes", kButtonYes},
        {cbNo, "&No", kButtonNo},          {cbCancel, "Cancel", kButtonCancel},
        {cbRetry, "&Retry", kButtonRetry}, {cbClose, "&Abort", kButtonAbort},
    };
    for (const auto& c : kCommons)
        if (d.CommonButtons & c.bit) buttons.push_back({c.caption, c.number});
    if (buttons.empty()) buttons.push_back({"OK", kButtonOK});
    return buttons;
}

int OwnWindowDefaultButton(const TaskDialogDescription& d, const std::vector<OwnButton>& buttons) {
    if (d.DefaultButton == -1) return 0;
    // A custom default is the window's default too, as in the system dialog.
    if (d.DefaultButton >= kFirstCustomButton && HasNumber(buttons, d.DefaultButton))
        return d.DefaultButton;
    // The OK added when nothing was requested is always the default.
    if (d.CommonButtons == 0 && d.CustomButtons.empty()) return kButtonOK;
    switch (d.DefaultButton) {
        case 0:
            return FirstPresent(buttons, {kButtonOK, kButtonYes, kButtonRetry});
        case kButtonOK:
            return FirstPresent(buttons, {kButtonOK, kButtonYes});
        case kButtonCancel:
            return FirstPresent(buttons, {kButtonCancel, kButtonNo});
        case kButtonYes:
            return FirstPresent(buttons, {kButtonYes, kButtonOK});
        case kButtonNo:
            return FirstPresent(buttons, {kButtonNo, kButtonOK});
        default:
            return FirstPresent(buttons, {kButtonOK});
    }
}

int OwnWindowCancelButton(const std::vector<OwnButton>& buttons) {
    return FirstPresent(buttons, {kButtonCancel, kButtonNo, kButtonOK});
}

int ButtonWidth(int captionWidth) {
    return std::max(captionWidth + 16, 60);
}

int ButtonWidthCache::Width(const std::string& caption,
                            const std::function<int(const std::string&)>& measure) {
    auto it = widths_.find(caption);
    if (it != widths_.end()) return it->second;
    int width = ButtonWidth(measure(caption));
    widths_.emplace(caption, width);
    return width;
}

namespace {

bool Present(const LayoutSize& s) {
    return s.cx > 0 || s.cy > 0;
}

LayoutRect At(int left, int top, const LayoutSize& s) {
    return {left, top, left + s.cx, top + s.cy};
}

int ClientWidth(const OwnWindowMetrics& m) {
    const LayoutUnits& u = m.units;
    int row = 0;
    for (int w : m.buttonWidths) row += w + u.buttonGap;
    int text = m.iconSize + u.hSpacing + std::max(m.instruction.cx, m.content.cx);
    int inner = std::max({text, row, m.verification.cx});
    int width = std::max({m.captionWidth + 50, 2 * u.hMargin + inner, m.minimumWidth});
    if (m.maxClientWidth > 0) width = std::min(width, m.maxClientWidth);
    return width;
}

// Lays the texts out right of the icon; answers the bottom of the body.
int LayoutBody(const OwnWindowMetrics& m, OwnWindowLayout& l) {
    const LayoutUnits& u = m.units;
    l.icon = {u.hMargin, u.vMargin, u.hMargin + m.iconSize, u.vMargin + m.iconSize};
    int left = m.hasIcon ? u.hMargin + m.iconSize + u.hSpacing : u.hMargin;
    int top = u.vMargin;
    int bottom = l.icon.bottom;
    if (Present(m.instruction)) {
        l.instruction = At(left, top, m.instruction);
        top = l.instruction.bottom + u.vSpacing;
        bottom = std::max(bottom, l.instruction.bottom);
    }
    if (Present(m.content)) {
        l.content = At(left, top, m.content);
        bottom = std::max(bottom, l.content.bottom);
    }
    return bottom;
}

}  // namespace

OwnWindowLayout LayoutOwnWindow(const OwnWindowMetrics& m) {
    const LayoutUnits& u = m.units;
    OwnWindowLayout l;
    l.clientWidth = ClientWidth(m);
    int buttonTop = LayoutBody(m, l) + u.vSpacing + u.vSpacing / 2;
    int right = l.clientWidth - (u.hSpacing + 4);
    l.buttons.resize(m.buttonWidths.size());
    for (size_t i = m.buttonWidths.size(); i-- > 0;) {
        l.buttons[i] = {right - m.buttonWidths[i], buttonTop, right, buttonTop + u.buttonHeight};
        right = l.buttons[i].left - u.buttonGap;
    }
    int bottom = buttonTop + u.buttonHeight;
    if (Present(m.verification)) {
        l.verification = At(u.hMargin, bottom + u.vSpacing / 2, m.verification);
        bottom = l.verification.bottom;
    }
    l.clientHeight = bottom + u.vMargin;
    int bandTop = buttonTop - u.vSpacing / 2;
    l.band = {0, bandTop, l.clientWidth, l.clientHeight};
    l.bandLine = {0, bandTop, l.clientWidth, bandTop + 1};
    return l;
}

std::string OwnWindowCaption(const std::string& title, std::string_view exePath) {
    if (!title.empty()) return title;
    size_t slash = exePath.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? exePath : exePath.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}

std::string ClipboardText(const TaskDialogDescription& d) {
    return d.Title + "\r\n" + d.Instruction + "\r\n" + d.Content;
}

}  // namespace pellion
